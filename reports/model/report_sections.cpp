#include "reports/model/report_sections.h"

#include <array>
#include <cmath>

#include "editing/model/format_num.h"
#include "link/failure_watch.h"
#include "link/fault_word.h"
#include "link/isp.h"
#include "mainwin/model/axis_type_match.h"
#include "mainwin/model/units_list.h"
#include "platform/clock/clock.h"
#include "reports/model/rtf_text.h"
#include "runtime/cstr.h"
#include "runtime/format.h"
#include "runtime/text.h"
#include "runtime/val.h"
#include "store/applic.h"
#include "store/program.h"
#include "store/threads_mod.h"

namespace reports {
namespace {

bool Bit(int64_t v, int i) { return (v >> i) & 1; }

// The window stays live between two requests of a section.
void LetEventsRun() { talvero::TheClock().ProcessEvents(); }

// The event codec is shared with the events view: a report borrows it and
// gives it back as it found it.
class EventCodecLoan {
 public:
  EventCodecLoan(talvero::dao::Recordset* threads, const DisplayContext* display)
      : threads_(ThreadsMod::BoundThreads()), display_(ThreadsMod::BoundDisplay()) {
    for (int i = 0; i < ThreadsMod::kEvents; ++i)
      saved_[size_t(i)] = {ThreadsMod::GetEventOp(i), ThreadsMod::GetEventP1(i), ThreadsMod::GetEventP2(i)};
    ThreadsMod::Bind(threads, display);
  }
  ~EventCodecLoan() {
    for (int i = 0; i < ThreadsMod::kEvents; ++i) {
      ThreadsMod::SetEventOp(i, saved_[size_t(i)].op);
      ThreadsMod::SetEventP1(i, saved_[size_t(i)].p1);
      ThreadsMod::SetEventP2(i, saved_[size_t(i)].p2);
    }
    ThreadsMod::Bind(threads_, display_);
  }
  EventCodecLoan(const EventCodecLoan&) = delete;
  EventCodecLoan& operator=(const EventCodecLoan&) = delete;

 private:
  struct Event {
    int16_t op;
    std::string p1, p2;
  };
  talvero::dao::Recordset* threads_;
  const DisplayContext* display_;
  std::array<Event, ThreadsMod::kEvents> saved_;
};

}  // namespace

// The failure tally of one section, and what its first failure was: damaged
// replies or silence (the link knows only of its last request).
class SectionWatch {
 public:
  explicit SectionWatch(const ISP& link) : link_(link), watch_(link) {}
  bool Failed() const {
    if (!seen_ && watch_.Failed()) {
      seen_ = true;
      damaged_ = link_.LastReplyDamaged;
    }
    return watch_.Failed();
  }
  bool Damaged() const { return Failed() && damaged_; }

 private:
  const ISP& link_;
  FailureWatch watch_;
  mutable bool seen_ = false, damaged_ = false;
};

std::vector<std::pair<int, std::string>> ReadProgramLines(
    const std::function<std::optional<std::string>(int line)>& getLine) {
  std::vector<std::pair<int, std::string>> steps;
  for (int n = 0; n <= Program::GetMaxLines();) {
    const std::optional<std::string> text = getLine(n);
    if (!text) break;  // the drive has gone: no more minutes of retries
    if (text->empty() || (*text)[0] != ' ') {
      if (!text->empty()) steps.emplace_back(n, *text);
      ++n;
      continue;
    }
    if (text->size() == 1) break;
    // A skip reply points at the next line holding a step; one that does not
    // lead forward would read the same lines for ever.
    const int next = uint8_t(text->back());
    if (next <= n) break;
    n = next;
  }
  return steps;
}

HistoryEntry ParseHistoryRecord(std::string rec, int ioNumberBase) {
  // Fields up to a comma each; a record cut short reads its missing ones as 0.
  auto field = [&rec]() {
    const size_t comma = rec.find(',');
    std::string f = rec.substr(0, comma);
    rec = comma == std::string::npos ? std::string() : rec.substr(comma + 1);
    return f;
  };
  HistoryEntry h;
  h.faults = DriveWord(field());
  const int64_t inputs = DriveWord(field()) & 255;
  const int64_t outputs = DriveWord(field()) & 4095;
  const double velocity = rt::Val(field());
  const double current = rt::Val(field());
  std::string& s = h.summary;
  if (inputs) {
    s = " Inputs active:";
    for (int j = 0; j < 8; ++j)
      if (Bit(inputs, j)) s += " " + std::to_string(ioNumberBase + j);
  } else {
    s = " No Inputs active.";
  }
  if (outputs) {
    s += " Outputs active:";
    for (int j = 0; j < 12; ++j)
      if (Bit(outputs, j)) s += " " + std::to_string(ioNumberBase + j);
  } else {
    s += " No Outputs active.";
  }
  s += " Vel: " + rt::Format(velocity, "######0.0") + " RPM";
  s += " Cur: " + rt::FormatSingle(float(current * 100), "##0") + "%";
  // The step field is dropped.
  const size_t comma = rec.find(',');
  h.rest = "   " + (comma == std::string::npos ? rec : rec.substr(comma + 1));
  return h;
}

std::string CutNote(int node, const CutSection& cut) {
  return NotAnsweredHead(node, cut.damaged) + "the " + cut.section + " section is incomplete.";
}

namespace {

// "A", "A and B", "A, B and C".
std::string Names(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) text += i + 1 == names.size() ? " and " : ", ";
    text += names[i];
  }
  return text;
}

}  // namespace

