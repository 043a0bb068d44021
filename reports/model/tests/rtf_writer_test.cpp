// The writer's exact texts, the escaping of free text and the label padding.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "reports/model/rtf_text.h"
#include "reports/model/rtf_writer.h"

namespace reports {
namespace {

const std::string kHeader(RtfWriter::kHeader);

TEST(RtfWriter, HeaderIsTheFixedText) {
  EXPECT_EQ(kHeader.size(), 148u);
  EXPECT_EQ(kHeader,
            R"({\rtf1\ansi \deff{\fonttbl{\f0\froman\fcharset0\fprq2 Times New Roman;})"
            R"({\f1\fswiss\fcharset0\fprq2 Arial;}{\f2\froman\fcharset0\fprq2 Courier New;}})");
  EXPECT_EQ(RtfWriter().Text(), kHeader + "}") << "an empty run shows an empty document";
}

TEST(RtfWriter, EachCallAppendsItsText) {
  struct Case {
    const char* what;
    std::function<void(RtfWriter&)> call;
    std::string appended;
  };
  const Case cases[] = {
      {"Add is raw", [](RtfWriter& w) { w.Add("a\\b{c}"); }, "a\\b{c}"},
      {"Bold", [](RtfWriter& w) { w.Bold(); }, "\\b "},
      {"Italic", [](RtfWriter& w) { w.Italic(); }, "\\i "},
      {"Bullet", [](RtfWriter& w) { w.Bullet(); }, "\\bullet "},
      {"Center", [](RtfWriter& w) { w.Center(); }, "\\qc "},
      {"NoCenter", [](RtfWriter& w) { w.NoCenter(); }, "\\ql "},
      {"Normal", [](RtfWriter& w) { w.Normal(); }, "\\plain "},
      {"Para", [](RtfWriter& w) { w.Para(); }, "\\par "},
      {"Page", [](RtfWriter& w) { w.Page(); }, ""},
      {"ChangeFont(2, 10)", [](RtfWriter& w) { w.ChangeFont(2, 10); }, "\\f2\\fs20 "},
      {"ChangeFont(1, 14)", [](RtfWriter& w) { w.ChangeFont(1, 14); }, "\\f1\\fs28 "},
      {"Dashes(0)", [](RtfWriter& w) { w.Dashes(0); }, "\\par "},
      {"Dashes(-3)", [](RtfWriter& w) { w.Dashes(-3); }, "\\par "},
      {"Dashes(2)", [](RtfWriter& w) { w.Dashes(2); }, "\\emdash \\emdash \\par "},
      {"two lines, last LF", [](RtfWriter& w) { w.DumpDelimitedString("ab\ncd\n"); }, "ab\\par cd\\par "},
      {"two lines, no last LF", [](RtfWriter& w) { w.DumpDelimitedString("ab\ncd"); }, "ab\\par cd"},
      {"CR stays in its piece", [](RtfWriter& w) { w.DumpDelimitedString("ab\r\n"); }, "ab\r\\par "},
      {"empty line", [](RtfWriter& w) { w.DumpDelimitedString("\n"); }, "\\par "},
      {"empty text", [](RtfWriter& w) { w.DumpDelimitedString(""); }, ""},
  };
  for (const Case& c : cases) {
    RtfWriter w;
    c.call(w);
    EXPECT_EQ(w.Text(), kHeader + c.appended + "}") << c.what;
  }
  RtfWriter w;
  w.Dashes(30);
  std::string thirty;
  for (int i = 0; i < 30; ++i) thirty += "\\emdash ";
  EXPECT_EQ(w.Buffer(), kHeader + thirty + "\\par ");
}

TEST(RtfWriter, ClearTextResetsOnlyInPrintModeZapAlways) {
  RtfWriter w;
  w.DisplayMode = true;
  w.Add("one");
  w.ClearText();
  EXPECT_EQ(w.Buffer(), kHeader + "one") << "display runs collect their sections";
  w.Zap();
  EXPECT_EQ(w.Buffer(), kHeader);
  w.DisplayMode = false;
  w.Add("two");
  w.ClearText();
  EXPECT_EQ(w.Buffer(), kHeader);
  w.Add("three");
  w.Zap();
  EXPECT_EQ(w.Buffer(), kHeader);
}

TEST(DeRtf, EscapesWhatWouldActAsRtf) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"C:\\apps\\line", "C:\\\\apps\\\\line"},
      {"{x}", "\\{x\\}"},
      {"kg-m\xC2\xB2", "kg-m\\'b2"},          // ² is in Windows-1252
      {"\xE2\x82\xAC" "5", "\\'805"},          // € is byte 0x80 there
      {"\xCE\xA9", "\\u937?"},                  // Ω is not
      {"\xF0\x9F\x98\x80", "\\u-10179?\\u-8704?"},  // beyond 16 bits: a surrogate pair
      {"a\tb", "a\\tab b"},
      {std::string("a\0b\x07" "c", 5), "abc"},  // control characters dropped
      {"a\r\nb", "a\r\nb"},                     // line ends kept
      {"\xB2", "\\'b2"},                        // not UTF-8: taken as Windows-1252
      {"plain text 1.5", "plain text 1.5"},
  };
  for (const Case& c : cases) EXPECT_EQ(deRTF(c.in), c.out) << c.in;
  EXPECT_EQ(deRTF1252("\xB2\x80{"), "\\'b2\\'80\\{") << "drive text is Windows-1252";
}

TEST(PadTo, PadsShortLabelsKeepsLongOnes) {
  EXPECT_EQ(PadTo("ab", 5), "ab   ");
  EXPECT_EQ(PadTo(std::string(45, 'x'), 45), std::string(45, 'x'));
  EXPECT_EQ(PadTo(std::string(50, 'x'), 45), std::string(50, 'x')) << "a longer label comes back whole";
  EXPECT_EQ(PadTo("m\xC2\xB2", 4), "m\xC2\xB2  ") << "characters are counted, not bytes";
}

}  // namespace
}  // namespace reports
