#include "mainwin/model/tree_key.h"

#include <gtest/gtest.h>

namespace {

struct KeyCase {
  const char* text;
  const char* kind;
  std::vector<int> numbers;
  const char* parent;  // "" for a root
  const char* fixedText;  // "" when the text comes from data
  const char* picture;
};

const KeyCase kKeys[] = {
    {"!SY", "!SY", {}, "", "Connected Application", "applic"},
    {"!AP", "!AP", {}, "", "Applications", "applic"},
    {"#5", "#", {5}, "!SY", "", "axis"},
    {"#0", "#", {0}, "!SY", "", "axis"},
    {"PA31", "PA", {31}, "#31", "Parameters", "par"},
    {"SU4", "SU", {4}, "PA4", "Modes", "doc"},
    {"SM4", "SM", {4}, "PA4", "Motor", "doc"},
    {"SF4", "SF", {4}, "PA4", "Feedback", "doc"},
    {"SC4", "SC", {4}, "PA4", "Command", "doc"},
    {"TU4", "TU", {4}, "PA4", "Tuning", "doc"},
    {"MO4", "MO", {4}, "PA4", "", "doc"},
    {"TH4", "TH", {4}, "#4", "Events", "pgm"},
    {"PP4", "PP", {4}, "#4", "Active Program", "pgm"},
    {"PL4", "PL", {4}, "#4", "Program Library", "pgmlib"},
    {"LE4,17", "LE", {4, 17}, "PL4", "", "pgm"},
    {"LE4,0", "LE", {4, 0}, "PL4", "", "pgm"},
    {"SS4", "SS", {4}, "#4", "Status", "diag"},
    {"AP16", "AP", {16}, "!AP", "", "applic"},
    {"PR-2", "PR", {-2}, "AP2", "Program Library", "pgmlib"},
    {"PR-2,64", "PR", {-2, 64}, "PR-2", "", "doc"},
    {"AX-3,2", "AX", {-3, 2}, "AP2", "", "axis"},
    {"PA-3,2", "PA", {-3, 2}, "AX-3,2", "Parameters", "par"},
    {"TU-16,1", "TU", {-16, 1}, "PA-16,1", "Tuning", "doc"},
    {"OT-1,1", "OT", {-1, 1}, "PA-1,1", "", "doc"},
    {"EV-3,2", "EV", {-3, 2}, "AX-3,2", "Events", "doc"},
};

TEST(TreeKey, ParsesFormatsAndPlacesEveryKind) {
  for (const auto& c : kKeys) {
    SCOPED_TRACE(c.text);
    auto key = TreeKey::Parse(c.text);
    ASSERT_TRUE(key.has_value());
    EXPECT_EQ(key->kind, c.kind);
    EXPECT_EQ(key->numbers, c.numbers);
    EXPECT_EQ(key->Format(), c.text);
    EXPECT_EQ(key->ParentKey().value_or(""), c.parent);
    EXPECT_EQ(key->FixedText().value_or(""), c.fixedText);
    EXPECT_EQ(key->PictureKey(), c.picture);
  }
}

TEST(TreeKey, RefusesMalformedKeys) {
  const char* bad[] = {
      "", "#", "!sy", "!SY1", "XX4", "pa4", "P", "PA", "PA-", "PA 4", " PA4", "PA4 ",
      "PA+4", "PA04", "PA-0,1", "PA4,", "PA,4", "PA4,5,6", "PA1x", "PAx", "#32", "#-1",
      "#4,1", "LE4", "LE4,128", "LE4,-1", "AP0", "AP17", "AP-1", "PR2", "PR-17",
      "PR-2,0", "PR-2,65", "AX3,2", "AX-3", "AX-17,1", "AX-3,17", "EV-3,0", "TH-1,1",
      "SS4,1", "PA-3,0", "PA99999999999", "#4\n",
  };
  for (const char* text : bad) {
    SCOPED_TRACE(text);
    EXPECT_FALSE(TreeKey::Parse(text).has_value());
  }
}

}  // namespace
