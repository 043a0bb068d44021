#include "listbox/ini_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace tivolen {

namespace {

// "[name]" -> name; the name may itself hold brackets.
std::optional<QString> HeaderName(const QString& line) {
  const QString t = line.trimmed();
  if (t.size() < 2 || t.front() != '[' || t.back() != ']') return std::nullopt;
  return t.mid(1, t.size() - 2).trimmed();
}

std::optional<std::pair<QString, QString>> KeyValue(const QString& line) {
  const int eq = line.indexOf('=');
  if (eq <= 0 || line.trimmed().startsWith(';')) return std::nullopt;
  return std::make_pair(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
}

}  // namespace

IniFile::IniFile(QString path) : path_(std::move(path)) { Reload(); }

void IniFile::Reload() {
  lines_.clear();
  QFile f(path_);
  if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return;
  QTextStream in(&f);
  while (!in.atEnd()) lines_ << in.readLine();
}

int IniFile::SectionLine(const QString& section) const {
  for (int i = 0; i < lines_.size(); ++i) {
    auto name = HeaderName(lines_[i]);
    if (name && name->compare(section, Qt::CaseInsensitive) == 0) return i;
  }
  return -1;
}

int IniFile::SectionEnd(int header) const {
  int i = header + 1;
  while (i < lines_.size() && !HeaderName(lines_[i])) ++i;
  return i;
}

bool IniFile::HasSection(const QString& section) const { return SectionLine(section) >= 0; }

std::optional<QString> IniFile::Get(const QString& section, const QString& key) const {
  const int h = SectionLine(section);
  if (h < 0) return std::nullopt;
  for (int i = h + 1, end = SectionEnd(h); i < end; ++i) {
    auto kv = KeyValue(lines_[i]);
    if (kv && kv->first.compare(key, Qt::CaseInsensitive) == 0) return kv->second;
  }
  return std::nullopt;
}

int IniFile::GetInt(const QString& section, const QString& key, int def) const {
  auto v = Get(section, key);
  return v ? ProfileInt(*v) : def;
}

int ProfileInt(const QString& text) {
  const QString t = text.trimmed();
  int i = 0;
  bool negative = false;
  if (i < t.size() && (t[i] == '-' || t[i] == '+')) negative = t[i++] == '-';
  qint64 n = 0;
  for (; i < t.size() && t[i].isDigit(); ++i) n = std::min<qint64>(n * 10 + t[i].digitValue(), INT32_MAX);
  return int(negative ? -n : n);
}

void IniFile::Set(const QString& section, const QString& key, const QString& value) {
  int h = SectionLine(section);
  if (h < 0) {
    if (!lines_.isEmpty() && !lines_.back().trimmed().isEmpty()) lines_ << QString();
    lines_ << "[" + section + "]";
    h = int(lines_.size()) - 1;
  }
  const int end = SectionEnd(h);
  for (int i = h + 1; i < end; ++i) {
    auto kv = KeyValue(lines_[i]);
    if (kv && kv->first.compare(key, Qt::CaseInsensitive) == 0) {
      lines_[i] = kv->first + "=" + value;
      return;
    }
  }
  int at = end;
  while (at > h + 1 && lines_[at - 1].trimmed().isEmpty()) --at;
  lines_.insert(at, key + "=" + value);
}

bool IniFile::DeleteSection(const QString& section) {
  const int h = SectionLine(section);
  if (h < 0) return false;
  lines_.erase(lines_.begin() + h, lines_.begin() + SectionEnd(h));
  return true;
}

bool IniFile::Save() const {
  QDir().mkpath(QFileInfo(path_).absolutePath());
  QString text;
  for (const auto& l : lines_) text += l + "\n";
  const QByteArray bytes = text.toUtf8();
  QSaveFile f(path_);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
  // QSaveFile commits after a failed flush of its buffer: every write and
  // the flush are checked here, and a file that failed is never put in place.
  if (f.write(bytes) != bytes.size() || !f.flush() || f.error() != QFileDevice::NoError) {
    f.cancelWriting();
    return false;
  }
  return f.commit();
}

QString UserConfigFolder() {
  QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
  if (base.isEmpty()) base = QDir::homePath() + "/.config";
  return base + "/Talvero3";
}

}  // namespace tivolen
