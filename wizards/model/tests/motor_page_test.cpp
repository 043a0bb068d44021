// The servo motor page: the motor list, the page each row gives, the
// feedback side and the values kept for the write-back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/dao/database.h"
#include "store/library_database.h"
#include "wizards/model/motor_library.h"
#include "wizards/model/motor_page.h"
#include "wizards/model/tests/table_axis.h"

namespace {

using wizards::MotorPage;

std::unique_ptr<LibraryDatabase> Library() {
  auto lib = LibraryDatabase::Open(std::string(std::getenv("TALVERO_BIN")) + "/KOVdata.KOV");
  EXPECT_TRUE(lib.ok()) << lib.error;
  return std::move(*lib);
}

std::vector<std::string> Shown(const MotorPage& p) {
  std::vector<std::string> v;
  for (int i = 0; i < 9; ++i) v.push_back(p.box[size_t(i)].visible ? p.box[size_t(i)].text : "-");
  return v;
}

TEST(MotorLibraryTest, ListsInTableOrderAndFindsByName) {
  for (const std::string& row : wizards::ServoFixedRows()) EXPECT_EQ(row.size(), 34u) << row;
  auto lib = Library();
  const auto servo = wizards::MotorNames(*lib->MotorsRS, false);
  ASSERT_EQ(servo.size(), 11u);  // 17 rows with the six fixed ones
  EXPECT_EQ(servo.front(), "SM-23-05-Y");
  EXPECT_EQ(servo.back(), "AC-20-150-E");
  EXPECT_EQ(wizards::MotorNames(*lib->MotorsRS, true),
            (std::vector<std::string>{"ST-17-03-N", "ST-23-08-E", "ST-34-30-E"}));
  auto m = wizards::FindMotor(*lib->MotorsRS, "SM-23-05-Y");
  ASSERT_TRUE(m);
  EXPECT_EQ(wizards::FieldText(m->inertia), "1.2E-05");
  EXPECT_EQ(m->feedback, "Y");
  EXPECT_FALSE(wizards::FindMotor(*lib->MotorsRS, "sm-23-05-y")) << "names compare exactly";
  EXPECT_FALSE(wizards::FindMotor(*lib->MotorsRS, "SM-23-05"));
}

TEST(MotorLibraryTest, StepperOnlyCatalogueAndNullFields) {
  const auto path = std::filesystem::temp_directory_path() / ("wizards_motors_" + std::to_string(::getpid()) + ".db");
  std::filesystem::remove(path);
  auto db = talvero::dao::Database::Create(path.string());
  ASSERT_TRUE(db.ok()) << db.error;
  ASSERT_TRUE((*db)->Execute("CREATE TABLE Motors (Type TEXT, APN TEXT, inertia REAL, kt_bspd REAL,"
                             " P1 REAL, P2 REAL, p3 REAL, p4 REAL, p5 REAL, ic REAL, feedp INTEGER,"
                             " mpol INTEGER, feedback TEXT);"
                             "INSERT INTO Motors (Type, APN, ic) VALUES ('ST', 'S1', 1.5), ('ST', 'S2', NULL);")
                  .ok());
  auto rs = (*db)->OpenRecordset("Motors");
  ASSERT_TRUE(rs.ok()) << rs.error;
  EXPECT_TRUE(wizards::MotorNames(**rs, false).empty());  // six rows only
  auto m = wizards::FindMotor(**rs, "S2");
  ASSERT_TRUE(m);
  EXPECT_EQ(m->ic, 0.0f);
  EXPECT_EQ(m->feedback, "");
  rs->reset();
  db->reset();
  std::filesystem::remove(path);
}

TEST(MotorPageTest, CurrentSettingsPageByDriveMode) {
  struct Case { const char* dm; const char* type; std::vector<std::string> boxes; };
  const Case cases[] = {
      {"0", "Type: Brushless", {"8", "0.0001", "0.500", "-", "-", "-", "-", "2.5", "4000"}},
      {"1", "Type: Brushless", {"8", "0.0001", "0.500", "-", "-", "-", "-", "2.5", "4000"}},
      {"2", "Type: Induction", {"8", "0.0001", "3000.0", "2.4", "0.5", "0.1", "0.1", "2.5", "4000"}},
      {"3", "Type: DC Brush", {"-", "0.0001", "0.500", "1.200", "-", "-", "-", "2.5", "1."}},
      {"4", "Type: Brushless (Hall Only)", {"8", "0.0001", "0.500", "-", "-", "-", "-", "2.5", "4000"}},
      {"5", "Type: Brushless (Encoder Only)", {"8", "0.0001", "0.500", "-", "-", "-", "-", "2.5", "4000"}},
      {"7", "Type: Brushless", {"8", "0.0001", "0.500", "-", "-", "-", "-", "2.5", "4000"}},
  };
  for (const Case& c : cases) {
    TableAxis axis;
    axis.values = {{"DM", c.dm}, {"MPOL", "8"}, {"INER", "0.0001"}, {"KT", "0.5"}, {"IRMS", "2.5"},
                   {"BSPD", "3000"}, {"MIND", "2.4"}, {"RRES", "0.5"}, {"RFLX", "0.1"},
                   {"MFLX", "0.1"}, {"MRES", "1.2"}, {"EPPR", "4000"}, {"FBS", "1"}, {"FEED", "0"}};
    MotorPage p = wizards::DesignMotorPage();
    wizards::FillFromCurrent(p, axis);
    EXPECT_EQ(p.type, c.type) << c.dm;
    EXPECT_EQ(Shown(p), c.boxes) << c.dm;
    for (const auto& b : p.box) EXPECT_TRUE(!b.visible || b.enabled) << c.dm;
    EXPECT_EQ(p.box[1].visible && p.box[7].visible, true);
  }
  // The reads, in box order; DC reads the resistance too.
  TableAxis dc;
  dc.values = {{"DM", "3"}, {"FBS", "0"}};
  MotorPage p = wizards::DesignMotorPage();
  wizards::FillFromCurrent(p, dc);
  EXPECT_EQ(dc.reads, (std::vector<std::string>{"DM", "COFF", "INER", "KT", "MRES", "IRMS", "FBS"}));
  EXPECT_EQ(p.box[8].text, "0.01");
  EXPECT_EQ(p.caption[3], "Motor Resistance (Ohms)");
  EXPECT_EQ(p.caption[8], "V/kRPM");
  EXPECT_EQ(p.feed, wizards::kTachometer);
  EXPECT_EQ(p.feedEnabled, (std::array<bool, 3>{true, true, true}));
  EXPECT_EQ(p.ikpq, 5000.0f);
}

TEST(MotorPageTest, BrushlessFeedbackByFeed) {
  struct Case { const char* feed; int chosen; const char* caption; const char* box8; bool ctkOn; bool ctk; };
  const Case cases[] = {
      {"0", wizards::kEncoder, "Quad PPR", "4000", true, false},
      {"1", wizards::kResolver, "Pole Count", "6", false, false},
      {"2", wizards::kResolver, "Pole Count", "2", false, false},
      {"3", wizards::kEncoder, "Quad PPR", "4000", true, true},
  };
  for (const Case& c : cases) {
    TableAxis axis;
    axis.values = {{"DM", "1"}, {"FEED", c.feed}, {"EPPR", "4000"}, {"RPOL", "6"}};
    MotorPage p = wizards::DesignMotorPage();
    wizards::FillFromCurrent(p, axis);
    EXPECT_EQ(p.feed, c.chosen) << c.feed;
    EXPECT_EQ(p.caption[8], c.caption) << c.feed;
    EXPECT_EQ(p.box[8].text, c.box8) << c.feed;
    EXPECT_EQ(p.ctkEnabled, c.ctkOn) << c.feed;
    EXPECT_EQ(p.ctk, c.ctk) << c.feed;
    EXPECT_EQ(p.feedEnabled, (std::array<bool, 3>{true, true, false})) << c.feed;
    if (c.ctkOn) {
      EXPECT_EQ(p.ctkCaption, "Commutation Tracks (Z-Chan)");
    }
  }
}

TEST(MotorPageTest, KeptValuesByFamilyAndByRow) {
  TableAxis tau;
  tau.family = "TAU";
  tau.values = {{"DM", "1"}, {"COFF", "12.5"}, {"IKPQ", "4000"}};
  MotorPage p = wizards::DesignMotorPage();
  wizards::FillFromCurrent(p, tau);
  EXPECT_EQ(p.coff, 12.5f);
  EXPECT_EQ(p.ikpq, 4000.0f);
  TableAxis rho;
  rho.values = {{"DM", "1"}, {"IKPQ", "4000"}};  // no COFF: 0
  wizards::FillFromCurrent(p, rho);
  EXPECT_EQ(p.coff, 0.0f);
  EXPECT_EQ(p.ikpq, 5000.0f);
  EXPECT_EQ(std::count(rho.reads.begin(), rho.reads.end(), "IKPQ"), 0);
  // Generic rows keep them; library motors set them.
  p.coff = 7;
  wizards::FillGeneric(p, 1, rho);
  EXPECT_EQ(p.coff, 7.0f);
  auto lib = Library();
  wizards::FillLibrary(p, *wizards::FindMotor(*lib->MotorsRS, "SM-34-14-R"), rho);
  EXPECT_EQ(p.coff, 90.0f);
  EXPECT_EQ(p.ikpq, 5500.0f);
  wizards::FillLibrary(p, *wizards::FindMotor(*lib->MotorsRS, "DC-33-10-N"), rho);
  EXPECT_EQ(p.coff, 0.0f);
}

TEST(MotorPageTest, GenericRowsShowTheAxisValues) {
  TableAxis axis;
  axis.values = {{"MPOL", "4"}, {"INER", "0.0035"}, {"BSPD", "1750"}, {"MIND", "0.085"},
                 {"RRES", "0.62"}, {"RFLX", "0.58"}, {"MFLX", "0.12"}, {"IRMS", "7.5"}, {"EPPR", "2048"}};
  MotorPage p = wizards::DesignMotorPage();
  wizards::FillGeneric(p, 5, axis);
  EXPECT_EQ(p.type, "Type: Induction");
  EXPECT_EQ(Shown(p), (std::vector<std::string>{"4", "0.0035", "1750.0", "0.085", "0.62", "0.58",
                                                "0.12", "7.5", "2048"}));
  EXPECT_EQ(p.feedEnabled, (std::array<bool, 3>{true, true, false}));
  EXPECT_EQ(axis.reads, (std::vector<std::string>{"MPOL", "INER", "BSPD", "MIND", "RRES", "RFLX",
                                                  "MFLX", "IRMS", "EPPR"}));
  for (auto [row, type] : {std::pair{2, "Type: Brushless (Encoder Only)"}, {3, "Type: Brushless (Hall Only)"},
                           {4, "Type: DC Brush"}, {1, "Type: Brushless"}}) {
    wizards::FillGeneric(p, row, axis);
    EXPECT_EQ(p.type, type);
  }
}

TEST(MotorPageTest, LibraryMotorsLockThePage) {
  auto lib = Library();
  TableAxis axis;
  struct Case { const char* apn; const char* type; int feed; const char* caption8; bool ctk;
                std::vector<std::string> boxes; };
  const Case cases[] = {
      {"SM-23-05-Y", "Type: Brushless", wizards::kEncoder, "Quad PPR", true,
       {"4", "1.2E-05", "0.045", "-", "-", "-", "-", "2.1", "2000"}},
      {"SM-34-14-R", "Type: Brushless", wizards::kResolver, "Pole Count", false,
       {"6", "0.00018", "0.29", "-", "-", "-", "-", "6", "2"}},
      {"SE-23-06-E", "Type: Brushless (Encoder Only)", wizards::kEncoder, "Quad PPR", false,
       {"4", "1.5E-05", "0.06", "-", "-", "-", "-", "2.5", "1024"}},
      {"DC-33-10-N", "Type: DC Brush", wizards::kTachometer, "V/kRPM", false,
       {"-", "9E-05", "0.11", "1.8", "-", "-", "-", "3", "7"}},
      {"AC-13-75-E", "Type: Induction", wizards::kEncoder, "Quad PPR", false,
       {"4", "0.0035", "1750", "0.085", "0.62", "0.58", "0.12", "7.5", "2048"}},
  };
  for (const Case& c : cases) {
    MotorPage p = wizards::DesignMotorPage();
    wizards::FillLibrary(p, *wizards::FindMotor(*lib->MotorsRS, c.apn), axis);
    EXPECT_EQ(p.type, c.type) << c.apn;
    EXPECT_EQ(p.feed, c.feed) << c.apn;
    EXPECT_EQ(p.caption[8], c.caption8) << c.apn;
    EXPECT_EQ(p.ctk, c.ctk) << c.apn;
    EXPECT_FALSE(p.ctkEnabled) << c.apn;
    EXPECT_EQ(Shown(p), c.boxes) << c.apn;
    for (const auto& b : p.box) EXPECT_FALSE(b.visible && b.enabled) << c.apn;
    EXPECT_EQ(p.feedEnabled, (std::array<bool, 3>{false, false, false})) << c.apn;
  }
  EXPECT_TRUE(axis.reads.empty()) << "a library motor reads nothing from the axis";
  // A Type that is no servo code changes nothing.
  MotorPage p = wizards::DesignMotorPage();
  wizards::FillGeneric(p, 4, axis);
  const MotorPage before = p;
  wizards::FillLibrary(p, *wizards::FindMotor(*lib->MotorsRS, "ST-17-03-N"), axis);
  EXPECT_EQ(Shown(p), Shown(before));
  EXPECT_EQ(p.type, before.type);
}

TEST(MotorPageTest, FeedbackChoiceSetsCaptionDefaultAndTracks) {
  MotorPage p = wizards::DesignMotorPage();
  p.ctk = true;
  p.box[8].text = "2000";
  struct Case { int index; const char* caption; const char* text; bool ctkOn; };
  for (const Case& c : {Case{1, "Pole Count", "2", false}, Case{2, "V/kRPM", "3", false},
                        Case{0, "Quad PPR", "4096", true}}) {
    wizards::FeedTClick(p, c.index);
    EXPECT_EQ(p.feed, c.index);
    EXPECT_EQ(p.caption[8], c.caption);
    EXPECT_EQ(p.box[8].text, c.text);
    EXPECT_EQ(p.ctkEnabled, c.ctkOn);
    EXPECT_FALSE(p.ctk);
  }
}

}  // namespace
