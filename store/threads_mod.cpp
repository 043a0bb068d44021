#include "store/threads_mod.h"

#include <array>

#include "platform/clock/clock.h"
#include "platform/ui/prompter.h"
#include "runtime/format.h"
#include "runtime/like.h"
#include "runtime/text.h"
#include "store/applic.h"
#include "store/step_template.h"

namespace ThreadsMod {
namespace {

struct Event {
  int16_t op = -1;
  std::string p1, p2;
  bool active = false;
};

std::array<Event, kEvents> events;
talvero::dao::Recordset* threadsRS = nullptr;
const DisplayContext* displayCtx = nullptr;

bool InRange(int i) { return i >= 0 && i < kEvents; }

bool FindEventType(int16_t op) { return threadsRS && threadsRS->Seek("id", int64_t(op)).ok() && !threadsRS->NoMatch(); }

bool MaskBit(uint16_t mask, int i) { return (mask >> i) & 1; }

}  // namespace

void Bind(talvero::dao::Recordset* threads, const DisplayContext* display) {
  threadsRS = threads;
  displayCtx = display;
}

talvero::dao::Recordset* BoundThreads() { return threadsRS; }
const DisplayContext* BoundDisplay() { return displayCtx; }

std::string EventParamName(int event) { return ":E" + std::to_string(event); }

void DecodeEvent(int i, std::string_view text) {
  if (!InRange(i) || !threadsRS || !threadsRS->MoveFirst()) return;
  for (; !threadsRS->Eof(); threadsRS->MoveNext()) {
    PrototypePattern p = PrototypePattern::From(threadsRS->Text("Prototype"));
    if (!rt::Like(text, p.pattern)) continue;
    events[size_t(i)].op = int16_t(threadsRS->Field("id").Long());
    p.CutOperands(text, events[size_t(i)].p1, events[size_t(i)].p2);
    return;
  }
}

std::string DecompEvent(int i) {
  if (!InRange(i)) return {};
  std::string text = rt::Format(i, "00: ");
  const Event& e = events[size_t(i)];
  if (e.op < 0) return text + "<empty>";
  if (!FindEventType(e.op)) return text + "<unknown event " + std::to_string(e.op) + ">";
  static const std::string kDefaultUnits = DisplayContext().UnitsName;
  return text + FillTemplate(threadsRS->Text("GUI"), e.p1, e.p2, displayCtx ? &displayCtx->UnitsName : &kDefaultUnits);
}

std::string EncodeEvent(int i) {
  if (!InRange(i)) return {};
  const Event& e = events[size_t(i)];
  if (e.op < 0 || !FindEventType(e.op)) return {};
  return FillTemplate(threadsRS->Text("Prototype"), e.p1, e.p2);
}

bool ReadEvents(const EventAxis& axis, EventList& list) {
  list.SetBusy(true);
  list.Clear();
  list.SetTabWidth(0, 240);
  talvero::TheClock().ProcessEvents();
  if (axis.app) {
    for (int i = 0; i < kEvents; ++i) {
      Event& e = events[size_t(i)];
      e.op = -1;
      e.active = false;
      // A missing row is an empty event: reading writes nothing into the file.
      std::string text = rt::Trim(axis.app->FindParam(axis.axis, EventParamName(i)).value_or(""));
      if (!text.empty()) DecodeEvent(i, text);
      list.AddRow(DecompEvent(i), false);
    }
  } else if (axis.drive) {
    EventDrive& drive = *axis.drive;
    const uint16_t mask = drive.GetThreadStat();
    for (int i = 0; i < kEvents && !drive.Failed(); ++i) {
      Event& e = events[size_t(i)];
      e.op = -1;
      std::string text = drive.GetThread(i);
      if (drive.Failed()) break;
      if (!text.empty()) DecodeEvent(i, text);
      e.active = MaskBit(mask, i);
      list.AddRow(DecompEvent(i), e.active);
    }
    if (drive.Failed()) {
      // No "<empty>" or "off" that the drive never said.
      for (Event& e : events) e = Event{};
      list.Clear();
      list.SetBusy(false);
      return false;
    }
  }
  list.SetBusy(false);
  return true;
}

void EditEvent(const EventAxis& axis, EventList& list, EventEditor& editor, int curRow) {
  if (!InRange(curRow) || (!axis.app && !axis.drive)) return;
  const int i = curRow;
  Event& e = events[size_t(i)];
  EventEdit start;
  start.op = e.op;
  start.p1 = e.p1;
  start.p2 = e.p2;
  start.enabled = axis.app ? false : e.active;
  start.enableAllowed = !axis.app;
  EventEdit done = editor.DoEdit(start);
  if (done.cancelled) return;

  const Event before = e;
  e.op = done.op;
  e.p1 = done.p1;
  e.p2 = done.p2;
  std::string text = EncodeEvent(i);
  if (axis.app) {
    auto s = axis.app->PutParam(axis.axis, EventParamName(i), text.empty() ? " " : text);
    if (!s) {
      // What the view shows stays what the file holds.
      e = before;
      talvero::ThePrompter().Critical("Can't store event " + std::to_string(i) + ": " + s.error);
      return;
    }
  } else {
    axis.drive->SetThread(i, text);
    if (axis.drive->Failed()) {
      e = before;
      return;
    }
  }
  list.SetRowText(i, DecompEvent(i));
  if (!axis.app) EnableEvent(*axis.drive, list, i, done.enabled);
}

bool EnableEvent(EventDrive& drive, EventList& list, int i, bool on) {
  if (!InRange(i)) return true;
  drive.Exec((on ? "UTE," : "UTD,") + std::to_string(i));
  if (drive.Failed()) return false;
  // The drive's answer, not the request, decides.
  const uint16_t mask = drive.GetThreadStat();
  if (drive.Failed()) return false;
  const bool active = MaskBit(mask, i);
  list.SetRowPicture(i, active);
  events[size_t(i)].active = active;
  return true;
}

int16_t GetEventOp(int i) { return InRange(i) ? events[size_t(i)].op : int16_t(-1); }
void SetEventOp(int i, int16_t op) {
  if (InRange(i)) events[size_t(i)].op = op;
}
std::string GetEventP1(int i) { return InRange(i) ? events[size_t(i)].p1 : std::string(); }
std::string GetEventP2(int i) { return InRange(i) ? events[size_t(i)].p2 : std::string(); }
void SetEventP1(int i, std::string_view text) {
  if (InRange(i)) events[size_t(i)].p1 = std::string(text);
}
void SetEventP2(int i, std::string_view text) {
  if (InRange(i)) events[size_t(i)].p2 = std::string(text);
}
bool IsEventActive(int i) { return InRange(i) && events[size_t(i)].active; }

}  // namespace ThreadsMod
