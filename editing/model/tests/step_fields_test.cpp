// The step editor's field rules: captions with units and the checks of a
// typed operand, the same for Next and Prev.
#include "editing/model/step_fields.h"

#include <gtest/gtest.h>

namespace {

TEST(StepFields, UnitsCaption) {
  EXPECT_EQ(talvero::UnitsCaption("Speed", "mm"), "Speed [mm/sec]");
  EXPECT_EQ(talvero::UnitsCaption("Max Velocity", "mm"), "Max Velocity [mm/sec]");
  EXPECT_EQ(talvero::UnitsCaption("Target Position", "inch"), "Target Position [inch]");
  EXPECT_EQ(talvero::UnitsCaption("Acceleration", "rev"), "Acceleration [rev/sec\u00b2]");
  // Position wins over Speed; the tests are case-sensitive.
  EXPECT_EQ(talvero::UnitsCaption("Position at Speed", "mm"), "Position at Speed [mm]");
  EXPECT_EQ(talvero::UnitsCaption("speed", "mm"), "speed");
  EXPECT_EQ(talvero::UnitsCaption("Count", "mm"), "Count");
}

TEST(StepFields, ChecksInOrder) {
  const std::string k48(48, 'x'), k49(49, 'x');
  struct Case {
    int operand;
    const char* caption;
    std::string text;
    bool ok;
    std::string result;  // stored text, or the refusal
  };
  const Case cases[] = {
      {1, "Variable", "abc", true, "ABC"},
      {1, "Variable", "1AB", false, "Invalid variable name: must be alphanumeric."},
      {1, "Variable", "A-B", false, "Invalid variable name: must be alphanumeric."},
      {2, "Variable", "A-B", true, "A-B"},
      {1, "Text", "A,B", false, "Commas, colons and backslashes are not allowed in a text field."},
      {1, "Text", "a:b", false, "Commas, colons and backslashes are not allowed in a text field."},
      {1, "Text", "hello there", true, "HELLO THERE"},
      {1, "IML Command", k48 + "", true, k48},
      {1, "IML Command", "mixed Case, free", true, "mixed Case, free"},
      {1, "IML Command", k49, false, "The 1st field is limited to 48 characters"},
      // Counted as the drive gets them: one byte for each character.
      {1, "IML Command", std::string(47, 'x') + "é", true, std::string(47, 'x') + "é"},
      {2, "Speed [mm/sec]", std::string(48, 'x') + "é", false, "The 2nd field is limited to 48 characters"},
      {1, "Text", "café", true, "CAFÉ"},
      {2, "Speed [mm/sec]", k49, false, "The 2nd field is limited to 48 characters"},
      {1, "Speed [mm/sec]", "  ", false, "A valid expression is required for Speed [mm/sec]"},
      {1, "Speed [mm/sec]", "1 0", false, "A valid expression (without any spaces) is required for Speed [mm/sec]"},
      {1, "Speed [mm/sec]", "v1*2", true, "V1*2"},
      {1, "Final Position [mm]", "a b", false,
       "A valid expression (without any spaces) is required for Final Position [mm]"},
      {1, "Label", "go home", true, "GO HOME"},
      {2, "Output Mask", "a b", true, "A B"},
      {1, "Set P1 to", "a b", true, "A B"},
  };
  for (const Case& c : cases) {
    const talvero::FieldCheck r = talvero::CheckStepField(c.operand, c.caption, c.text);
    EXPECT_EQ(r.ok, c.ok) << c.caption << " / " << c.text;
    EXPECT_EQ(c.ok ? r.text : r.message, c.result) << c.caption << " / " << c.text;
  }
}

}  // namespace
