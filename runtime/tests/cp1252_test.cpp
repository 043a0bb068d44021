#include <gtest/gtest.h>

#include <cstring>

#include "runtime/cp1252.h"

namespace {

TEST(Cp1252, EveryByteSurvivesTheRoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += char(b);
  const auto back = rt::Utf8ToCp1252(rt::Cp1252ToUtf8(all));
  ASSERT_TRUE(back.has_value());
  EXPECT_EQ(*back, all);
}

TEST(Cp1252, BytesBecomeTheirCharacters) {
  const std::pair<const char*, const char*> cases[] = {
      {"abc", "abc"},
      {"\x80", "\xE2\x82\xAC"},      // euro sign
      {"\x81", "\xC2\x81"},          // undefined byte: control character of its number
      {"\x9D", "\xC2\x9D"},
      {"\x9F", "\xC5\xB8"},          // Y with diaeresis
      {"\xE9", "\xC3\xA9"},
      {"\xFF", "\xC3\xBF"},
      {"Fr\xE4se", "Fr\xC3\xA4se"},
  };
  for (const auto& [bytes, utf8] : cases) {
    SCOPED_TRACE(utf8);
    EXPECT_EQ(rt::Cp1252ToUtf8(bytes), utf8);
    EXPECT_EQ(rt::Utf8ToCp1252(utf8), std::optional<std::string>(bytes));
    // One character for each byte the drive gets.
    EXPECT_EQ(rt::CharCount(utf8), std::strlen(bytes));
  }
}

TEST(Cp1252, RefusesWhatHasNoByteOrIsNotUtf8) {
  const char* bad[] = {
      "\xC4\x80",          // U+0100: not in the code page
      "\xC2\x80",          // U+0080: byte 0x80 is the euro sign
      "\xF0\x9F\x98\x80",  // outside the basic plane
      "\xC3",              // cut short
      "\xC3\x28",          // bad continuation
      "\xC0\xAF",          // overlong
      "\xED\xA0\x80",      // surrogate
      "\xE9",              // a bare Windows-1252 byte is not UTF-8
  };
  for (const char* s : bad) EXPECT_FALSE(rt::Utf8ToCp1252(std::string("ok") + s).has_value());
}

TEST(Cp1252, TheFirstCharacterWithoutAByteIsFound) {
  EXPECT_EQ(rt::FirstWithoutCp1252("caf\xC3\xA9 5\xE2\x82\xAC"), std::nullopt);
  EXPECT_EQ(rt::FirstWithoutCp1252("R=5\xE2\x84\xA6 \xC4\x80"), std::optional<std::string>("\xE2\x84\xA6"));
  EXPECT_EQ(rt::FirstWithoutCp1252("ok \xE9"), std::optional<std::string>("\xE9"));  // a bare byte
}

}  // namespace
