// Owner drawing checked on the pixels of a grab of the item area.
#include <QFontInfo>
#include <QPainter>
#include <gtest/gtest.h>

#include "listbox/legacy_faces.h"
#include "listbox/tests/ctrl_fixture.h"

namespace tivolen::test {
namespace {

const QColor kRed(255, 0, 0), kNavy(0, 0, 128), kWhite(255, 255, 255), kYellow(255, 255, 128);
// The gap the window shows between a cut text and the next column, in pixels.
constexpr int kGapShown = 4;

// 16 x 16, red with a white square (the transparent colour) at 4..11.
PicturePtr RedWithWhiteHole() {
  QImage img(16, 16, QImage::Format_RGB32);
  img.fill(kRed);
  for (int y = 4; y < 12; ++y)
    for (int x = 4; x < 12; ++x) img.setPixelColor(x, y, kWhite);
  return Picture::Bitmap(img);
}

class Drawing : public testing::Test {
 protected:
  void SetUp() override {
    ctrl = MakeControl();
    ctrl->PutProperty(kDispNumTabs, ShortValue(3));
    ctrl->PutProperty(kDispBackColor, QVariant::fromValue<uint>(ToOleColor(kYellow)));
    Add(*ctrl, "sel\tcolumn two", {QVariant::fromValue(pic)});
    Add(*ctrl, "plain\tcolumn two", {QVariant::fromValue(pic)});
    Add(*ctrl, "default picture");
    ctrl->PutProperty(kDispListIndex, ShortValue(0));
    ctrl->show();
  }
  QImage Grab() { return ctrl->ListWindow()->viewport()->grab().toImage(); }
  // A strip of a row between two x positions, inside its 2-pixel margins.
  QRect Band(int row, int left, int width) const {
    const QRect r = ctrl->ListWindow()->ItemRect(row);
    return QRect(left, r.top() + 2, width, r.height() - 4);
  }
  // Item rows are 20 pixels: the picture's 16 + 4.
  QColor At(const QImage& img, int row, int x, int y) { return img.pixelColor(x, row * 20 + y); }
  bool HasColour(const QImage& img, int row, QRect area, QColor c) { return HasColourIn(img, area.translated(0, row * 20), c); }
  // Any pixel off the background: text, however it was smoothed.
  static bool HasInk(const QImage& img, QRect area, QColor background) {
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        if (img.pixelColor(x, y) != background) return true;
    return false;
  }
  static bool HasColourIn(const QImage& img, QRect area, QColor c) {
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        // Text is smoothed: a pixel close to the colour counts.
        if (std::abs(img.pixelColor(x, y).red() - c.red()) + std::abs(img.pixelColor(x, y).green() - c.green()) +
                std::abs(img.pixelColor(x, y).blue() - c.blue()) < 100)
          return true;
    return false;
  }
  std::unique_ptr<TivolenCtrl> ctrl;
  PicturePtr pic = RedWithWhiteHole();
};

TEST_F(Drawing, SelectedAndNormalRowsWithRecolouredPictures) {
  const QImage img = Grab();
  if (qEnvironmentVariableIsSet("LISTBOX_GRAB")) img.save(qEnvironmentVariable("LISTBOX_GRAB"));
  ASSERT_EQ(ctrl->ListWindow()->ItemHeight(0), 20);
  // Picture column 0 at (2, 2) in each row.
  EXPECT_EQ(At(img, 0, 3, 3), kRed);
  EXPECT_EQ(At(img, 0, 10, 10), kNavy);  // transparent shows the selected background
  EXPECT_EQ(At(img, 0, 150, 1), kNavy);
  EXPECT_EQ(At(img, 1, 3, 3), kRed);
  EXPECT_EQ(At(img, 1, 10, 10), kYellow);  // and the normal background
  EXPECT_EQ(At(img, 1, 150, 1), kYellow);
  // Column 1 starts at the first tab stop (64): selected text white, normal black.
  EXPECT_TRUE(HasColour(img, 0, QRect(64, 2, 60, 14), kWhite));
  EXPECT_TRUE(HasColour(img, 1, QRect(64, 2, 60, 14), Qt::black));
  EXPECT_FALSE(HasColour(img, 1, QRect(20, 2, 40, 14), Qt::black));  // nothing between the columns
  // No DefPicture: the third row shows no picture.
  EXPECT_EQ(At(img, 2, 3, 3), kYellow);
}

TEST_F(Drawing, ChangingPicTransColorRecoloursAtOnce) {
  ctrl->PutProperty(kDispPicTransColor, QVariant::fromValue<uint>(ToOleColor(kRed)));
  const QImage img = Grab();
  EXPECT_EQ(At(img, 0, 3, 3), kNavy);
  EXPECT_EQ(At(img, 0, 10, 10), kWhite);
  EXPECT_EQ(At(img, 1, 3, 3), kYellow);
}

TEST_F(Drawing, BackColorRebuildsTheNormalPicture) {
  ctrl->PutProperty(kDispBackColor, QVariant::fromValue<uint>(ToOleColor(QColor(0, 200, 200))));
  const QImage img = Grab();
  EXPECT_EQ(At(img, 1, 10, 10), QColor(0, 200, 200));
  EXPECT_EQ(At(img, 0, 10, 10), kNavy);
}

TEST_F(Drawing, SelectedBackColorRebuildsTheSelectedPicture) {
  ctrl->PutProperty(kDispSelectedBackColor, QVariant::fromValue<uint>(ToOleColor(QColor(0, 128, 0))));
  const QImage img = Grab();
  EXPECT_EQ(At(img, 0, 10, 10), QColor(0, 128, 0));
  EXPECT_EQ(At(img, 0, 150, 1), QColor(0, 128, 0));
}

TEST_F(Drawing, DefPictureStandsInForItemsWithoutOne) {
  QImage blue(16, 16, QImage::Format_RGB32);
  blue.fill(Qt::blue);
  ctrl->PutProperty(kDispDefPicture, QVariant::fromValue(Picture::Bitmap(blue)));
  EXPECT_EQ(At(Grab(), 2, 3, 3), QColor(Qt::blue));
}

TEST_F(Drawing, PictureInAnotherColumn) {
  ctrl->PutProperty(kDispPictureTab, ShortValue(2));
  const QImage img = Grab();
  const int x = ctrl->TabStops()[1];
  EXPECT_EQ(At(img, 1, x + 1, 3), kRed);
  EXPECT_NE(At(img, 1, 3, 3), kRed);
}

TEST_F(Drawing, APictureWithoutAHeightIsDrawnAsA32HimetricSquare) {
  QImage red(16, 16, QImage::Format_RGB32);
  red.fill(kRed);
  auto flat = Picture::Bitmap(red);
  flat->himetricHeight = 0;
  ctrl->PutProperty(kDispListPicture, QVariant::fromValue(flat), {ShortValue(2)});
  const QImage img = Grab();
  EXPECT_EQ(At(img, 2, 2, 2), kRed);  // 32 HIMETRIC: one pixel at 96 dots per inch
  EXPECT_EQ(At(img, 2, 5, 2), kYellow);
  EXPECT_EQ(At(img, 2, 2, 5), kYellow);
}

TEST_F(Drawing, DisabledTextIsGrey) {
  ctrl->PutProperty(kDispEnabled, ShortValue(0));
  const QImage img = Grab();
  EXPECT_TRUE(HasColour(img, 1, QRect(64, 2, 60, 14), QColor(128, 128, 128)));
  EXPECT_FALSE(HasColour(img, 1, QRect(64, 2, 60, 14), Qt::black));
}

TEST_F(Drawing, ATextTooLongIsCutBeforeTheNextColumnAndRunsOnWhereNoneFollows) {
  Add(*ctrl, "a text far too long for its column\tnext");
  Add(*ctrl, "a text far too long for its column");
  const QImage img = Grab();
  const int next = ctrl->TabStops()[1];  // column 2
  EXPECT_TRUE(HasInk(img, Band(3, 64, 40), kYellow));
  EXPECT_FALSE(HasInk(img, Band(3, next - kGapShown, kGapShown), kYellow));
  EXPECT_TRUE(HasInk(img, Band(3, next - kGapShown - 6, 6), kYellow)) << "cut no earlier than the gap";
  EXPECT_TRUE(HasInk(img, Band(3, next, 20), kYellow));  // the next column's own text
  EXPECT_TRUE(HasInk(img, Band(4, next - kGapShown, kGapShown + 20), kYellow));
  EXPECT_TRUE(ctrl->ItemClipped(3));
  EXPECT_FALSE(ctrl->ItemClipped(4));
  EXPECT_FALSE(ctrl->ItemClipped(1));
}

// A picture in the next column stops a long text as a text there does.
TEST_F(Drawing, ALongTextIsCutBeforeAPictureInTheNextColumn) {
  ctrl->PutProperty(kDispPictureTab, ShortValue(2));
  Add(*ctrl, "x\ta text far too long for its column", {QVariant::fromValue(pic)});
  const QImage img = Grab();
  const int picture = ctrl->TabStops()[1];
  EXPECT_TRUE(HasInk(img, Band(3, 64, 40), kYellow));
  EXPECT_FALSE(HasInk(img, Band(3, picture - kGapShown, kGapShown), kYellow));
  EXPECT_EQ(At(img, 3, picture + 1, 3), kRed);  // the picture itself, not text over it
  EXPECT_EQ(At(img, 3, picture + 8, 8), kYellow) << "its transparent middle shows the background";
  EXPECT_TRUE(ctrl->ItemClipped(3));
}

// The widths the host computes for the old faces hold only with their metric twins.
TEST(Faces, TheOldFaceNamesDrawInTheirInstalledTwins) {
  const auto ctrl = MakeControl();
  EXPECT_EQ(QFontInfo(ctrl->ControlFont()).family().toStdString(), "Liberation Sans");
  for (const auto& [face, twin] : kLegacyFaces) EXPECT_EQ(QFontInfo(QFont(face)).family().toStdString(), twin) << face;
}

// Black pixels per row inside the roll button: the arrow's shape.
std::vector<int> ArrowRows(const QImage& img, QRect button) {
  std::vector<int> rows;
  for (int y = button.top(); y <= button.bottom(); ++y) {
    int n = 0;
    for (int x = button.left(); x <= button.right(); ++x) n += img.pixelColor(x, y) == QColor(Qt::black);
    if (n) rows.push_back(n);
  }
  return rows;
}

TEST_F(Drawing, TitleBarWithCaptionSystemBoxAndRollArrow) {
  ctrl->PutProperty(kDispCaption, QString("Steps"));
  QImage img = ctrl->grab().toImage();
  const QRect sys = ctrl->SysBoxRect(), roll = ctrl->RollButtonRect();
  EXPECT_EQ(img.pixelColor(sys.left() + 1, sys.top() + 1), QColor(192, 192, 192));
  EXPECT_EQ(img.pixelColor(sys.left() + sys.width(), sys.top() + 2), QColor(Qt::black));  // the column beside it
  EXPECT_EQ(img.pixelColor(sys.left() + 4, sys.top() + 8), QColor(Qt::white));            // the bar's inside
  EXPECT_EQ(img.pixelColor(roll.left(), roll.top() + 2), QColor(Qt::white));              // raised bevel
  EXPECT_EQ(img.pixelColor(roll.right(), roll.top() + 2), QColor(128, 128, 128));
  EXPECT_EQ(img.pixelColor(40, 3), kNavy);  // the active caption
  EXPECT_TRUE(HasColour(img, 0, QRect(60, 2, 120, 14), kWhite));  // its text
  auto up = ArrowRows(img, roll);
  ASSERT_GE(up.size(), 3u);
  EXPECT_LT(up.front(), up.back());  // points up while unrolled

  ctrl->PutProperty(kDispRollUp, ShortValue(-1));
  img = ctrl->grab().toImage();
  EXPECT_EQ(img.height(), ctrl->TitleHeight());
  auto down = ArrowRows(img, ctrl->RollButtonRect());
  ASSERT_GE(down.size(), 3u);
  EXPECT_GT(down.front(), down.back());  // and down once rolled up
}

struct UserDrawSink : RecordingSink {
  void UserDrawItem(int16_t item, int16_t l, int16_t t, int16_t r, int16_t b, int16_t state, int16_t action,
                    QPainter* dc) override {
    RecordingSink::UserDrawItem(item, l, t, r, b, state, action, dc);
    dc->fillRect(QRect(QPoint(l, t), QPoint(r - 1, b - 1)), Qt::green);
  }
};

TEST_F(Drawing, UserDrawHandsEachItemToTheHost) {
  UserDrawSink sink;
  ctrl->Advise(&sink);
  ctrl->PutProperty(kDispUserDraw, ShortValue(-1));
  const QImage img = Grab();
  const int right = ctrl->ListWindow()->viewport()->width();
  EXPECT_TRUE(sink.log.contains(QString("UserDrawItem 0 0 0 %1 20 1 1 1").arg(right))) << sink.log.join("|").toStdString();
  EXPECT_TRUE(sink.log.contains(QString("UserDrawItem 1 0 20 %1 40 0 1 1").arg(right)));
  EXPECT_EQ(At(img, 0, 3, 3), QColor(Qt::green));  // the control drew no picture
  ctrl->Advise(nullptr);
}

}  // namespace
}  // namespace tivolen::test