std::string CutMessage(int node, const std::vector<CutSection>& cuts, const std::vector<std::string>& left) {
  if (cuts.empty() && left.empty()) return std::string();
  bool damaged = !cuts.empty();
  std::vector<std::string> names;
  for (const CutSection& cut : cuts) {
    damaged = damaged && cut.damaged;
    names.push_back(cut.section);
  }
  std::string text = NotAnsweredHead(node, damaged);
  if (!cuts.empty()) {
    const bool many = cuts.size() > 1;
    text += "the " + Names(names) + (many ? " sections" : " section") + " of the report " + (many ? "are" : "is") +
            " incomplete";
  }
  if (!left.empty()) {
    text += std::string(cuts.empty() ? "the " : ", and the ") + Names(left) + (left.size() > 1 ? " sections" : " section");
    if (cuts.empty()) text += " of the report";
    text += left.size() > 1 ? " were left out" : " was left out";
  }
  return text + ".";
}

void ReportSections::Text(const std::string& utf8) { PR().Add(deRTF(utf8)); }

void ReportSections::MakeHeader() {
  PR().ClearText();
  PR().Page();
  PR().ChangeFont(1, 14);
  PR().Dashes(30);
  PR().Bold();
  Text("Talvero");
  PR().Para();
  PR().Normal();
  PR().ChangeFont(1, 9);
  Text(c_.version);
  PR().Para();
  Text(c_.dateTime ? c_.dateTime() : std::string());
  PR().Para();
  PR().ChangeFont(1, 14);
  PR().Dashes(30);
  PR().ChangeFont(1, 9);
  PR().Para();
}

void ReportSections::ParameterLines(const std::string& family,
                                    const std::function<std::optional<std::string>(const std::string&)>& value) {
  talvero::dao::Recordset* rs = c_.parameters;
  if (!rs || !rs->MoveFirst()) return;
  const int64_t count = rs->RecordCount();
  for (int64_t k = 0; k < count && !rs->Eof(); ++k, rs->MoveNext()) {
    // The families a parameter exists on are in "Type"; "DT" is its category.
    if (!talvero::AxisTypeMatch(rs->Text("Type"), family)) continue;
    const std::string name = rs->Text("Name");
    LetEventsRun();
    const std::optional<std::string> text = value(name);
    if (!text) return;
    std::string line = PadTo(rs->Text("fullname") + " (" + name + "):  ", 45) +
                       talvero::FormatNum(rt::Val(*text), rs->Text("Format")) + " ";
    const talvero::dao::Value units = rs->Field("units");
    if (!units.IsNull()) line += units.Text();
    Text(line);
    PR().Para();
    PR().Para();
  }
}

void ReportSections::WriteSteps(Program& program) {
  const bool saved = *c_.stepNumbers;
  *c_.stepNumbers = false;
  for (int line = 0; line <= Program::GetMaxLines(); ++line) {
    const std::string t = program.Decomp(line);
    if (t == " ") continue;
    Text(rt::Format(line, "000:  ") + t);
    PR().Para();
  }
  *c_.stepNumbers = saved;
}

