#include "scope/model/picture_files.h"

#include <gtest/gtest.h>

#include <set>

namespace scope {
namespace {

const talvero::LocalDateTime kAt{1998, 11, 5, 5, 14, 32, 7};

TEST(PictureFiles, NamesFromOneClockReading) {
  auto n = MetafileNames("/opt/t", kAt, "Axis1", {});
  EXPECT_EQ(n.first, "/opt/t/9811051432U Axis1.WMF");
  EXPECT_EQ(n.second, "/opt/t/9811051432L Axis1.WMF");
  auto y2k = MetafileNames("d", {2026, 1, 2, 6, 3, 4, 0}, "X", {});
  EXPECT_EQ(y2k.first, "d/2601020304U X.WMF");
}

TEST(PictureFiles, DriveTextIsMadeSafeForAFileName) {
  EXPECT_EQ(SafeFilePart("a/b\\c\td\x7f" "e"), "a_b_c_d_e");
  auto n = MetafileNames("/t", kAt, "../etc/x", {});
  EXPECT_EQ(n.first, "/t/9811051432U .._etc_x.WMF");
}

TEST(PictureFiles, ASecondExportInTheMinuteGetsTheNextFreeSuffixOnBothNames) {
  std::set<std::string> present = {"/t/9811051432U A.WMF", "/t/9811051432L A.WMF", "/t/9811051432L A~2.WMF"};
  auto exists = [&](const std::string& p) { return present.count(p) > 0; };
  auto n = MetafileNames("/t", kAt, "A", exists);
  EXPECT_EQ(n.first, "/t/9811051432U A~3.WMF");  // ~2 is taken by the lower one
  EXPECT_EQ(n.second, "/t/9811051432L A~3.WMF");
}

TEST(PictureFiles, PageLayoutOfLetterAt600Dpi) {
  const PageLayout l = LayoutPage(5100, 6600);
  EXPECT_EQ(l.mx, 255);
  EXPECT_EQ(l.my, 330);
  EXPECT_EQ(l.width, 4590);
  EXPECT_EQ(l.height, 2970);
  const PageLayout a4 = LayoutPage(4961, 7016);  // A4 at 600 dpi: rounded margins
  EXPECT_EQ(a4.mx, 248);
  EXPECT_EQ(a4.my, 351);
  EXPECT_EQ(a4.height, 3157);
}

}  // namespace
}  // namespace scope
