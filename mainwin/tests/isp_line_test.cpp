// The window's view of the link: whether a drive's program runs.
#include <gtest/gtest.h>

#include "mainwin/tests/sim_window_fixture.h"

namespace {

using talvero::sim::Family;

class IspLineTest : public SimWindowTest {};

TEST_F(IspLineTest, RunningTellsAStoppedDriveFromASilentOne) {
  AddDrive(1, Family::RHO, "KV110c", "Feed");
  ASSERT_TRUE(StartOnLine());
  MainWin& w = *win;
  EXPECT_EQ(w.Line().Running(1), std::optional<bool>(false));
  EXPECT_EQ(w.Line().Running(9), std::nullopt);
  // Saturated failure counts do not hide a real answer.
  w.Link.ErrorCount = INT16_MAX;
  w.Link.NodeErrorCount[1] = ISP::kNodeErrorCap;
  EXPECT_EQ(w.Line().Running(1), std::optional<bool>(false));
  EXPECT_EQ(w.Line().Running(9), std::nullopt);
}

}  // namespace
