#include <gtest/gtest.h>

#include <map>

#include "platform/ui/scripted_prompter.h"
#include "store/applic.h"
#include "store/library_database.h"
#include "store/tests/fixture_library.h"
#include "store/threads_mod.h"

namespace {

using talvero::Answer;

struct FakeList : ThreadsMod::EventList {
  struct Row {
    std::string text;
    bool on;
  };
  std::vector<Row> rows;
  std::vector<bool> busy;
  int tab0 = 0;
  void SetBusy(bool b) override { busy.push_back(b); }
  void Clear() override { rows.clear(); }
  void SetTabWidth(int column, int width) override {
    if (column == 0) tab0 = width;
  }
  void AddRow(const std::string& text, bool on) override { rows.push_back({text, on}); }
  void SetRowText(int row, const std::string& text) override { rows.at(size_t(row)).text = text; }
  void SetRowPicture(int row, bool on) override { rows.at(size_t(row)).on = on; }
};

// A drive that keeps event texts and a mask; it may refuse to switch some on.
struct FakeDrive : ThreadsMod::EventDrive {
  std::map<int, std::string> texts;
  uint16_t mask = 0;
  uint16_t stuckOff = 0;
  std::vector<std::string> log;
  std::string GetThread(int i) override { return texts.count(i) ? texts[i] : ""; }
  uint16_t GetThreadStat() override { return mask; }
  bool SetThread(int i, const std::string& text) override {
    log.push_back("T" + std::to_string(i) + "," + text);
    texts[i] = text;
    return true;
  }
  bool Exec(const std::string& command) override {
    log.push_back(command);
    int i = command.back() - '0';
    if (command.rfind("UTE,", 0) == 0 && !((stuckOff >> i) & 1)) mask |= uint16_t(1 << i);
    if (command.rfind("UTD,", 0) == 0) mask &= uint16_t(~(1 << i));
    return true;
  }
};

struct ScriptedEditor : ThreadsMod::EventEditor {
  ThreadsMod::EventEdit reply;
  ThreadsMod::EventEdit given;
  ThreadsMod::EventEdit DoEdit(const ThreadsMod::EventEdit& start) override {
    given = start;
    return reply;
  }
};

class ThreadsModTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store_test::OpenLibrary(dir_ / "lib.KOV", lib_);
    if (HasFatalFailure()) return;
    display_.UnitsName = "inch";
    ThreadsMod::Bind(lib_->ThreadsRS.get(), &display_);
    for (int i = 0; i < ThreadsMod::kEvents; ++i) ThreadsMod::SetEventOp(i, -1);
  }
  void TearDown() override {
    ThreadsMod::Bind(nullptr, nullptr);
    EXPECT_TRUE(prompter_.Failures().empty()) << prompter_.Failures().front();
  }
  void MakeApp() {
    ASSERT_TRUE(app_.Create(dir_ / "A.APP"));
    ASSERT_TRUE(app_.AddAxis("X", "RHO", lib_->ParametersRS.get()));
  }

  store_test::TempDir dir_;
  std::unique_ptr<LibraryDatabase> lib_;
  DisplayContext display_;
  talvero::ScriptedPrompter prompter_;
  Applic app_;
};

