#pragma once
// The report's sections, written through the RTF writer: the common header,
// an application's axis parameters and programs, and a drive's parameters,
// programs, events and status read afresh from the drive. No windows here:
// the report window hands in what it reads of the main window.
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "reports/model/rtf_writer.h"

class Applic;
class Program;
class ISP;
namespace talvero::dao {
class Recordset;
}

namespace reports {

class SectionWatch;

struct ReportContext {
  RtfWriter* pr = nullptr;
  std::function<void()> goPrint;  // PR.GoPrint: render, and in print mode print

  // The header.
  std::string version;   // "Version 3.0 Build 0"
  std::function<std::string()> dateTime;  // now: short date & " " & time with seconds

  // The library (the main window's recordsets).
  talvero::dao::Recordset* parameters = nullptr;
  talvero::dao::Recordset* steps = nullptr;
  talvero::dao::Recordset* threads = nullptr;

  // The selected application.
  Applic* app = nullptr;

  // The selected drive.
  ISP* link = nullptr;
  int node = 0;
  std::string driveName;    // MainWin.GetDriveName, as the search stored it
  std::string serialText;   // MainWin.SerialandVersion(node, 1)
  std::string kernelText;   // MainWin.SerialandVersion(node, 2)
  std::string driveFamily;  // the family code the drive reported
  int ioNumberBase = 1;

  // Main window state the program sections set or borrow.
  std::string* unitsName = nullptr;
  float* transmission = nullptr;
  bool* stepNumbers = nullptr;
  // Called after a library program section with its name: the main window
  // puts back the program it shows, if another (LoadTEB).
  std::function<void(const std::string& printed)> libraryProgramPrinted;
};

// A drive program's lines as the drive gives them out, skip replies
// followed: (line, text) of each step. getLine answers nullopt for a request
// that failed, which ends the reading, as do a lone blank, a skip to 0 and a
// skip that does not lead forward. Line 255 is read too.
std::vector<std::pair<int, std::string>> ReadProgramLines(
    const std::function<std::optional<std::string>(int line)>& getLine);

// One fault history record: its fault bits, the summary line of its inputs,
// outputs, velocity and current, and the text after the step field.
struct HistoryEntry {
  uint32_t faults = 0;
  std::string summary;
  std::string rest;
};
HistoryEntry ParseHistoryRecord(std::string record, int ioNumberBase);

// A drive section that ended early because the drive stopped answering;
// damaged when bytes came back but no valid reply, as against silence.
struct CutSection {
  std::string section;  // the dialog's item: "Parameters", "Program: CUT", ...
  bool damaged = false;
};
// The report's own line where a section stops:
// "Node 1 did not answer; the Parameters section is incomplete."
std::string CutNote(int node, const CutSection& cut);
// The one message of a run, naming every section cut and the items the run
// then left out (a run ends at its first failed request).
std::string CutMessage(int node, const std::vector<CutSection>& cuts, const std::vector<std::string>& left = {});

class ReportSections {
 public:
  explicit ReportSections(ReportContext& c) : c_(c) {}

  void MakeHeader();
  void DumpAppAxisParameters(const std::string& axis);
  void DumpAppProgram(const std::string& program);
  void DumpAxisParameters();
  void DumpAxisProgram(const std::string& name);
  void DumpAxisThreads();
  void DumpAxisStatus();

  // The dialog's items for the application or the drive.
  std::vector<std::string> AppSelections() const;
  std::vector<std::string> AxisSelections() const;
  // Writes the section an item names.
  void ProcessAppItem(const std::string& item);
  void ProcessAxisItem(const std::string& item);

  // The drive sections this run had to cut, in report order.
  const std::vector<CutSection>& Cuts() const { return cuts_; }

  // "Drive is: " words of a status word, "Enabled, Faulted, Running."
  static std::string StateWords(uint16_t status);
  // The I/O table's cell of point i.
  static const char* IOCell(int64_t state, int64_t forcedOff, int64_t forcedOn, int i);

 private:
  void TitleBlock(const std::string& prefix, int indent, int paras);
  // One "name (N):  value units" line per library parameter of the family;
  // a value of nullopt (not read) ends the lines.
  void ParameterLines(const std::string& family,
                      const std::function<std::optional<std::string>(const std::string&)>& value);
  void ProgramBody(const std::string& name, const SectionWatch& watch);
  void ThreadsBody(const SectionWatch& watch);
  void StatusBody(const SectionWatch& watch);
  // One drive section: header, title block, the body's reads and lines;
  // when a read failed, the note that says so, and the section counted as cut.
  void DriveSection(const std::string& prefix, int indent, int paras, const std::string& section,
                    const std::function<void(const SectionWatch&)>& body);
  void WriteSteps(Program& program);
  RtfWriter& PR() { return *c_.pr; }
  void Text(const std::string& utf8);  // PR.Add, escaped

  ReportContext& c_;
  std::vector<CutSection> cuts_;
};

}  // namespace reports
