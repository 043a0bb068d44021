// The configuration words between the drive's replies, the dialog's controls
// and the list that is sent back.
#include <gtest/gtest.h>

#include "online/model/config_words.h"

namespace online {
namespace {

std::array<std::string, kConfigWords> Replies(std::array<int64_t, kConfigWords> v) {
  std::array<std::string, kConfigWords> r;
  for (size_t i = 0; i < r.size(); ++i) {
    // The drive right-aligns its value in twelve characters.
    std::string t = std::to_string(v[i]);
    r[i] = std::string(t.size() < 12 ? 12 - t.size() : 0, ' ') + t;
  }
  return r;
}

TEST(ConfigWordsTest, EachCheckBoxShowsAndWritesItsOwnBit) {
  const struct {
    const char* caption;
    int word;
    uint32_t value;
  } table[kConfigChecks] = {
      {"Force ISP", 0, 1},
      {"DSP board is in an B700", 0, 2},
      {"Input 0 is QuickStop", 6, 1},
      {"ADC is AD7851", 6, 2},
      {"Implement 'I Squared t'", 6, 4},
      {"Implement Adaptive Control", 6, 8},
      {"Invert Current Command", 0, 4},
      {"New Power PCB", 0, 8},
      {"Force Old 'Monitor'", 0, 16},
      {"Tavrion Intelligence", 7, 1},
      {"40 KHz Switching", 0, 32},
      {"20 KHz Switching", 0, 64},
      {"Test Mode", 0, 128},
      {"Reserved", 0, 256},
      {"Reserved", 0, 512},
      {"Reserved", 0, 1024},
  };
  for (int i = 0; i < kConfigChecks; ++i) {
    SCOPED_TRACE(i);
    EXPECT_STREQ(kConfigCheckTable[size_t(i)].caption, table[i].caption);
    ConfigWords read;
    read.word[size_t(table[i].word)] = int32_t(table[i].value);
    const ConfigView shown = read.Show();
    for (int j = 0; j < kConfigChecks; ++j) EXPECT_EQ(shown.checks[size_t(j)], i == j) << j;

    ConfigView ticked;
    ticked.checks[size_t(i)] = true;
    const ConfigWords written = ConfigWords::FromView(ticked, ConfigWords{});
    for (int w = 0; w < kConfigWords; ++w)
      EXPECT_EQ(written.word[size_t(w)], w == table[i].word ? int32_t(table[i].value) : 0) << w;
  }
}

TEST(ConfigWordsTest, PairedWordsShowOnlyWhenTheyAgree) {
  // CONFIG(2) != CONFIG(3): box 1 empty, and written back untouched as 0, 0.
  ConfigWords c = ConfigWords::FromReplies(Replies({0, 24, 300, 310, 7, 7, 0, 0, 0, 0}));
  ConfigView v = c.Show();
  EXPECT_EQ(v.boxes, (std::array<std::string, 4>{"24", "", "7", "0"}));
  ConfigWords w = ConfigWords::FromView(v, c);
  EXPECT_EQ(w.word[2], 0);
  EXPECT_EQ(w.word[3], 0);
  EXPECT_EQ(w.word[4], 7);
  EXPECT_EQ(w.word[5], 7);

  // CONFIG(8) counts only with CONFIG(9) as its negation.
  c = ConfigWords::FromReplies(Replies({0, 0, 0, 0, 0, 0, 0, 0, 5, -5}));
  EXPECT_EQ(c.Show().boxes[3], "5");
  EXPECT_EQ(ConfigWords::FromView(c.Show(), c).ConfigList(), "0,0,0,0,0,0,0,0,5,-5");
  c = ConfigWords::FromReplies(Replies({0, 0, 0, 0, 0, 0, 0, 0, 5, 0}));
  EXPECT_EQ(c.Show().boxes[3], "0");
  w = ConfigWords::FromView(c.Show(), c);
  EXPECT_EQ(w.word[8], 0);
  EXPECT_EQ(w.word[9], 0);
  // The extremes compare without overflow: -(-2147483648) is not representable.
  c = ConfigWords::FromReplies(Replies({0, 0, 0, 0, 0, 0, 0, 0, -2147483648LL, 2147483647}));
  EXPECT_EQ(c.word[8], 0);
}

TEST(ConfigWordsTest, BoxTextsBecomeWholeNumbersHalvesToEven) {
  const struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"2.5", 2}, {"3.5", 4}, {"", 0}, {"  12abc", 12}, {"-7.5", -8}, {"x", 0},
      {"1e3", 1000}, {"99999999999", 2147483647}, {"-99999999999", -2147483648LL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    ConfigView v;
    v.boxes = {c.text, c.text, c.text, c.text};
    const ConfigWords w = ConfigWords::FromView(v, ConfigWords{});
    EXPECT_EQ(w.word[1], c.value);
    EXPECT_EQ(w.word[2], c.value);
    EXPECT_EQ(w.word[3], c.value);
    EXPECT_EQ(w.word[5], c.value);
    EXPECT_EQ(w.word[8], c.value);
    // CONFIG(9) is the negation, held at the largest where it has none.
    EXPECT_EQ(w.word[9], c.value == INT32_MIN ? INT32_MAX : -c.value);
  }
}

TEST(ConfigWordsTest, BitsWithoutABoxKeepTheirValue) {
  // Bit 11 and bit 31 of CONFIG(0), bit 4 of CONFIG(6), bit 1 of CONFIG(7).
  ConfigWords read = ConfigWords::FromReplies(
      Replies({int64_t(int32_t(0x80000801u)), 0, 0, 0, 0, 0, 0x13, 0x3, 0, 0}));
  ConfigView v = read.Show();
  EXPECT_TRUE(v.checks[0]);
  EXPECT_TRUE(v.checks[3]);   // CONFIG(6) bit 1
  EXPECT_TRUE(v.checks[2]);   // CONFIG(6) bit 0
  EXPECT_TRUE(v.checks[9]);   // CONFIG(7) bit 0
  v.checks = {};              // every box cleared
  v.checks[7] = true;         // CONFIG(0) bit 3
  const ConfigWords w = ConfigWords::FromView(v, read);
  EXPECT_EQ(uint32_t(w.word[0]), 0x80000808u);
  EXPECT_EQ(w.word[6], 0x10);
  EXPECT_EQ(w.word[7], 0x2);
}

TEST(ConfigWordsTest, ListAndItsPieces) {
  ConfigWords c;
  c.word = {2080, 7, 300, 300, -12, -12, 18, 3, 5, -5};
  EXPECT_EQ(c.ConfigList(), "2080,7,300,300,-12,-12,18,3,5,-5");
  EXPECT_EQ(SplitConfigList(c.ConfigList()).size(), 10u);
  EXPECT_EQ(SplitConfigList("1,,3"), (std::vector<std::string>{"1", "", "3"}));
  EXPECT_TRUE(SplitConfigList("").empty());
  EXPECT_EQ(ConfigWords::Name(9), "CONFIG(9)");
}

}  // namespace
}  // namespace online