TEST_F(ThreadsModTest, EventCodec) {
  struct Case {
    std::string text;
    int16_t op;
    std::string p1, p2, display;
  } cases[] = {
      {"IN3,SUB1", 1, "3", "SUB1", "02: When input 3 is on, run SUB1"},
      {"TM100,L2", 2, "100", "L2", "02: Every 100 ms, run L2"},
      {"F[4]", 3, "4", "", "02: Flag 4 set"},  // "[" stands for itself here too
      {"POS>1.5", 4, "1.5", "", "02: Stop past 1.5 inch"},
      {"FLT", 5, "", "", "02: Fault"},
      {"NOTHING", -1, "", "", "02: <empty>"},  // no raw form: the event stays empty
      {"F4]", -1, "", "", "02: <empty>"},
  };
  for (const Case& c : cases) {
    ThreadsMod::SetEventOp(2, -1);
    ThreadsMod::SetEventP1(2, "");
    ThreadsMod::SetEventP2(2, "");
    ThreadsMod::DecodeEvent(2, c.text);
    EXPECT_EQ(ThreadsMod::GetEventOp(2), c.op) << c.text;
    EXPECT_EQ(ThreadsMod::GetEventP1(2), c.p1) << c.text;
    EXPECT_EQ(ThreadsMod::GetEventP2(2), c.p2) << c.text;
    EXPECT_EQ(ThreadsMod::DecompEvent(2), c.display);
    EXPECT_EQ(ThreadsMod::EncodeEvent(2), c.op < 0 ? "" : c.text);
  }
  EXPECT_EQ(ThreadsMod::DecompEvent(4), "04: <empty>");
  EXPECT_EQ(ThreadsMod::DecompEvent(10), "");
  EXPECT_EQ(ThreadsMod::EncodeEvent(-1), "");

  // One pass over the template: an operand holding "~2" stays as typed.
  ThreadsMod::SetEventOp(1, 1);
  ThreadsMod::SetEventP1(1, "~2");
  ThreadsMod::SetEventP2(1, "~u");
  EXPECT_EQ(ThreadsMod::EncodeEvent(1), "IN~2,~u");
  EXPECT_EQ(ThreadsMod::DecompEvent(1), "01: When input ~2 is on, run ~u");
}

TEST_F(ThreadsModTest, ReadingAnApplicationAxisShowsItsEventsAndWritesNothing) {
  MakeApp();
  ASSERT_TRUE(app_.PutParam(1, ":E2", "TM5,L1"));
  ASSERT_TRUE(app_.PutParam(1, ":E3", " "));
  auto rowsBefore = (*app_.Database()->OpenRecordset("AXIS:X"))->RecordCount();
  // A drive's events read before: none of them may show through an empty slot.
  FakeDrive drive;
  drive.texts = {{0, "FLT"}, {3, "IN1,L9"}, {9, "F[4]"}};
  drive.mask = 0b1000001001;
  FakeList list;
  ThreadsMod::ReadEvents({nullptr, 0, &drive}, list);
  ASSERT_EQ(list.rows[3].text, "03: When input 1 is on, run L9");
  ThreadsMod::ReadEvents({&app_, 1, nullptr}, list);
  ASSERT_EQ(list.rows.size(), 10u);
  EXPECT_EQ(list.rows[2].text, "02: Every 5 ms, run L1");
  for (int i : {0, 1, 3, 9}) EXPECT_EQ(list.rows[size_t(i)].text, "0" + std::to_string(i) + ": <empty>");
  for (const auto& r : list.rows) EXPECT_FALSE(r.on);
  for (int i = 0; i < ThreadsMod::kEvents; ++i) {
    EXPECT_FALSE(ThreadsMod::IsEventActive(i)) << i;
    EXPECT_EQ(ThreadsMod::EncodeEvent(i), i == 2 ? "TM5,L1" : "") << i;
  }
  EXPECT_EQ(list.tab0, 240);
  EXPECT_EQ(list.busy, (std::vector<bool>{true, false, true, false}));
  EXPECT_EQ((*app_.Database()->OpenRecordset("AXIS:X"))->RecordCount(), rowsBefore);
}

TEST_F(ThreadsModTest, ReadingADriveTakesTheMaskForThePictures) {
  FakeDrive drive;
  drive.texts = {{0, "FLT"}, {2, "IN1,L9"}, {5, "JUNK"}};
  drive.mask = 0b101;
  FakeList list;
  ThreadsMod::ReadEvents({nullptr, 0, &drive}, list);
  ASSERT_EQ(list.rows.size(), 10u);
  EXPECT_EQ(list.rows[0].text, "00: Fault");
  EXPECT_EQ(list.rows[2].text, "02: When input 1 is on, run L9");
  EXPECT_EQ(list.rows[5].text, "05: <empty>");
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(list.rows[size_t(i)].on, i == 0 || i == 2) << i;
    EXPECT_EQ(ThreadsMod::IsEventActive(i), i == 0 || i == 2) << i;
  }
}

