// The tuning figures and the I/O word without a window.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "runtime/cstr.h"
#include "store/library_database.h"
#include "wizards/model/axis_port.h"
#include "wizards/model/io_functions.h"
#include "wizards/model/tune_gains.h"

namespace {

using wizards::IoFunctions;
using wizards::IoRow;

TEST(TuneGainsTest, DefaultsAsWrittenForTwoInertias) {
  struct Case { float iner; const char *kp, *ki; };
  for (const Case& c : {Case{0.001f, "0.04398226", "2.356193"}, {0.0001f, "0.004398226", "0.2356192"},
                        // No inertia computes as 0.01.
                        {0.0f, "0.4398226", "23.56192"}, {-1.0f, "0.4398226", "23.56192"}}) {
    const wizards::TuneGains g = wizards::ComputeGains(c.iner, 70, 150, 80, 5);
    EXPECT_EQ(rt::CStrSingle(g.KP), c.kp) << c.iner;
    EXPECT_EQ(rt::CStrSingle(g.KI), c.ki) << c.iner;
    EXPECT_EQ(rt::CStrSingle(g.KF), "0.8");
    EXPECT_EQ(rt::CStrSingle(g.PPG), "5");
  }
}

TEST(TuneGainsTest, InertiaClassInWholeNumbers) {
  const std::map<double, int> cases = {{10, 0},    {299, 0},   {299.99, 0}, {300, 1},   {899, 1},
                                       {900, 2}, {1000, 2}, {2700, 3},   {8100, 4},  {24300, 5},
                                       {72900, 5}, {1e9, 5}};
  for (auto [r, x] : cases) EXPECT_EQ(wizards::InertiaClass(r), x) << r;
  const int max[] = {300, 900, 2700, 8100, 24300, 72900}, tick[] = {4, 12, 36, 108, 324, 972};
  for (int x = 0; x <= 5; ++x) {
    EXPECT_EQ(wizards::ResponseMax(x), max[x]);
    EXPECT_EQ(wizards::ResponseTick(x), tick[x]);
  }
}

TEST(TuneGainsTest, SlidersFromAnAxisGains) {
  struct Case { float iner, kp, ki, kf; bool recognised; int d, r, x; };
  const Case cases[] = {
      {0.001f, 0.043982f, 2.35619f, 0.8f, true, 70, 150, 0},   // the servo set-up's gains
      {0.001f, 0.293215f, 104.7198f, 0.8f, true, 70, 1000, 2},
      {0.0001f, 10, 0.5f, 0, false, 90, 219, 0},              // a drive at its defaults
      {0.001f, 0.043982f, 0.001f, 0.8f, false, 90, 10, 0},    // response below 10
      {0.001f, 0.0001f, 2.35619f, 0.8f, false, 10, 150, 0},   // damping below 10
      {0.001f, 1000, 1e7f, 0.8f, false, 90, 72900, 5},        // beyond the last class
      {0.001f, 0.043982f, 2.35619f, 1.5f, false, 70, 150, 0}, // KF above 1
      {0.001f, 0.043982f, 2.35619f, -0.1f, false, 70, 150, 0},
      {0.001f, 0.043982f, -1, 0.8f, false, 90, 10, 0},        // no square root
  };
  for (const Case& c : cases) {
    const wizards::TuneSliders s = wizards::SlidersFromGains(c.iner, c.kp, c.ki, c.kf);
    EXPECT_EQ(s.recognised, c.recognised) << c.kp << " " << c.ki;
    EXPECT_EQ(s.damping, c.d) << c.kp << " " << c.ki;
    EXPECT_EQ(s.response, c.r) << c.kp << " " << c.ki;
    EXPECT_EQ(s.inertiaClass, c.x) << c.kp << " " << c.ki;
  }
  EXPECT_EQ(wizards::FeedForwardFromKF(0.125f), 12);
  EXPECT_EQ(wizards::FeedForwardFromKF(0.375f), 38);
}

TEST(TuneGainsTest, ReadOuts) {
  EXPECT_EQ(wizards::DampingLabel(70), "Damping (1.40)");
  EXPECT_EQ(wizards::DampingLabel(10), "Damping (0.20)");
  EXPECT_EQ(wizards::DampingLabel(90), "Damping (1.80)");
  EXPECT_EQ(wizards::ResponseLabel(150), "Response (23.9)");
  EXPECT_EQ(wizards::ResponseLabel(1000), "Response (159.2)");
  EXPECT_EQ(wizards::ResponseLabel(300), "Response (47.7)");
  EXPECT_EQ(wizards::ResponseLabel(72900), "Response (11602.4)");
  EXPECT_EQ(wizards::FeedForwardLabel(80), "Feedforward Gain (80%)");
  EXPECT_EQ(wizards::FeedForwardLabel(0), "Feedforward Gain (0%)");
}

// The axis of one family.
class FamilyAxis : public wizards::AxisPort {
 public:
  explicit FamilyAxis(std::string family) : family_(std::move(family)) {}
  std::string Read(const std::string&) override { return "0"; }
  bool IsFamily(const std::string& code) override { return !family_.empty() && code.find(family_) != std::string::npos; }

