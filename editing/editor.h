#pragma once
// The editing subsystem of a main window: the program, parameter and event
// views of its list, and the value, event and settings editors. It lives as
// the window's child; the step list editing and the transfers reach it with
// Editor::Of(win).
#include <QObject>
#include <functional>
#include <memory>
#include <string>

#include "store/display_context.h"
#include "store/program.h"
#include "store/threads_mod.h"

class MainWin;
class Applic;

namespace mainwin {
class DriveRead;
}

namespace editing {

class NewValue;
class EdT;
class EdSet;
class ListEventView;

// Fills the window's editing hooks, keeping and chaining any already set.
// Call before Form_Load.
void Install(MainWin& win);

class Editor : public QObject {
  Q_OBJECT
 public:
  explicit Editor(MainWin& win);
  ~Editor() override;
  // The editor installed into the window, nullptr when none is.
  static Editor* Of(MainWin& win);

  MainWin& Win() { return win_; }
  // The steps of the program view; row index = line number.
  Program& ShownProgram() { return program_; }
  // What the step and event texts read of the window (units, step numbers),
  // brought up to date with it.
  const DisplayContext& Display();
  // The application the selection belongs to (slot CurApp), nullptr when
  // none is open there.
  Applic* SelectedApp() const;

  // ---- views
  void EditPgm();
  void EditParameters(const std::string& key);
  // False when neither the parameter nor the program view is shown.
  bool ComputeLBData();
  int ListIndex(int x, int y) const;
  void ReadEvents();

  // ---- editors
  void EditParameterValue();
  void EditEvent(int row);
  // Shows EdSet on the shown program's settings; its OKPressed.
  bool ShowSettings();
  // Switches all 10 events of the selected drive on or off.
  void EnableEvents(bool on);

  NewValue& NewValueDialog();
  EdT& EventEditor();
  EdSet& SettingsDialog();

  // Binds the shown program and the event codec to the library's tables.
  void BindLibrary();

  // The view of a drive whose read failed: one row that says so and no
  // value; it fills again by itself when the drive answers.
  void ShowNotAnswering(const mainwin::DriveRead& read);

 private:
  void NotChanged(const std::string& name);
  // Runs body on the axis the events view shows; on a drive its requests are
  // one read, and a drive that does not answer leaves the view saying so.
  void OnEventAxis(const std::function<void(const ThreadsMod::EventAxis&)>& body);

  MainWin& win_;
  DisplayContext display_;
  Program program_;
  std::unique_ptr<ListEventView> eventView_;
};

}  // namespace editing
