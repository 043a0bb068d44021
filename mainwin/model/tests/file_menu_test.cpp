#include "mainwin/model/file_menu.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace talvero {
namespace {

TEST(NewAppName, RefusesNamesThatAreNoPlainFileName) {
  auto exists = [](const std::string& p) { return p == "/work/OLD.APP"; };
  struct Case {
    std::optional<std::string> answer;
    const char* outcome;  // "cancel", "refuse", or the path to create
  } cases[] = {
      {std::nullopt, "cancel"},
      {"", "cancel"},
      {"TEST", "/work/TEST.APP"},
      {"line 3", "/work/line 3.APP"},
      {"a.b", "/work/a.b.APP"},
      {"   ", "refuse"},
      {"../TEST", "refuse"},
      {"..", "refuse"},
      {"a..b", "refuse"},
      {"sub/TEST", "refuse"},
      {"sub\\TEST", "refuse"},
      {"a;b", "refuse"},
      {"a\tb", "refuse"},
      {std::string("a\nb"), "refuse"},
      {std::string("a\x7f"), "refuse"},
      {"OLD", "refuse"},  // never overwritten
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer.value_or("<cancel>"));
    auto r = CheckNewAppName(c.answer, "/work", exists);
    const std::string want = c.outcome;
    EXPECT_EQ(r.cancelled, want == "cancel");
    EXPECT_EQ(r.refusal.has_value(), want == "refuse");
    if (r.refusal) {
      EXPECT_EQ(r.refusal->icon, Icon::Critical);
    }
    EXPECT_EQ(r.path, want == "cancel" || want == "refuse" ? "" : want);
  }
}

AppSlotViews OpenSlots(std::initializer_list<std::pair<int, const char*>> open) {
  AppSlotViews v;
  for (auto [slot, path] : open) v[size_t(slot - 1)] = {true, path};
  return v;
}

TEST(SlotChoice, SameFileSelectsItsSlotAndTheSeventeenthIsRefused) {
  auto identity = [](const std::string& p) { return p; };
  auto slots = OpenSlots({{1, "/w/a.APP"}, {2, "/w/b.APP"}, {4, "/w/d.APP"}});
  auto c = ChooseSlotForOpen("/w/b.APP", slots, identity);
  EXPECT_EQ(c.kind, SlotChoiceKind::SelectOpen);
  EXPECT_EQ(c.slot, 2);
  c = ChooseSlotForOpen("/w/c.APP", slots, identity);
  EXPECT_EQ(c.kind, SlotChoiceKind::OpenInto);
  EXPECT_EQ(c.slot, 3);  // a closed slot is reused first

  AppSlotViews all;
  for (int i = 0; i < kAppSlots; ++i) all[size_t(i)] = {true, "/w/" + std::to_string(i) + ".APP"};
  for (auto choice : {ChooseSlotForOpen("/w/new.APP", all, identity), ChooseSlotForNew(all)}) {
    EXPECT_EQ(choice.kind, SlotChoiceKind::Full);
    ASSERT_TRUE(choice.message);
    EXPECT_EQ(choice.message->text, "Too many applications open; Maximum is 16.");
    EXPECT_EQ(choice.message->icon, Icon::Critical);
  }
  // Already open wins over a full table.
  EXPECT_EQ(ChooseSlotForOpen("/w/15.APP", all, identity).slot, 16);
}

TEST(SlotChoice, ComparesRealPaths) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("slot_choice_" + std::to_string(::getpid()));
  fs::create_directories(dir / "sub");
  std::ofstream(dir / "LINE.APP") << "x";
  fs::create_symlink(dir / "LINE.APP", dir / "link.APP");
  const std::string real = RealPath((dir / "LINE.APP").string());

  auto slots = OpenSlots({{5, real.c_str()}});
  for (fs::path other : {dir / "link.APP", dir / "sub" / ".." / "LINE.APP"}) {
    auto c = ChooseSlotForOpen(other.string(), slots);
    EXPECT_EQ(c.kind, SlotChoiceKind::SelectOpen) << other;
    EXPECT_EQ(c.slot, 5);
  }
  EXPECT_EQ(ChooseSlotForOpen((dir / "line.APP").string(), slots).kind, SlotChoiceKind::OpenInto);
  fs::remove_all(dir);
}

// The reasons of the file classes name the path too: the box names it once.
TEST(OpenAppFailure, NamesThePathOnce) {
  const std::string p = "/w/A.APP";
  const std::pair<std::string, std::string> cases[] = {
      {"can't open /w/A.APP: file is not a database", "file is not a database"},
      {"can't read /w/A.APP: Permission denied", "Permission denied"},
      {"not an application file (no table Axis): /w/A.APP", "not an application file (no table Axis)"},
      {"it is cut short (100 bytes)", "it is cut short (100 bytes)"},
      {"can't open /w/B.APP: No such file or directory", "can't open /w/B.APP: No such file or directory"},
  };
  for (const auto& [why, reason] : cases) EXPECT_EQ(OpenAppFailure(p, why), "Can't open application /w/A.APP: " + reason);
}

TEST(AxisQuestion, AsksWithOkAndCancel) {
  auto q = DeleteAxisQuestion("X1");
  EXPECT_EQ(q.text, "Really delete X1?");
  EXPECT_EQ(q.buttons, Buttons::OkCancel);
  EXPECT_EQ(q.icon, Icon::Question);
}

}  // namespace
}  // namespace talvero