void ReportSections::DumpAppAxisParameters(const std::string& axis) {
  if (!c_.app) return;
  int16_t slot = 0;
  for (int16_t s = 1; s <= Applic::GetMaxAxis() && !slot; ++s)
    if (c_.app->GetAxisName(s) == axis) slot = s;
  if (!slot) return;
  MakeHeader();
  PR().ChangeFont(2, 10);
  Text("----- Axis Parameters from: " + c_.app->Name + " [" + axis + "]");
  PR().Para();
  PR().Para();
  // FindParam, not GetParam: a report reads the file and never writes it.
  ParameterLines(c_.app->WhatType(slot), [&](const std::string& name) -> std::optional<std::string> {
    return c_.app->FindParam(slot, name).value_or("0");
  });
  c_.goPrint();
}

void ReportSections::DumpAppProgram(const std::string& program) {
  if (!c_.app) return;
  int16_t slot = 0;
  for (int16_t s = 1; s <= Applic::GetMaxPgm() && !slot; ++s)
    if (c_.app->GetPgmName(s) == program) slot = s;
  if (!slot) return;
  MakeHeader();
  PR().ChangeFont(2, 10);
  Text("----- Axis Library Program: " + program + " from: " + c_.app->Name);
  PR().Para();
  PR().Para();
  PR().Para();
  *c_.unitsName = c_.app->GetUnits(slot);
  *c_.transmission = c_.app->GetTrans(slot);
  Text("Translation Ratio: " + rt::CStrSingle(*c_.transmission) + " motor revolution per " + *c_.unitsName);
  PR().Para();
  Text("Description: " + c_.app->GetPD(slot));
  PR().Para();
  PR().Para();
  const DisplayContext display{*c_.unitsName, false};
  Program scratch(c_.steps, &display);
  const int16_t last = c_.app->GetMaxLineNumber(slot);
  for (int line = 0; line <= last && line <= Program::GetMaxLines(); ++line) {
    const std::string text = c_.app->GetPgmStep(slot, line);
    if (!text.empty()) scratch.Decode(line, text);
  }
  WriteSteps(scratch);
  c_.goPrint();
}

void ReportSections::TitleBlock(const std::string& prefix, int indent, int paras) {
  Text(prefix + c_.driveName);
  PR().Para();
  Text(std::string(size_t(indent), ' ') + c_.serialText);
  PR().Para();
  Text(std::string(size_t(indent), ' ') + c_.kernelText);
  for (int i = 0; i < paras; ++i) PR().Para();
}

void ReportSections::DriveSection(const std::string& prefix, int indent, int paras, const std::string& section,
                                  const std::function<void(const SectionWatch&)>& body) {
  MakeHeader();
  PR().ChangeFont(2, 10);
  TitleBlock(prefix, indent, paras);
  const SectionWatch watch(*c_.link);
  body(watch);
  if (watch.Failed()) {
    const CutSection cut{section, watch.Damaged()};
    cuts_.push_back(cut);
    Text(CutNote(c_.node, cut));
    PR().Para();
  }
  c_.goPrint();
}

void ReportSections::DumpAxisParameters() {
  ISP& link = *c_.link;
  DriveSection("----- Axis Parameters from: ", 28, 2, "Parameters", [&](const SectionWatch& watch) {
    ParameterLines(c_.driveFamily, [&](const std::string& name) -> std::optional<std::string> {
      std::string text = link.ValueOf(c_.node, name);
      if (watch.Failed()) return std::nullopt;
      return text;
    });
  });
}

void ReportSections::ProgramBody(const std::string& name, const SectionWatch& watch) {
  ISP& link = *c_.link;
  const int node = c_.node;
  // The lines of whatever program the buffer held before are not this one's.
  if (!name.empty() && (link.LoadTEB(node, name), watch.Failed())) return;
  float ratio = 0;
  int16_t units = 0;
  link.GetPgmProp(node, name, int(talvero::UnitsList.size()), ratio, units);
  if (watch.Failed()) return;
  *c_.unitsName = talvero::UnitsName(units);
  Text("Translation Ratio: " + rt::CStrSingle(ratio) + " motor revolution per " + *c_.unitsName);
  PR().Para();
  PR().Para();

  const DisplayContext display{*c_.unitsName, false};
  Program scratch(c_.steps, &display);
  for (const auto& [line, text] : ReadProgramLines([&](int n) -> std::optional<std::string> {
         LetEventsRun();
         std::string text = link.GetPgmLine(node, uint8_t(n), name);
         if (watch.Failed()) return std::nullopt;
         return text;
       }))
    scratch.Decode(line, text);
  WriteSteps(scratch);
}

