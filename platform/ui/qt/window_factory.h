#pragma once
// The program's dialogs and tool windows, created by name on first use and
// kept until they are destroyed. Tests register substitutes under the same
// names before anything asks for them.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <string>

namespace talvero {

class WindowFactory {
 public:
  using Creator = std::function<QWidget*(QWidget* parent)>;

  // Replaces any earlier creator; a window already made by the old one is
  // destroyed so the next request gets the new kind.
  void Register(const std::string& name, Creator creator);
  bool IsRegistered(const std::string& name) const;
  // Windows open over this one (the main window).
  void SetParent(QWidget* parent) { parent_ = parent; }

  // The window of that name, made now if needed; nullptr for an unknown name.
  QWidget* Window(const std::string& name);
  // The window if it exists, without making it.
  QWidget* Existing(const std::string& name) const;

  // Shows the window modally and returns when it is closed: the dialog's
  // result for a QDialog, 0 for other windows; -1 for an unknown name.
  int ShowModal(const std::string& name);
  // Shows the window beside the main window, or brings it to the front.
  QWidget* ShowModeless(const std::string& name);
  void Hide(const std::string& name);
  bool IsVisible(const std::string& name) const;
  void Destroy(const std::string& name);
  void DestroyAll();

 private:
  void PlaceFirstShowing(QWidget& w) const;
  struct Entry {
    Creator creator;
    QPointer<QWidget> window;
  };
  std::map<std::string, Entry> entries_;
  QWidget* parent_ = nullptr;
};

// The program's one factory.
WindowFactory& TheWindowFactory();

}  // namespace talvero
