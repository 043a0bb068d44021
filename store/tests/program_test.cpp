#include <gtest/gtest.h>

#include "store/library_database.h"
#include "store/program.h"
#include "store/tests/fixture_library.h"

namespace {

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    store_test::OpenLibrary(dir_ / "lib.KOV", lib_);
    if (HasFatalFailure()) return;
    display_.UnitsName = "mm";
  }
  Program MakeProgram() { return Program(lib_->StepsRS.get(), &display_); }

  store_test::TempDir dir_;
  std::unique_ptr<LibraryDatabase> lib_;
  DisplayContext display_;
};

TEST_F(ProgramTest, DecodeFindsTheFirstMatchingStepTypeAndEncodeGivesTheTextBack) {
  struct Case {
    std::string text;
    int16_t op;
    std::string p1, p2;  // p2 "0" where the step type has no second operand: it keeps its value
  } cases[] = {
      {"MA100", 1, "100", "0"},
      {"MA5", 1, "5", "0"},                 // also matches M~1 further down: the first wins
      {"MI10,-2.5", 2, "10", "-2.5"},
      {"MI5", 11, "I5", "0"},               // no comma, so not MI~1,~2
      {"M1,2", 0, "M1,2", "0"},             // a comma, but M~1 has none
      {"@LOOP", 3, "LOOP", "0"},
      {"OS3,1", 4, "3,1", "0"},             // the comma rule is waived after OS
      {"OC3,1", 14, "3,1", "0"},            // and after OC
      {"!TRK5", 6, "5", "0"},
      {"!TRK5,3", 0, "!TRK5,3", "0"},       // never a two-operand type
      {"!SWE1,2", 0, "!SWE1,2", "0"},       // like !TRK: never a two-operand type
      {"!SWE5", 16, "5", "0"},
      {"A[3]=5", 7, "3", "5"},              // "[" in a prototype stands for itself
      {"A3]=5", 0, "A3]=5", "0"},
      {"GOTO12GO3", 8, "12", "3"},          // the middle literal also stands in the leading one
      {"GOTOGO", 8, "", ""},
      {"V100", 9, "100", "0"},
      {"END", 12, "0", "0"},                // no operands: both keep their values
      {"WT(50)", 13, "50", "0"},            // the trailing literal is cut
      {"WT(50", 0, "WT(50", "0"},
      {"ma100", 0, "ma100", "0"},           // case counts
      {"X=1", 0, "X=1", "0"},
  };
  for (const Case& c : cases) {
    Program p = MakeProgram();
    p.Decode(4, c.text);
    EXPECT_EQ(p.Get_Op(4), c.op) << c.text;
    EXPECT_EQ(p.Get_p1(4), c.p1) << c.text;
    EXPECT_EQ(p.Get_p2(4), c.p2) << c.text;
    EXPECT_EQ(p.Encode(4), c.text) << "round trip";
  }
}

TEST_F(ProgramTest, DisplayTexts) {
  Program p = MakeProgram();
  for (int line = 0; line <= Program::GetMaxLines(); ++line) {
    ASSERT_EQ(p.Encode(line), "");
    ASSERT_EQ(p.Decomp(line), " ");
  }
  EXPECT_EQ(Program::GetMaxLines(), 255);

  struct Case {
    int line;
    std::string text;
    bool numbers;
    std::string display;
  } cases[] = {
      {7, "X=1", true, "007: IML \"X=1\""},
      {7, "X=1", false, "IML \"X=1\""},
      {3, "@LOOP", true, "003: LOOP:"},  // labels at the left margin
      {12, "MI10,20", false, "     Move 10 mm at 20 mm/s"},
      {255, "MA1", true, "255:      Move to 1 mm"},
  };
  for (const Case& c : cases) {
    display_.StepNumbers = c.numbers;
    p.Decode(c.line, c.text);
    EXPECT_EQ(p.Decomp(c.line), c.display);
  }
  EXPECT_EQ(p.Decomp(-1), "");
  EXPECT_EQ(p.Decomp(256), "");
  EXPECT_EQ(p.Encode(256), "");
  p.Decode(256, "MA1");  // ignored
  p.MakeEmpty(12);
  EXPECT_EQ(p.Decomp(12), " ");
  EXPECT_EQ(p.Get_p1(12), "");
}

TEST_F(ProgramTest, OperandsHoldingPlaceholdersAreNotRewritten) {
  Program p = MakeProgram();
  p.Set_Op(2, 0);
  p.Set_p1("~2", 0);
  p.Set_p2("~u", 0);
  EXPECT_EQ(p.Encode(0), "MI~2,~u");
  EXPECT_EQ(p.Decomp(0), "     Move ~2 mm at ~u mm/s");
  p.Decode(1, p.Encode(0));
  EXPECT_EQ(p.Get_Op(1), 2);
  EXPECT_EQ(p.Get_p1(1), "~2");
  EXPECT_EQ(p.Get_p2(1), "~u");
}

TEST_F(ProgramTest, AccessorsTakeTheValueFirstAndIgnoreLinesOutOfRange) {
  Program p = MakeProgram();
  EXPECT_EQ(p.Get_Op(0), -1);
  EXPECT_EQ(p.Get_p1(0), "0");
  EXPECT_EQ(p.Get_p2(0), "0");
  p.Set_Op(9, 17);
  p.Set_p1("250", 17);
  EXPECT_EQ(p.Encode(17), "V250");
  p.Set_Op(9, 300);
  p.Set_p1("x", -1);
  EXPECT_EQ(p.Get_Op(300), -1);
  EXPECT_EQ(p.Get_p1(-1), "");
}

}  // namespace
