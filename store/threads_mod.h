#pragma once
// The 10 events of the axis shown: their codec through the library's event
// types, the events view of the main list, editing, and switching on a drive.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/dao/recordset.h"
#include "store/display_context.h"

class Applic;

namespace ThreadsMod {

constexpr int kEvents = 10;

// The selected drive, as the main window's link adapter offers it (the node
// is the adapter's).
class EventDrive {
 public:
  virtual ~EventDrive() = default;
  virtual std::string GetThread(int event) = 0;
  // Bit i set: event i is switched on.
  virtual uint16_t GetThreadStat() = 0;
  virtual bool SetThread(int event, const std::string& text) = 0;
  virtual bool Exec(const std::string& command) = 0;
  // A request went unanswered: what it gave back is no reading.
  virtual bool Failed() const { return false; }
};

// The events view of the main list.
class EventList {
 public:
  virtual ~EventList() = default;
  virtual void SetBusy(bool busy) = 0;  // hourglass pointer
  virtual void Clear() = 0;
  virtual void SetTabWidth(int column, int width) = 0;
  virtual void AddRow(const std::string& text, bool on) = 0;  // picture "on" or "off"
  virtual void SetRowText(int row, const std::string& text) = 0;
  virtual void SetRowPicture(int row, bool on) = 0;
};

// What the event editor is given and gives back.
struct EventEdit {
  int16_t op = -1;
  std::string p1, p2;
  bool enabled = false;        // the enable check box
  bool enableAllowed = false;  // the check box can be changed (drives only)
  bool cancelled = false;
};

class EventEditor {
 public:
  virtual ~EventEditor() = default;
  // Shows the editor modally on the given event and returns what the user left.
  virtual EventEdit DoEdit(const EventEdit& start) = 0;
};

// The axis whose events are shown: an application axis when app is set,
// otherwise the drive.
struct EventAxis {
  Applic* app = nullptr;
  int16_t axis = 0;
  EventDrive* drive = nullptr;
};

// The event types recordset and the display context the codec reads.
void Bind(talvero::dao::Recordset* threads, const DisplayContext* display);
// What is bound now, so a borrower can bind it back.
talvero::dao::Recordset* BoundThreads();
const DisplayContext* BoundDisplay();

void DecodeEvent(int event, std::string_view text);
std::string DecompEvent(int event);
std::string EncodeEvent(int event);

// False when the drive did not answer: the list is left empty and no event
// is taken as read.
bool ReadEvents(const EventAxis& axis, EventList& list);
// A change the drive did not answer leaves the event and its row as they were.
void EditEvent(const EventAxis& axis, EventList& list, EventEditor& editor, int curRow);
// False when the drive did not answer: the row and the flag stay as they were.
bool EnableEvent(EventDrive& drive, EventList& list, int event, bool on);

int16_t GetEventOp(int event);
void SetEventOp(int event, int16_t op);
std::string GetEventP1(int event);
std::string GetEventP2(int event);
void SetEventP1(int event, std::string_view text);
void SetEventP2(int event, std::string_view text);
bool IsEventActive(int event);

// Name of the application parameter that holds event i.
std::string EventParamName(int event);

}  // namespace ThreadsMod