TEST_F(ThreadsModTest, EditingAnApplicationEventStoresItsDriveText) {
  MakeApp();
  FakeList list;
  ThreadsMod::EventAxis axis{&app_, 1, nullptr};
  ThreadsMod::ReadEvents(axis, list);
  ScriptedEditor editor;
  editor.reply = {2, "10", "L3", true, false, false};
  ThreadsMod::EditEvent(axis, list, editor, 1);
  EXPECT_FALSE(editor.given.enableAllowed);
  EXPECT_FALSE(editor.given.enabled);
  EXPECT_EQ(editor.given.op, -1);
  EXPECT_EQ(app_.FindParam(1, ":E1"), std::optional<std::string>("TM10,L3"));
  EXPECT_EQ(list.rows[1].text, "01: Every 10 ms, run L3");
  EXPECT_FALSE(list.rows[1].on);

  // Emptied: stored as one blank, read back as empty.
  editor.reply = {-1, "", "", false, false, false};
  ThreadsMod::EditEvent(axis, list, editor, 1);
  EXPECT_EQ(app_.FindParam(1, ":E1"), std::optional<std::string>(" "));
  ThreadsMod::ReadEvents(axis, list);
  EXPECT_EQ(list.rows[1].text, "01: <empty>");

  // Cancelled, or a row outside 0..9: nothing happens.
  editor.reply = {5, "", "", false, false, true};
  ThreadsMod::EditEvent(axis, list, editor, 4);
  editor.reply.cancelled = false;
  ThreadsMod::EditEvent(axis, list, editor, 10);
  ThreadsMod::EditEvent(axis, list, editor, -1);
  EXPECT_EQ(app_.FindParam(1, ":E4"), std::nullopt);
  EXPECT_EQ(list.rows[4].text, "04: <empty>");

  // Too long for the file: refused with a message, the view keeps the old event.
  ASSERT_TRUE(app_.PutParam(1, ":E6", "FLT"));
  ThreadsMod::ReadEvents(axis, list);
  editor.reply = {1, std::string(30, '7'), "L1", false, false, false};
  prompter_.ExpectMessageContaining("Can't store event 6: value too long", Answer::Ok);
  ThreadsMod::EditEvent(axis, list, editor, 6);
  EXPECT_EQ(app_.FindParam(1, ":E6"), std::optional<std::string>("FLT"));
  EXPECT_EQ(list.rows[6].text, "06: Fault");
  EXPECT_EQ(ThreadsMod::GetEventOp(6), 5);
}

TEST_F(ThreadsModTest, EditingADriveEventSendsItAndTheDriveDecidesTheFlag) {
  FakeDrive drive;
  drive.texts = {{3, "FLT"}};
  drive.mask = 0b1000;
  drive.stuckOff = 0b10;
  FakeList list;
  ThreadsMod::EventAxis axis{nullptr, 0, &drive};
  ThreadsMod::ReadEvents(axis, list);

  ScriptedEditor editor;
  editor.reply = {4, "12", "", true, true, false};
  ThreadsMod::EditEvent(axis, list, editor, 3);
  EXPECT_TRUE(editor.given.enableAllowed);
  EXPECT_TRUE(editor.given.enabled);
  EXPECT_EQ(editor.given.op, 5);
  EXPECT_EQ(drive.log, (std::vector<std::string>{"T3,POS>12", "UTE,3"}));
  EXPECT_EQ(list.rows[3].text, "03: Stop past 12 inch");
  EXPECT_TRUE(list.rows[3].on);

  // Switched on, but the drive keeps it off.
  drive.log.clear();
  editor.reply = {5, "", "", true, true, false};
  ThreadsMod::EditEvent(axis, list, editor, 1);
  EXPECT_EQ(drive.log, (std::vector<std::string>{"T1,FLT", "UTE,1"}));
  EXPECT_FALSE(list.rows[1].on);
  EXPECT_FALSE(ThreadsMod::IsEventActive(1));

  ThreadsMod::EnableEvent(drive, list, 3, false);
  EXPECT_EQ(drive.log.back(), "UTD,3");
  EXPECT_FALSE(list.rows[3].on);
  EXPECT_FALSE(ThreadsMod::IsEventActive(3));
}

}  // namespace