void ReportSections::DumpAxisProgram(const std::string& name) {
  const auto body = [&](const SectionWatch& watch) { ProgramBody(name, watch); };
  const size_t cutBefore = cuts_.size();
  if (name.empty()) DriveSection("----- Active Program from: ", 27, 2, "Active Program", body);
  else DriveSection("----- Axis Library Program: " + name + " from: ", 28, 3, "Program: " + name, body);
  // Not after a cut: the rest of the read is not sent, and an edit loads its
  // own program before it writes.
  if (!name.empty() && cuts_.size() == cutBefore && c_.libraryProgramPrinted) c_.libraryProgramPrinted(name);
}

void ReportSections::ThreadsBody(const SectionWatch& watch) {
  ISP& link = *c_.link;
  const DisplayContext display{*c_.unitsName, false};
  EventCodecLoan loan(c_.threads, &display);
  const int32_t mask = link.GetThreadStat(c_.node);
  if (watch.Failed()) return;
  for (int i = 0; i < ThreadsMod::kEvents; ++i) {
    ThreadsMod::SetEventOp(i, -1);
    LetEventsRun();
    const std::string text = link.GetThread(c_.node, uint8_t(i));
    if (watch.Failed()) return;
    if (!text.empty()) ThreadsMod::DecodeEvent(i, text);
    const std::string s = (Bit(mask, i) ? "(Active)    " : "(InActive)  ") + ThreadsMod::DecompEvent(i);
    Text(rt::Format(i, "00:  ") + s);
    PR().Para();
    PR().Para();
  }
}

void ReportSections::DumpAxisThreads() {
  DriveSection("----- Events from: ", 19, 2, "Events", [&](const SectionWatch& watch) { ThreadsBody(watch); });
}

std::string ReportSections::StateWords(uint16_t st) {
  std::string s = ISP::IsEnabled(st) ? "Enabled" : "Disabled";
  if (ISP::IsFaulted(st)) s += ", Faulted";
  if (ISP::IsRunning(st)) s += ISP::IsPaused(st) ? ", Paused" : ", Running";
  else s += ", Stopped";
  return s + ".";
}

const char* ReportSections::IOCell(int64_t state, int64_t forcedOff, int64_t forcedOn, int i) {
  if (Bit(forcedOff, i)) return "FOFF ";
  if (Bit(forcedOn, i)) return "FON  ";
  if (Bit(state, i)) return "ON   ";
  return "OFF  ";
}

