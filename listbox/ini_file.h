#pragma once
// A small INI file: sections of key=value lines, names compared case-blind,
// other lines kept as they are when the file is written back.
#include <QString>
#include <QStringList>
#include <optional>

namespace tivolen {

class IniFile {
 public:
  explicit IniFile(QString path);
  const QString& Path() const { return path_; }

  // Reads the file anew; a missing file reads as empty.
  void Reload();
  std::optional<QString> Get(const QString& section, const QString& key) const;
  // The profile integer read: the leading decimal number, 0 when there is none.
  int GetInt(const QString& section, const QString& key, int def) const;
  void Set(const QString& section, const QString& key, const QString& value);
  // False when there was no such section.
  bool DeleteSection(const QString& section);
  bool HasSection(const QString& section) const;
  // Writes the file (making its folder); false on failure.
  bool Save() const;

 private:
  int SectionLine(const QString& section) const;
  int SectionEnd(int headerLine) const;

  QString path_;
  QStringList lines_;
};

// The profile integer of a text: its leading decimal number, 0 when none.
int ProfileInt(const QString& text);

// Folder of the per-user files: $XDG_CONFIG_HOME/Talvero3, else ~/.config/Talvero3.
QString UserConfigFolder();

}  // namespace tivolen
