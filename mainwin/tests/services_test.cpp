#include <gtest/gtest.h>

#include <map>

#include "mainwin/drive_search.h"
#include "mainwin/shared_services.h"
#include "mainwin/version.h"

namespace mainwin {
namespace {

TEST(Services, CleanShortensOnlyLongPathsWithTwoSeparators) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\Work\\Apps\\Line3.APP", "...\\Apps\\Line3.APP"},
      {"C:\\A.APP", "C:\\A.APP"},
      {"C:\\averyveryverylongname.APP", "C:\\averyveryverylongname.APP"},
      {"C:\\abcdefgh\\x.AP", "...\\x.AP"},  // exactly 16 characters
      {"C:\\abcdefg\\x.AP", "C:\\abcdefg\\x.AP"},  // 15
      {"/home/user/apps/line3", "/home/user/apps/line3"},
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(Clean(in), out) << in;
}

TEST(Services, FamilyMatchIsASubstringTestAndEmptyMatchesNothing) {
  const struct {
    const char* codes;
    const char* code;
    bool match;
  } cases[] = {{"PSI", "PSI", true}, {"TAU", "PSI", false}, {"RHOTAU", "TAU", true},
               {"PSI", "", false},   {"", "", false},       {"psi", "PSI", false}};
  for (const auto& c : cases) EXPECT_EQ(FamilyMatches(c.codes, c.code), c.match) << c.codes << "/" << c.code;
}

TEST(Services, PlotColourSetIsStoredAtOnceUnderItsIndex) {
  std::map<std::string, std::string> saved;
  PlotColours colours([&](const std::string& k, const std::string& v) { saved[k] = v; });
  colours.Load(1, 16777215);
  EXPECT_TRUE(saved.empty());
  colours.PSCol(12, 255);
  EXPECT_EQ(colours.PCol(12), 255);
  EXPECT_EQ(colours.PCol(1), 16777215);
  EXPECT_EQ(colours.PCol(0), 0);
  EXPECT_EQ(saved, (std::map<std::string, std::string>{{"12", "255"}}));
  // Out of the table: ignored, nothing stored.
  colours.PSCol(17, 5);
  colours.PSCol(-1, 5);
  EXPECT_EQ(colours.PCol(17), 0);
  EXPECT_EQ(saved.size(), 1u);
}

TEST(Services, NodeTablesAnswerEmptyOutsideTheirNodes) {
  NodeTables t;
  t.driveText[5] = "KV110i Lift (Node 5)";
  t.serial[5] = "Serial # 1234";
  t.kernel[5] = "Kernel version: 2.1";
  t.family[5] = "TAU";
  EXPECT_EQ(t.SerialandVersion(5, 1), "Serial # 1234");
  EXPECT_EQ(t.SerialandVersion(5, 2), "Kernel version: 2.1");
  EXPECT_EQ(t.SerialandVersion(5, 0), "Kernel version: 2.1");
  EXPECT_EQ(t.DriveText(5), "KV110i Lift (Node 5)");
  for (int bad : {-1, 32, 1000}) {
    EXPECT_EQ(t.DriveText(bad), "");
    EXPECT_EQ(t.SerialandVersion(bad, 1), "");
    EXPECT_FALSE(t.IsSimple(bad));
  }
  t.ClearDriveTexts();
  EXPECT_EQ(t.DriveText(5), "");
  EXPECT_EQ(t.Family(5), "TAU");  // the family stays until the node answers again
}

TEST(Services, IdentityReplies) {
  const struct {
    const char* reply;
    bool present;
    const char* family;
    const char* model;
  } cases[] = {
      {"!TAUKV110i/d", true, "TAU", "KV110i/d"},
      {"!PSI", true, "PSI", ""},
      {"!RH", true, "RH", ""},
      {"", false, "", ""},
      {"?TAUKV110", false, "", ""},
      {" !TAU", false, "", ""},
  };
  for (const auto& c : cases) {
    DriveIdentity id = ParseIdentity(c.reply);
    EXPECT_EQ(id.present, c.present) << c.reply;
    EXPECT_EQ(id.family, c.family) << c.reply;
    EXPECT_EQ(id.model, c.model) << c.reply;
  }
  EXPECT_EQ(DriveText("KV110i/d", "Lift", 5), "KV110i/d Lift (Node 5)");
}

TEST(Services, KernelTextIsTheKernelLineOnly) {
  const std::pair<const char*, const char*> cases[] = {
      {"Firmware 3.1\nKernel version: 2.07\nBuilt 2001", "Kernel version: 2.07"},
      {"Boot 1 Kernel version: 9", "Kernel version: 9"},
      {"Kernel version: 4.4", "Kernel version: 4.4"},
      {"Firmware 3.1", "Kernel version: unknown"},
      {"", "Kernel version: unknown"},
      {"kernel version: 1", "Kernel version: unknown"},
  };
  for (const auto& [info, kernel] : cases) EXPECT_EQ(KernelText(info), kernel) << info;
}

TEST(Services, VersionTextHasNoLeadingZeros) {
  EXPECT_EQ(VersionText({3, 3, 11}), "Version 3.3 Build 11");
  EXPECT_EQ(VersionText({3, 0, 0}), "Version 3.0 Build 0");
}

class LibraryLine : public DriveQueries {
 public:
  std::vector<std::string> names;
  int asked = 0;
  std::string WhoAmI(int) override { return ""; }
  std::string GetDriveName(int) override { return ""; }
  std::string GetSerial(int) override { return ""; }
  std::string Info(int, int) override { return ""; }
  std::string GetPgmName(int, int slot) override {
    ++asked;
    return slot < int(names.size()) ? names[slot] : "";
  }
};

TEST(Services, LibraryListStopsAtTheFirstEmptySlotAndHidesTheSavedProgram) {
  const struct {
    std::vector<std::string> names;
    std::vector<std::pair<int, std::string>> listed;
    int asked;
  } cases[] = {
      {{"$$SAVE$$", "~~~~~~~~", "LOST"}, {}, 2},
      {{"HOME    ", "$$SAVE$$", " PICK 2 ", "~~~~~~~~"}, {{0, "HOME"}, {2, "PICK 2"}}, 4},
      {{"A", "   ", "B"}, {{0, "A"}}, 2},
      {{}, {}, 1},
  };
  for (const auto& c : cases) {
    LibraryLine line;
    line.names = c.names;
    EXPECT_EQ(ListLibrary(line, 3), c.listed);
    EXPECT_EQ(line.asked, c.asked);
  }
  LibraryLine full;
  full.names.assign(200, "P");
  EXPECT_EQ(ListLibrary(full, 1).size(), size_t(kLibrarySlots));
  EXPECT_EQ(full.asked, kLibrarySlots);
}

}  // namespace
}  // namespace mainwin
