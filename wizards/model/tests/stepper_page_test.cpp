// The stepper page: its three filling states, the feedback choice, and the
// 21 writes in their pictures.
#include <gtest/gtest.h>

#include <cstdlib>

#include "store/library_database.h"
#include "wizards/model/stepper_page.h"
#include "wizards/model/tests/table_axis.h"

namespace {

using wizards::StepperPage;

std::vector<std::string> Boxes(const StepperPage& p) {
  std::vector<std::string> v;
  for (int i : {0, 2, 3, 5, 7, 8, 9}) v.push_back(p.box[size_t(i)].text);
  return v;
}
std::vector<std::string> Written(const StepperPage& p) {
  std::vector<std::string> v;
  for (const auto& w : wizards::StepperWrites(p)) v.push_back(w.name + "=" + w.value);
  return v;
}

TEST(StepperPageTest, GenericCurrentAndLibraryStates) {
  for (const std::string& row : wizards::StepperFixedRows()) EXPECT_EQ(row.size(), 34u);
  TableAxis axis;
  axis.values = {{"DM", "0"}, {"MRSN", "400"}, {"MCSV", "7.5"}, {"IKP", "1.25"}, {"MCG", "0.5"},
                 {"IC", "2.5"}, {"THC", "1"}, {"EPPR", "4000"}};
  StepperPage p = wizards::DesignStepperPage();
  // Current, no encoder: None chosen, the box locked but showing the present EPPR.
  wizards::StepperFill(p, true, nullptr, axis);
  EXPECT_EQ(axis.reads, (std::vector<std::string>{"DM", "MRSN", "MCSV", "IKP", "MCG", "IC", "THC", "EPPR"}));
  EXPECT_TRUE(p.FromCurrent);
  EXPECT_FALSE(p.encoder);
  EXPECT_FALSE(p.box[9].enabled);
  EXPECT_EQ(Boxes(p), (std::vector<std::string>{"400", "7.50", "1.3", "0.5", "2.50", "1.0", "4000"}));
  EXPECT_EQ(Written(p)[0], "DM=0");
  EXPECT_EQ(Written(p)[6], "EPPR=4000");
  axis.values["DM"] = "1";
  wizards::StepperFill(p, true, nullptr, axis);
  EXPECT_TRUE(p.encoder);
  EXPECT_TRUE(p.box[9].enabled);

  // Generic: the table's values, no encoder until it is chosen.
  axis.reads.clear();
  wizards::StepperFill(p, false, nullptr, axis);
  EXPECT_TRUE(axis.reads.empty());
  EXPECT_EQ(Boxes(p), (std::vector<std::string>{"200", "5.00", "1.0", "0.0", "1.00", "0.0", "0"}));
  EXPECT_FALSE(p.box[9].enabled);
  EXPECT_FALSE(p.mp9CaptionEnabled);
  wizards::StepperFeedTClick(p, 0);
  EXPECT_TRUE(p.box[9].enabled);
  wizards::StepperFeedTClick(p, 1);
  EXPECT_FALSE(p.box[9].enabled);
  EXPECT_EQ(Written(p),
            (std::vector<std::string>{"DM=0", "MRSN=200", "MCSV=5.00", "IKP=1.0", "MCG=0.0", "THC=0.0",
                                      "EPPR=0", "IC=1.00", "IP=1.00", "ACC=1000", "DEC=1000",
                                      "OSPD=20000", "EM=0", "FBF=500", "DCV=0", "VFF=0", "VFI=0",
                                      "FBS=1.0", "DCM=0", "CM=2", "PET=0"}));
  // Typed text that is no number writes 0 in its picture.
  p.box[2].text = "fast";
  EXPECT_EQ(Written(p)[2], "MCSV=0.00");

  // Library: everything locked, the options too.
  auto lib = LibraryDatabase::Open(std::string(std::getenv("TALVERO_BIN")) + "/KOVdata.KOV");
  ASSERT_TRUE(lib.ok());
  auto e = wizards::FindMotor(*(*lib)->MotorsRS, "ST-23-08-E");
  wizards::StepperFill(p, false, &*e, axis);
  EXPECT_TRUE(p.FromLibrary);
  EXPECT_TRUE(p.encoder);
  EXPECT_EQ(p.feedEnabled, (std::array<bool, 2>{false, false}));
  for (int i : {0, 2, 3, 5, 7, 8, 9}) EXPECT_FALSE(p.box[size_t(i)].enabled) << i;
  EXPECT_TRUE(p.mp9CaptionEnabled);
  wizards::StepperFeedTClick(p, 0);
  EXPECT_FALSE(p.box[9].enabled) << "stays locked";
  auto w = Written(p);
  EXPECT_EQ(std::vector<std::string>(w.begin(), w.begin() + 9),
            (std::vector<std::string>{"DM=1", "MRSN=200", "MCSV=45.00", "IKP=2.0", "MCG=1.0",
                                      "THC=2.0", "EPPR=1000", "IC=2.80", "IP=2.80"}));
  auto n = wizards::FindMotor(*(*lib)->MotorsRS, "ST-17-03-N");
  wizards::StepperFill(p, false, &*n, axis);
  EXPECT_FALSE(p.encoder);
  w = Written(p);
  EXPECT_EQ(w[0], "DM=0");
  EXPECT_EQ(w[6], "EPPR=0");
  EXPECT_EQ(w[7], "IC=1.70");
  for (int hidden : {1, 4, 6}) EXPECT_FALSE(p.box[size_t(hidden)].visible);
}

}  // namespace