void ReportSections::StatusBody(const SectionWatch& watch) {
  ISP& link = *c_.link;
  const int node = c_.node;
  auto value = [&](const char* name) { return int64_t(DriveWord(link.ValueOf(node, name))); };
  // Every value is read before it is written: a section cut short prints
  // nothing the drive did not say.
  const std::string info = link.Info(node, 1, "");
  if (watch.Failed()) return;
  PR().DumpDelimitedString(deRTF(info));
  PR().Para();
  const std::string serial = link.GetSerial(node);
  if (watch.Failed()) return;
  PR().DumpDelimitedString(deRTF("S/N : ") + deRTF(serial));
  PR().Para();
  PR().Para();

  const uint16_t st = link.Status(node);
  if (watch.Failed()) return;
  Text("Drive is: ");
  Text(StateWords(st));
  PR().Para();
  if (st & (1u << 2)) {
    PR().Para();
    Text("Drive needs to be 'RESET'.");
    PR().Para();
  }
  PR().Para();
  Text("Present Faults (if any):");
  PR().Para();
  const std::string faults = link.ValueOf(node, "FLT");
  if (watch.Failed()) return;
  for (int b : FaultCodes(faults)) {
    const std::string fault = link.FaultText(node, uint8_t(b));
    if (watch.Failed()) return;
    Text("     " + fault);
    PR().Para();
  }
  PR().Para();
  const std::string endStatus = link.ValueOf(node, "RERR");
  if (watch.Failed()) return;
  Text("'End Program' Status: " + rt::Format(rt::Val(endStatus), "#####0"));
  PR().Add("\r");
  PR().Para();
  PR().Para();
  PR().Para();

  const int64_t in = value("IN") & 255, in0 = value("IN0") & 255, in1 = value("IN1") & 255;
  const int64_t out = value("OUT") & 4095, out0 = value("OUT0") & 4095, out1 = value("OUT1") & 4095;
  if (watch.Failed()) return;
  Text("I/O:");
  PR().Para();
  std::string heading(10, ' ');
  for (int i = 0; i < 12; ++i) heading += rt::Format(c_.ioNumberBase + i, "00   ");
  Text(heading);
  PR().Para();
  std::string row = "Inputs:   ";
  for (int i = 0; i < 8; ++i) row += IOCell(in, in0, in1, i);
  Text(row);
  PR().Para();
  row = "Outputs:  ";
  for (int i = 0; i < 12; ++i) row += IOCell(out, out0, out1, i);
  Text(row);
  PR().Para();
  PR().Para();
  PR().Para();

  Text("Variables:");
  PR().Para();
  for (int slot = 0; slot < 48; ++slot) {
    LetEventsRun();
    const std::string name = link.GetUVName(node, uint8_t(slot));
    if (watch.Failed()) return;
    if (name.empty()) continue;
    const float v = link.NewValueOf(node, name);
    if (watch.Failed()) return;
    Text("  " + name + "=" + rt::CStrSingle(v));
    PR().Para();
  }
  PR().Para();
  PR().Para();

  Text("Diagnostic History:");
  PR().Para();
  int c = 0;
  for (int k = 0; k < 16; ++k) {
    LetEventsRun();
    std::string rec = link.GetDiag(node, uint8_t(k));
    if (watch.Failed()) return;
    if (rec.empty()) continue;
    const HistoryEntry h = ParseHistoryRecord(rec, c_.ioNumberBase);
    for (int b : FaultCodes(h.faults)) {
      const std::string fault = link.FaultText(node, uint8_t(b));
      if (watch.Failed()) return;
      PR().Para();
      Text(rt::Format(c, "000") + ": " + fault + h.rest);
      PR().Para();
      Text("    " + h.summary);
      ++c;
    }
  }
  PR().Para();
}

void ReportSections::DumpAxisStatus() {
  DriveSection("----- Status of: ", 17, 2, "Status", [&](const SectionWatch& watch) { StatusBody(watch); });
}

std::vector<std::string> ReportSections::AppSelections() const {
  std::vector<std::string> items;
  if (!c_.app) return items;
  for (int16_t s = 1; s <= Applic::GetMaxAxis(); ++s)
    if (std::string n = c_.app->GetAxisName(s); !n.empty()) items.push_back("Axis: " + n);
  for (int16_t s = 1; s <= Applic::GetMaxPgm(); ++s)
    if (std::string n = c_.app->GetPgmName(s); !n.empty()) items.push_back("Pgm: " + n);
  return items;
}

std::vector<std::string> ReportSections::AxisSelections() const {
  std::vector<std::string> items{"Parameters", "Events", "Active Program"};
  for (int slot = 0; slot < 128; ++slot) {
    LetEventsRun();
    const std::string name = rt::Trim(c_.link->GetPgmName(c_.node, uint8_t(slot)));
    // The library is kept packed: the first empty slot ends it, as in the tree.
    if (name.empty() || name == "~~~~~~~~") break;
    if (name == "$$SAVE$$") continue;
    items.push_back("Program: " + name);
  }
  items.push_back("Status");
  return items;
}

void ReportSections::ProcessAppItem(const std::string& item) {
  const size_t colon = item.find(':');
  const std::string name = colon == std::string::npos ? std::string() : item.substr(std::min(colon + 2, item.size()));
  if (item.compare(0, 4, "Axis") == 0) DumpAppAxisParameters(name);
  else if (item.compare(0, 3, "Pgm") == 0) DumpAppProgram(name);
}

void ReportSections::ProcessAxisItem(const std::string& item) {
  if (item == "Parameters") DumpAxisParameters();
  else if (item == "Events") DumpAxisThreads();
  else if (item == "Status") DumpAxisStatus();
  else if (item == "Active Program") DumpAxisProgram("");
  else if (item.compare(0, 7, "Program") == 0) DumpAxisProgram(item.size() > 9 ? item.substr(9) : std::string());
}

}  // namespace reports
