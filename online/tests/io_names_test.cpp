// Pin names, lamp counts, the I/O word rules and the toggle answer.
#include <gtest/gtest.h>

#include "online/model/io_names.h"

using namespace talvero::online;

TEST(IONames, InputsByFamilyPrefixAndNumber) {
  struct Case {
    const char *family, *prefix;
    int n;
    const char* text;
  };
  const Case cases[] = {
      {"RHO", "", 0, "J1-1"},          {"RHO", "", 7, "J1-8"},
      {"TAU", "", 0, "J1-1,2 [Enable]"}, {"TAU", "", 1, "J1-3,4 [Reset]"},
      {"TAU", "", 2, "J1-5,6"},        {"TAU", "", 6, "J1-13,14"},
      {"PHI", "KV", 0, "J1-5 [Enable]"}, {"PSI", "SX", 0, "J1-5 [Enable]"},
      {"PHI", "KZ", 3, "J1-8"},        {"PSI", "", 4, "J1-9,10 [HSI1]"},
      {"PHI", "KV", 5, "J1-11,12 [HSI2]"}, {"PSI", "", 6, "J1-13,14 [HSI2]"},
      {"PHI", "KV", 7, "J2-5"},        {"PHI", "KZ", 8, "J2-6"},
      {"PSI", "", 7, "J1-15"},         {"PSI", "", 8, "J1-16"},
      {"PSI", "", 9, ""},              {"PHI", "KV", 9, ""},
      {"XYZ", "KV", 0, ""},            {"", "", 0, ""},
      {"rho", "", 0, ""},              {"RHO", "", -1, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(INname(c.family, c.prefix, c.n), c.text) << c.family << " " << c.prefix << " " << c.n;
}

TEST(IONames, OutputsByFamilyPrefixAndNumber) {
  struct Case {
    const char *family, *prefix;
    int n;
    const char* text;
  };
  const Case cases[] = {
      {"RHO", "", 0, "J1-13"},          {"RHO", "", 11, "J1-24"},
      {"TAU", "", 0, "J1-15,16"},       {"TAU", "", 1, "J1-17,18"},
      {"TAU", "", 2, "J1-19,20 [Foldback]"}, {"TAU", "", 3, "J1-21,22 [OK]"},
      {"PHI", "KV", 0, "J1-23,24 [OK]"}, {"PSI", "", 1, "J1-21,22 [Foldback]"},
      {"PSI", "", 2, "J1-19,20"},       {"PSI", "", 3, "J1-17,18"},
      {"PHI", "KV", 2, "J2-1,2"},       {"PHI", "KZ", 2, "J1-19,20"},
      {"PHI", "kv", 2, ""},             {"PHI", "QD", 2, ""},
      {"PHI", "kv", 3, "J2-3,4"},       {"PHI", "KZ", 3, "J2-3,4"},
      {"PHI", "KV", 4, ""},             {"PSI", "", 4, ""},
      {"XYZ", "KV", 0, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(OUTname(c.family, c.prefix, c.n), c.text) << c.family << " " << c.prefix << " " << c.n;
}

TEST(IONames, LampCountsAndToggleRange) {
  struct Case {
    const char *family, *prefix;
    int inputs, outputs, toggle;
  };
  const Case cases[] = {
      {"RHO", "RS", 8, 12, 8}, {"TAU", "TA", 7, 4, 7}, {"PHI", "KZ", 7, 3, 7}, {"PHI", "KV", 9, 4, 7},
      {"PHI", "kv", 0, 0, 7},  {"PSI", "SX", 9, 4, 9}, {"XYZ", "KV", 0, 0, 0}, {"", "", 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.family) + " " + c.prefix);
    EXPECT_EQ(IOCounts(c.family, c.prefix).inputs, c.inputs);
    EXPECT_EQ(IOCounts(c.family, c.prefix).outputs, c.outputs);
    EXPECT_EQ(ToggleInputs(c.family), c.toggle);
  }
}

TEST(IOWords, LeadingNumberHalfEvenAndSaturation) {
  const std::pair<const char*, int32_t> cases[] = {
      {"5", 5},   {"  12abc", 12}, {"abc", 0},           {"", 0},       {"2.5", 2},
      {"3.5", 4}, {"-1", -1},      {"1e20", 2147483647}, {"-1e20", INT32_MIN}};
  for (const auto& [text, v] : cases) EXPECT_EQ(ReadWord(text), v) << text;
}

TEST(IOWords, SwatchAndForceRules) {
  struct Case {
    int32_t state, off, on;
    Swatch swatch;
  };
  const Case cases[] = {{0, 0, 0, Swatch::Off},       {1, 0, 0, Swatch::On},
                        {1, 1, 0, Swatch::ForcedOff}, {0, 0, 1, Swatch::ForcedOn},
                        {0, 1, 1, Swatch::ForcedOff}, {1, 1, 1, Swatch::ForcedOff}};
  for (const Case& c : cases) EXPECT_EQ(SwatchFor(c.state << 3, c.off << 3, c.on << 3, 3), c.swatch);

  // Output 11 forced on: into the on mask, out of the off mask, the rest kept.
  ForceMasks m = ApplyForce(Force::On, 2048 | 5, 6, 11);
  EXPECT_EQ(m.forcedOff, 5);
  EXPECT_EQ(m.forcedOn, 2048 | 6);
  m = ApplyForce(Force::Off, 5, 2048 | 6, 11);
  EXPECT_EQ(m.forcedOff, 2048 | 5);
  EXPECT_EQ(m.forcedOn, 6);
  m = ApplyForce(Force::None, 2048 | 5, 2048 | 6, 11);
  EXPECT_EQ(m.forcedOff, 5);
  EXPECT_EQ(m.forcedOn, 6);
  // A negative mask keeps its other bits.
  m = ApplyForce(Force::None, -1, 0, 0);
  EXPECT_EQ(m.forcedOff, -2);
}

TEST(IOWords, ToggleAnswers) {
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"1", 1},   {" 3 ", 3}, {"2.5", 2}, {"3.5", 4}, {"9", 9},  {"10", std::nullopt},
      {"abc", std::nullopt}, {"0", std::nullopt}, {"-1", std::nullopt}, {"99999999999", std::nullopt},
      {"0.4", std::nullopt}, {"9.5", std::nullopt}};
  for (const auto& [text, v] : cases) EXPECT_EQ(ToggleAnswer(text, 9), v) << text;
  EXPECT_EQ(ToggleAnswer("8", 8), 8);
  EXPECT_EQ(ToggleAnswer("8", 7), std::nullopt);
  EXPECT_EQ(ToggleAnswer("1", 0), std::nullopt);
}