 private:
  std::string family_;
};

class IoFunctionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto lib = LibraryDatabase::Open(std::string(std::getenv("TALVERO_BIN")) + "/KOVdata.KOV");
    ASSERT_TRUE(lib.ok()) << lib.error;
    library = std::move(*lib);
  }
  std::vector<IoRow> Rows(const std::string& family) {
    FamilyAxis axis(family);
    return io.Load(*library->IORS, wizards::IOTableKey(axis));
  }
  std::unique_ptr<LibraryDatabase> library;
  IoFunctions io;
};

TEST_F(IoFunctionsTest, KeysAndRowsPerFamily) {
  const std::map<std::string, std::pair<std::string, size_t>> cases = {
      {"RHO", {"RHO", 9}}, {"TAU", {"TAUI", 7}}, {"PHI", {"PHII", 8}}, {"PSI", {"PSII", 9}}, {"XYZ", {"", 0}},
      {"", {"", 0}}};
  for (const auto& [family, want] : cases) {
    FamilyAxis axis(family);
    EXPECT_EQ(wizards::IOTableKey(axis), want.first) << family;
    EXPECT_EQ(Rows(family).size(), want.second) << family;
  }
  const std::vector<IoRow> rho = Rows("RHO");
  EXPECT_EQ(rho[2].fullname, "IN 4\tPause the program");
  EXPECT_EQ(rho[2].id, 3);
}

TEST_F(IoFunctionsTest, SettlingAndSwitching) {
  struct Case { const char* family; int32_t word; int32_t settled; int switchId; int32_t after; };
  const Case cases[] = {
      {"RHO", 216, 72, 1, 73},      // pause and drive OK win; home off goes on
      {"RHO", 73, 73, 7, 137},      // brake release on takes drive OK off
      {"RHO", 72, 72, 3, 64},       // pause on goes off
      {"RHO", 2, 2, 2, 4},          // a two-bit function with one bit set flips both
      {"RHO", 6, 6, 2, 0},
      {"RHO", -1, -145, 4, -137},   // every bit: registration loses to pause
      {"PHI", 384, 128, 28, 256},   // jog forward wins over analog select
      {"PSI", 512, 512, 29, 1024},
      {"TAU", 0, 0, 26, 128},
  };
  for (const Case& c : cases) {
    const std::vector<IoRow> rows = Rows(c.family);
    int32_t word = c.word;
    io.Settle(word, rows);
    EXPECT_EQ(word, c.settled) << c.family << " " << c.word;
    EXPECT_EQ(io.Switch(word, c.switchId), c.after) << c.family << " " << c.word;
  }
  // Which rows show on, top first.
  const std::vector<IoRow> rho = Rows("RHO");
  int32_t word = 216;
  const std::vector<bool> on = io.Settle(word, rho);
  std::vector<std::string> shown;
  for (size_t i = 0; i < rho.size(); ++i)
    if (on[i]) shown.push_back(rho[i].fullname);
  EXPECT_EQ(shown, (std::vector<std::string>{"IN 4\tPause the program", "OUT 1\tDrive OK"}));
}

TEST(IoTableTest, IdsOutsideTheMasksAndNullMasks) {
  const auto path = std::filesystem::temp_directory_path() / ("wizards_io_" + std::to_string(::getpid()) + ".db");
  std::filesystem::remove(path);
  auto db = talvero::dao::Database::Create(path.string());
  ASSERT_TRUE(db.ok()) << db.error;
  ASSERT_TRUE((*db)->Execute("CREATE TABLE IO (id INTEGER, Name TEXT, fullname TEXT, Bit INTEGER, Kill INTEGER);"
                             "INSERT INTO IO VALUES (300, 'RHO', 'far', 1, 0), (-1, 'RHO', 'neg', 1, 0),"
                             " (NULL, 'RHO', 'none', 1, 0), (256, 'RHO', 'last', 4, NULL),"
                             " (0, 'RHO', 'first', NULL, 4), (5, 'rho', 'lower case', 8, 0);")
                  .ok());
  auto rs = (*db)->OpenRecordset("IO");
  ASSERT_TRUE(rs.ok()) << rs.error;
  IoFunctions io;
  const std::vector<IoRow> rows = io.Load(**rs, "RHO");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].fullname, "last");
  EXPECT_EQ(rows[1].fullname, "first");
  EXPECT_EQ(io.Kill(256), 0);
  EXPECT_EQ(io.Bit(0), 0);
  int32_t word = 4;
  EXPECT_EQ(io.Settle(word, rows), (std::vector<bool>{true, false}));
  EXPECT_EQ(io.Switch(4, 256), 0);
  EXPECT_TRUE(io.Load(**rs, "").empty());
  rs->reset();
  db->reset();
  std::filesystem::remove(path);
}

}  // namespace
