// The viewer's reader: our own output back to text and formats, and input
// it was never meant for, which must never make it fail.
#include <gtest/gtest.h>

#include <string>

#include "reports/model/rtf_reader.h"
#include "reports/model/rtf_text.h"
#include "reports/model/rtf_writer.h"

namespace reports {
namespace {

TEST(RtfReader, ReadsBackWhatTheWriterWrites) {
  RtfWriter w;
  w.ChangeFont(1, 14);
  w.Center();
  w.Bold();
  w.Add("Title");
  w.Para();
  w.Normal();
  w.ChangeFont(2, 10);
  w.Add(deRTF("a\\b {c} kg-m\xC2\xB2 \xE2\x82\xAC \xCE\xA9\tx"));
  w.Para();
  w.NoCenter();
  w.Italic();
  w.Bullet();
  w.Dashes(2);
  w.DumpDelimitedString("one\r\ntwo");

  const RtfDocument doc = ReadRtf(w.Text());
  ASSERT_EQ(doc.paragraphs.size(), 5u) << doc.PlainText();
  const RtfParagraph& title = doc.paragraphs[0];
  EXPECT_TRUE(title.centred);
  ASSERT_EQ(title.runs.size(), 1u);
  EXPECT_EQ(title.runs[0].text, "Title");
  EXPECT_EQ(title.runs[0].format, (RtfCharFormat{"Arial", 28, true, false}));

  const RtfParagraph& body = doc.paragraphs[1];
  EXPECT_TRUE(body.centred) << "centring is kept until changed";
  EXPECT_EQ(body.Text(), "a\\b {c} kg-m\xC2\xB2 \xE2\x82\xAC \xCE\xA9\tx");
  EXPECT_EQ(body.runs[0].format, (RtfCharFormat{"Courier New", 20, false, false}));

  EXPECT_FALSE(doc.paragraphs[2].centred);
  EXPECT_EQ(doc.paragraphs[2].Text(), "\xE2\x80\xA2\xE2\x80\x94\xE2\x80\x94") << "bullet, two em dashes";
  EXPECT_TRUE(doc.paragraphs[2].runs[0].format.italic);
  EXPECT_EQ(doc.paragraphs[3].Text(), "one") << "CR is ignored";
  EXPECT_EQ(doc.paragraphs[4].Text(), "two") << "the open rest is the last paragraph";
}

TEST(RtfReader, PlainGoesBackToTheDefaultFont) {
  const RtfDocument doc = ReadRtf(
      "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f0 Times New Roman;}{\\f1\\fswiss Arial;}}"
      "\\f0\\fs20\\b x\\plain y\\b0}");
  ASSERT_EQ(doc.paragraphs.size(), 1u);
  ASSERT_EQ(doc.paragraphs[0].runs.size(), 2u);
  EXPECT_EQ(doc.paragraphs[0].runs[0].format, (RtfCharFormat{"Times New Roman", 20, true, false}));
  EXPECT_EQ(doc.paragraphs[0].runs[1].format, (RtfCharFormat{"Arial", 24, false, false}));
}

TEST(RtfReader, GroupsKeepTheirFormatting) {
  const RtfDocument doc = ReadRtf("{\\rtf1 a{\\b b{\\i c}}d\\par}");
  ASSERT_EQ(doc.paragraphs.size(), 1u);
  const auto& r = doc.paragraphs[0].runs;
  ASSERT_EQ(r.size(), 4u);
  EXPECT_FALSE(r[0].format.bold);
  EXPECT_TRUE(r[1].format.bold);
  EXPECT_TRUE(r[2].format.bold && r[2].format.italic);
  EXPECT_FALSE(r[3].format.bold || r[3].format.italic);
}

TEST(RtfReader, HostileInputNeverFails) {
  struct Case {
    std::string in, text;
  };
  const Case cases[] = {
      {"", ""},
      {"}}}{{{", ""},
      {"{\\rtf1 a}}}b\\par", "ab\n"},
      {"{\\rtf1 {\\b unclosed", "unclosed\n"},
      {"{\\rtf1 {\\*\\unknowndest hidden {nested} text}shown\\par}", "shown\n"},
      {"{\\rtf1 {\\colortbl;\\red255;}\\madeupword99 x\\par}", "x\n"},
      {"{\\rtf1 \\u8364?\\u-3913?\\u937\\'3fz\\par}", "\xE2\x82\xAC\xEF\x82\xB7\xCE\xA9z\n"},
      {"{\\rtf1 \\uc2\\u937xyz\\par}", "\xCE\xA9z\n"},
      {"{\\rtf1 \\'zz\\'4", "zz\n"},
      {"\\", ""},
      {"{\\rtf1 \\fs999999999999999999 big\\par}", "big\n"},
      {"{\\rtf1 \\f77 no such font\\par}", "no such font\n"},
      {std::string(10000, '{') + "deep" + std::string(20000, '}'), "deep\n"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadRtf(c.in).PlainText(), c.text) << c.in.substr(0, 60);
}

}  // namespace
}  // namespace reports
