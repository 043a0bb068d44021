// Each section written from the simulated drive (RHO at node 1) or a temp
// application, against golden RTF files, with the texts that matter checked
// on their own as well.
#include <QDir>
#include <QFile>
#include <cstdlib>

#include "reports/model/report_sections.h"
#include "reports/model/rtf_text.h"
#include "reports/tests/report_fixture.h"
#include "store/applic.h"
#include "store/threads_mod.h"

namespace {

using talvero::sim::Buffer;
using talvero::sim::Family;

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The RTF against its golden file; TALVERO_UPDATE_GOLDENS=1 writes them anew.
void Golden(const std::string& name, const std::string& rtf) {
  const QString path = QString(REPORTS_GOLDEN_DIR) + "/" + QString::fromStdString(name) + ".rtf";
  QFile file(path);
  if (std::getenv("TALVERO_UPDATE_GOLDENS")) {
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(rtf.data(), qint64(rtf.size()));
    return;
  }
  ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  const QByteArray want = file.readAll();
  EXPECT_EQ(rtf, want.toStdString()) << name;
}

class SectionsTest : public ReportTest {
 protected:
  talvero::sim::SimDrive& Drive() {
    talvero::sim::SimDrive& d = AddDrive(1, Family::RHO, "KV110c", "Feed");
    d.SetValue("INER", "0.000125");
    d.SetValue("MPOL", "8");
    d.SetValue("LOOP", "1");  // a stepper's parameter: not in a RHO report
    talvero::sim::ProgramStore& ps = d.Programs();
    ps.SetLine(Buffer::Active, 0, "ACL 100");
    ps.SetLine(Buffer::Active, 1, "MA 10,5");
    ps.SetLine(Buffer::Active, 5, "WT 0.5");
    ps.SetLine(Buffer::Active, 255, "STOP");
    d.SetValue("TR", "2.5");
    d.SetValue("UU", "4");
    ps.SetLine(Buffer::Library, 0, "HOME");
    ps.SetLine(Buffer::Library, 3, "MR 1.5");
    ps.Get(Buffer::Library).ratio = "4";
    ps.Get(Buffer::Library).units = "9";  // beyond the 7 units: the first
    ps.Save(Buffer::Library, "CUT");
    ps.Clear(Buffer::Library);
    ps.SetLine(Buffer::Library, 2, "ZP");
    ps.Save(Buffer::Library, "EDIT");
    d.SetEventText(0, "IF IN1 DO OUT2=1");
    d.SetEventText(3, "ON IN2 GS 10");
    d.SetEventMask(8);
    return d;
  }
  std::string Section(const std::string& item) {
    Choose({item});
    return Display();
  }
};

TEST_F(SectionsTest, DriveParameters) {
  Drive();
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  const std::string rtf = Section("Parameters");
  Golden("drive_parameters", rtf);
  EXPECT_TRUE(Contains(rtf, "Total Inertia (INER):                        0.000125 kg-m\\'b2\\par \\par "));
  EXPECT_TRUE(Contains(rtf, "Motor Pole Count (MPOL):                     8 \\par ")) << "Null units: one blank";
  EXPECT_FALSE(Contains(rtf, "(LOOP)"));
  EXPECT_TRUE(Contains(rtf, "----- Axis Parameters from: KV110c Feed (Node 1)\\par                             Serial # S1\\par "));
}

TEST_F(SectionsTest, ActiveProgramFollowsSkipRepliesToLine255) {
  Drive();
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  win->StepNumbers = true;
  const std::string rtf = Section("Active Program");
  Golden("drive_active_program", rtf);
  EXPECT_TRUE(Contains(rtf, "Translation Ratio: 2.5 motor revolution per mm\\par \\par "));
  for (const char* line : {"000:  ", "001:  ", "005:  ", "255:       Stop the motion\\par }"})
    EXPECT_TRUE(Contains(rtf, line)) << line;
  EXPECT_TRUE(win->StepNumbers) << "restored";
  // 0, 1, 2 (a skip to 5), 5, 6 (a skip to 255), 255.
  std::vector<int> lines;
  for (const std::string& r : sim.Requests(1))
    if (r.size() == 2 && r[0] == 'L') lines.push_back(uint8_t(r[1]));
  EXPECT_EQ(lines, (std::vector<int>{0, 1, 2, 5, 6, 255}));
}

TEST_F(SectionsTest, LibraryProgramPutsBackTheProgramTheListShows) {
  Drive();
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  // The main list shows EDIT from the drive's library.
  win->ProgramViewShown = true;
  win->CurPgmName = "EDIT";
  const std::string rtf = Section("Program: CUT");
  Golden("drive_library_program", rtf);
  EXPECT_TRUE(Contains(rtf, "----- Axis Library Program: CUT from: KV110c Feed (Node 1)\\par "));
  EXPECT_TRUE(Contains(rtf, "Translation Ratio: 4 motor revolution per cm"));
  EXPECT_TRUE(Contains(rtf, "000:       Home the axis\\par 003:       Move by 1.5 cm\\par }"));
  const std::vector<std::string> req = sim.Requests(1);
  const auto cut = std::find(req.begin(), req.end(), "PlCUT");
  ASSERT_NE(cut, req.end()) << "loaded before reading";
  EXPECT_EQ(req.back(), "PlEDIT") << "the shown program is back in the edit buffer";
  EXPECT_EQ(sim.With(1, [](talvero::sim::SimDrive& d) { return d.ProgramLine(Buffer::Library, 2); }), "ZP");

  // Not after the drive stopped answering: nothing is sent after that (an
  // edit loads its own program before it writes).
  sim.AddFault(talvero::sim::FaultRule::Kind(talvero::sim::FaultKind::Silence, 1, std::string("l\x03", 2)));
  prompter.ExpectMessage("Node 1 did not answer; the Program: CUT section of the report is incomplete.",
                         talvero::Answer::Ok);
  sim.ClearLog();
  Section("Program: CUT");
  EXPECT_EQ(sim.Requests(1).back().substr(0, 1), "l") << "the line read that failed is the last request";
}

TEST_F(SectionsTest, EventsKeepTheCodecsTable) {
  Drive();
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  ThreadsMod::SetEventOp(4, 3);
  ThreadsMod::SetEventP1(4, "X>1");
  const std::string rtf = Section("Events");
  Golden("drive_events", rtf);
  EXPECT_TRUE(Contains(rtf, "03:  (Active)    03: When input 2 turns on, call 10\\par \\par "));
  EXPECT_TRUE(Contains(rtf, "00:  (InActive)  00: If IN1 then do OUT2=1"));
  EXPECT_TRUE(Contains(rtf, "09:  (InActive)  09: <empty>"));
  EXPECT_EQ(ThreadsMod::GetEventOp(4), 3) << "the events view's table is given back";
  EXPECT_EQ(ThreadsMod::GetEventP1(4), "X>1");
  EXPECT_EQ(ThreadsMod::BoundThreads(), nullptr);
}

TEST_F(SectionsTest, Status) {
  talvero::sim::SimDrive& d = Drive();
  d.SetStatusExtraBits(11 | 4);
  d.SetValue("FLT", "5");
  d.SetValue("RERR", "3");
  d.SetValue("IN", "3");
  d.SetValue("IN0", "1");    // on and forced off
  d.SetValue("OUT", "0");
  d.SetValue("OUT1", "2");   // off and forced on
  d.DefineUserVariable("SPEED");
  d.DefineUserVariable("GONE");
  d.DefineUserVariable("COUNT");
  d.SetValue("SPEED", "12.5");
  d.SetValue("COUNT", "3");
  talvero::sim::FaultRecord r;
  r.faults = 0b1000010;
  r.inputs = 0;
  r.outputs = 1 << 10;
  r.velocity = 1500.25;
  r.current = 0.456;
  r.step = 3;
  r.text = "older";
  d.AddHistoryRecord(r);
  r.faults = 0b101;
  r.inputs = 5;
  r.outputs = 0;
  r.text = "12:00:01, newer";
  d.AddHistoryRecord(r);
  ASSERT_TRUE(StartOnLine());
  win->Link.DelUVName(1, "GONE");  // an empty slot between two names
  Click("#1");
  const std::string rtf = Section("Status");
  Golden("drive_status", rtf);
  for (const char* part : {
           "Drive is: Enabled, Faulted, Running.\\par \\par Drive needs to be 'RESET'.\\par \\par Present Faults",
           "'End Program' Status: 3\r\\par \\par \\par I/O:\\par           01   02   03   04   05   06   07   08"
           "   09   10   11   12   \\par Inputs:   FOFF ON   OFF  ",
           "Outputs:  OFF  FON  OFF  ",
           "Variables:\\par   SPEED=12.5\\par   COUNT=3\\par \\par \\par Diagnostic History:",
           "\\par 000: ",
           "\\par 003: ",
           "   12:00:01, newer\\par      Inputs active: 1 3 No Outputs active. Vel: 1500.3 RPM Cur: 46%",
           " No Inputs active. Outputs active: 11 ",
       })
    EXPECT_TRUE(Contains(rtf, part)) << part;
  EXPECT_FALSE(Contains(rtf, "\\par 004: "));
}

TEST_F(SectionsTest, StatusReadsTheFaultWordAndEndStatusAsTheStatusTabDoes) {
  talvero::sim::SimDrive& d = Drive();
  d.SetFaultText(0, "Over Current");
  d.SetFaultText(29, "Last Fault");
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  const struct {
    const char* flt;
    const char* rerr;
    const char* printed;
  } cases[] = {
      // Bits 0 and 31: a negative 32-bit word.
      {"-2147483647", "2.5", "(if any):\\par      Over Current\\par \\par 'End Program' Status: 3\r"},
      {"536870912", "-2.5", "(if any):\\par      Last Fault\\par \\par 'End Program' Status: -3\r"},
      {"1073741824", "1e20", "(if any):\\par \\par 'End Program' Status: 100000000000000000000\r"},
  };
  for (const auto& c : cases) {
    d.SetValue("FLT", c.flt);
    d.SetValue("RERR", c.rerr);
    const std::string rtf = Section("Status");
    EXPECT_TRUE(Contains(rtf, c.printed)) << c.flt << " " << c.rerr;
  }
}

TEST_F(SectionsTest, TheResetLineFollowsBitTwoAlone) {
  Drive();
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  const struct {
    uint16_t bits;
    const char* state;
  } cases[] = {
      {1 << 1, "Faulted, Stopped.\\par \\par Present Faults (if any):"},
      {1 << 2, "Stopped.\\par \\par Drive needs to be 'RESET'.\\par \\par Present Faults (if any):"},
  };
  for (const auto& c : cases) {
    sim.With(1, [&](talvero::sim::SimDrive& x) { x.SetStatusExtraBits(c.bits); return 0; });
    const std::string rtf = Section("Status");
    EXPECT_TRUE(Contains(rtf, c.state)) << c.bits;
    EXPECT_EQ(Contains(rtf, "RESET"), c.bits == 1 << 2) << c.bits;
  }
}

TEST_F(SectionsTest, StatusReadsTheLastUserVariableSlotAndHistoryRecord) {
  talvero::sim::SimDrive& d = Drive();
  for (int slot = 0; slot < 48; ++slot) ASSERT_TRUE(d.DefineUserVariable("UV" + std::to_string(slot)));
  talvero::sim::FaultRecord r;
  r.faults = 1;
  for (int k = 0; k < 16; ++k) {
    r.text = "record " + std::to_string(k);
    d.AddHistoryRecord(r);
  }
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  const std::string rtf = Section("Status");
  EXPECT_TRUE(Contains(rtf, "\\par   UV47=0\\par \\par \\par Diagnostic History:"));
  for (const char* first : {"record 0\\par ", "record 15\\par "}) EXPECT_TRUE(Contains(rtf, first)) << first;
  EXPECT_TRUE(Contains(rtf, "\\par 015: ")) << "sixteen entries";
}

TEST_F(SectionsTest, ADriveThatStopsAnsweringCutsTheSectionWhereItStopped) {
  using talvero::sim::FaultKind;
  using talvero::sim::FaultRule;
  struct Case {
    const char* item;
    FaultRule fault;
    const char* printed;    // read before the drive stopped
    const char* notPrinted; // the first thing it no longer said
    const char* note;
  } cases[] = {
      {"Parameters", FaultRule::Kind(FaultKind::Silence, 1, "=BSPD"), "Total Inertia (INER):", "(BSPD)",
       "Node 1 did not answer; the Parameters section is incomplete."},
      {"Parameters", FaultRule::Kind(FaultKind::BadChecksum, 1, "=BSPD"), "Total Inertia (INER):", "(BSPD)",
       "Node 1 gave no valid answer; the Parameters section is incomplete."},
      {"Active Program", FaultRule::Kind(FaultKind::Silence, 1, "=TR"), "----- Active Program from: ",
       "Translation Ratio:", "Node 1 did not answer; the Active Program section is incomplete."},
      {"Program: CUT", FaultRule::Kind(FaultKind::Silence, 1, std::string("l\x03", 2)), "000:       Home the axis",
       "003:  ", "Node 1 did not answer; the Program: CUT section is incomplete."},
      {"Events", FaultRule::Kind(FaultKind::Silence, 1, "T\x03"), "02:  (InActive)", "03:  (Active)",
       "Node 1 did not answer; the Events section is incomplete."},
      {"Status", FaultRule::Kind(FaultKind::Silence, 1, "I\x01"), "Kernel version: 2.07\\par \\par Node 1", "S/N : ",
       "Node 1 did not answer; the Status section is incomplete."},
      {"Status", FaultRule::Kind(FaultKind::Silence, 1, "=RERR"), "Present Faults (if any):", "'End Program'",
       "Node 1 did not answer; the Status section is incomplete."},
      {"Status", FaultRule::Kind(FaultKind::Silence, 1, std::string("}\x01", 2)), "Variables:",
       "Diagnostic History:", "Node 1 did not answer; the Status section is incomplete."},
      // A value or text the drive did not give is never printed as one.
      {"Status", FaultRule::Kind(FaultKind::Silence, 1, "FT\x02"), "Present Faults (if any):\\par ",
       "Present Faults (if any):\\par      ", "Node 1 did not answer; the Status section is incomplete."},
      {"Status", FaultRule::Kind(FaultKind::Silence, 1, "+UVB"), "Variables:\\par ", "UVB=",
       "Node 1 did not answer; the Status section is incomplete."},
  };
  talvero::sim::SimDrive& d = Drive();
  d.SetValue("FLT", "4");
  d.SetFaultText(2, "Over Current");
  ASSERT_TRUE(d.DefineUserVariable("UVB"));
  d.SetValue("UVB", "7");
  ASSERT_TRUE(StartOnLine());
  Click("#1");
  for (const Case& c : cases) {
    sim.ClearFaults();
    sim.AddFault(c.fault);
    const std::string note = c.note;
    std::string message = note;
    message.replace(message.find(" is incomplete."), 1, " of the report ");
    prompter.ExpectMessage(message, talvero::Answer::Ok);
    const std::string rtf = Section(c.item);
    EXPECT_TRUE(Contains(rtf, c.printed)) << c.item << " / " << c.notPrinted;
    EXPECT_FALSE(Contains(rtf, c.notPrinted)) << c.item;
    EXPECT_TRUE(Contains(rtf, note + "\\par }")) << c.item << " / " << c.notPrinted;
  }
  EXPECT_EQ(prompter.Boxes().back().icon, talvero::Icon::Exclamation);

  // The run ends at the cut: the sections after it send nothing and are named.
  sim.ClearFaults();
  sim.AddFault(FaultRule::Kind(FaultKind::Silence, 1, "=BSPD"));
  Choose({"Parameters", "Events", "Status"});
  prompter.ExpectMessage(
      "Node 1 did not answer; the Parameters section of the report is incomplete, and the Events and Status "
      "sections were left out.",
      talvero::Answer::Ok);
  sim.ClearLog();
  const std::string rtf = Display();
  EXPECT_FALSE(Contains(rtf, "----- Events from: ")) << "no section after the cut";
  const std::vector<std::string> sent = sim.Requests(1);
  ASSERT_FALSE(sent.empty());
  EXPECT_EQ(sent.back(), "=BSPD") << "nothing after the request that failed";
}

class AppSectionsTest : public ReportTest {
 protected:
  // An application with axes in slots 1 and 3 and a program of steps 0, 1, 5.
  void MakeApp() {
    const std::string path = (dir.path() + "/Mill{1}.APP").toStdString();
    Applic a;
    ASSERT_TRUE(a.Create(path).ok());
    ASSERT_TRUE(a.AddAxis("X", "RHO", win->ParametersRS).ok());
    ASSERT_TRUE(a.AddAxis("Gone", "RHO", win->ParametersRS).ok());
    ASSERT_TRUE(a.AddAxis("Z", "RHO", win->ParametersRS).ok());
    ASSERT_TRUE(a.DelAxis(2).ok());
    ASSERT_TRUE(a.PutParam(1, "INER", "0.5").ok());
    ASSERT_TRUE(a.AddPgm("P1").ok());
    const int16_t p = a.CurrentPgm;
    ASSERT_TRUE(a.UpdatePgmStep(p, 0, "ACL 100").ok());
    ASSERT_TRUE(a.UpdatePgmStep(p, 1, "MA 10,5").ok());
    ASSERT_TRUE(a.UpdatePgmStep(p, 5, "WT 0.5").ok());
    ASSERT_TRUE(a.UpdateSettings(p, "Cuts {edges} \\ 2\xC2\xB2", "2", "mm").ok());
    // An older file that lacks a parameter.
    ASSERT_TRUE(a.Database()->Execute("DELETE FROM \"AXIS:X\" WHERE Name = 'MPOL'").ok());
    a.AClose();
    ASSERT_TRUE(win->OpenAnApp(path));
  }
};

TEST_F(AppSectionsTest, AxisParametersAndProgram) {
  ASSERT_TRUE(Start());
  MakeApp();
  ASSERT_TRUE(win->AppSelected);
  Applic& app = *win->CurApplic;
  Choose({"Axis: X", "Pgm: P1"});
  EXPECT_EQ(Dialog().Items(), (std::vector<std::string>{"Axis: X", "Axis: Z", "Pgm: P1"})) << "the hole is skipped";
  win->StepNumbers = true;
  std::string rtf = Display();
  // The application's path has no fixed place: the golden has it as APP.
  const std::string name = reports::deRTF(app.Name);
  for (size_t at; (at = rtf.find(name)) != std::string::npos;) rtf.replace(at, name.size(), "APP");
  Golden("app_axis_and_program", rtf);
  EXPECT_TRUE(Contains(rtf, "Total Inertia (INER):                        0.5 kg-m\\'b2"));
  EXPECT_TRUE(Contains(rtf, "Description: Cuts \\{edges\\} \\\\ 2\\'b2\\par \\par "));
  EXPECT_TRUE(Contains(rtf, "000:       Acceleration = 100 mm/sec\\'b2\\par 001:  "));
  EXPECT_TRUE(Contains(rtf, "\\par 005:       Wait 0.5 sec\\par }"));
  EXPECT_TRUE(win->StepNumbers);
  EXPECT_EQ(win->UnitsName, "mm");
  EXPECT_TRUE(Contains(rtf, "Motor Pole Count (MPOL):                     0 \\par "));
  EXPECT_FALSE(app.FindParam(1, "MPOL").has_value()) << "a report never writes to the file";
  EXPECT_TRUE(Contains(rtf, "----- Axis Parameters from: APP [X]"));
  EXPECT_TRUE(Contains(rtf, "----- Axis Library Program: P1 from: APP\\par \\par \\par Translation Ratio: 2 motor"));
}

TEST_F(AppSectionsTest, TheLastAxisSlotHasItsParameters) {
  ASSERT_TRUE(Start());
  const std::string path = (dir.path() + "/Full.APP").toStdString();
  Applic a;
  ASSERT_TRUE(a.Create(path).ok());
  for (int16_t s = 1; s <= Applic::GetMaxAxis(); ++s)
    ASSERT_TRUE(a.AddAxis("A" + std::to_string(s), "RHO", win->ParametersRS).ok());
  const std::string last = "A" + std::to_string(Applic::GetMaxAxis());
  ASSERT_TRUE(a.PutParam(Applic::GetMaxAxis(), "INER", "0.75").ok());
  a.AClose();
  ASSERT_TRUE(win->OpenAnApp(path));
  Choose({"Axis: " + last});
  EXPECT_EQ(Dialog().Items().back(), "Axis: " + last);
  const std::string rtf = Display();
  EXPECT_TRUE(Contains(rtf, "----- Axis Parameters from: ")) << "the section is written";
  EXPECT_TRUE(Contains(rtf, " [" + last + "]\\par "));
  EXPECT_TRUE(Contains(rtf, "Total Inertia (INER):                        0.75 kg-m"));
}

}  // namespace
