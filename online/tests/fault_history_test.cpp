// The fault history's records, rows, details and titles.
#include <gtest/gtest.h>

#include "online/model/fault_history.h"

using namespace talvero::online;

TEST(FaultHistory, ParsesSixFieldsAndKeepsCommasOfTheFreeText) {
  auto r = ParseFaultRecord("33,257,4608,1500.25,0.5,12, 10:42, day 3 ");
  ASSERT_TRUE(r);
  EXPECT_EQ(r->faults, 33u);
  EXPECT_EQ(r->inputs, 1);        // low 8 bits
  EXPECT_EQ(r->outputs, 512);     // low 12 bits of 4608
  EXPECT_DOUBLE_EQ(r->velocity, 1500.25);
  EXPECT_DOUBLE_EQ(r->current, 0.5);
  EXPECT_EQ(r->step, 12);
  EXPECT_EQ(r->text, "10:42, day 3");

  EXPECT_FALSE(ParseFaultRecord(""));
  EXPECT_FALSE(ParseFaultRecord("1,2,3,4,5"));   // five commas
  EXPECT_FALSE(ParseFaultRecord("1,2,3,4,5,6"));  // five commas, six fields
  ASSERT_TRUE(ParseFaultRecord("1,0,0,0,0,-1,"));
  EXPECT_EQ(ParseFaultRecord("1,0,0,0,0,-1,")->text, "");
}

TEST(FaultHistory, DetailGoldens) {
  FaultHistoryRecord r;
  r.outputs = 1 << 9;  // only bit 9
  r.velocity = 1499.96;
  r.current = 0.756;
  r.step = 7;
  EXPECT_EQ(FaultDetailText(r, 1),
            "No Inputs were active.\n"
            "Outputs active: 10\n"
            "Velocity: 1500.0 RPM\n"
            "Current Command: 76% of peak\n"
            "Step: 007");

  r.inputs = 0x81;
  r.outputs = 0x801;
  r.velocity = -3;
  r.current = 0;
  r.step = -1;
  EXPECT_EQ(FaultDetailText(r, 1),
            "Inputs active: 1 8\n"
            "Outputs active: 1 12\n"
            "Velocity: -3.0 RPM\n"
            "Current Command: 0% of peak");
  EXPECT_EQ(FaultDetailText(r, 0).substr(0, 18), "Inputs active: 0 7");
}

TEST(FaultHistory, RowsAndTitles) {
  EXPECT_EQ(FaultRowText(0, "Over current", "10:42"), "000: Over current @ 10:42");
  EXPECT_EQ(FaultRowText(479, "Feedback loss", ""), "479: Feedback loss");
  // The "@" and the character after it become " : ".
  EXPECT_EQ(FaultTitle("000: Over current @ 10:42"), "00: Over current  : 10:42");
  EXPECT_EQ(FaultTitle("012: Feedback loss"), "12: Feedback loss");
  EXPECT_EQ(FaultTitle("001: x @"), "01: x  : ");
  EXPECT_EQ(FaultTitle(""), "");
}
