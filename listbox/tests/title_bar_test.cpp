// Title bar, roll-up, drag, system menu, tooltip and the stock mouse and key
// events, driven by mouse and key events on a hosted control.
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

#include "listbox/tests/ctrl_fixture.h"
#include "listbox/tooltip_box.h"

namespace tivolen::test {
namespace {

// A double click as the window system delivers it: press, release, press,
// double-click, release.
void DoubleClick(QWidget* w, QPoint p) {
  QTest::mouseClick(w, Qt::LeftButton, {}, p);
  QTest::mousePress(w, Qt::LeftButton, {}, p);
  QMouseEvent dbl(QEvent::MouseButtonDblClick, p, w->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(w, &dbl);
  QTest::mouseRelease(w, Qt::LeftButton, {}, p);
}

class Hosted : public testing::Test {
 protected:
  void SetUp() override {
    host.resize(400, 300);
    ctrl = MakeControl(Mode::Running, 0, &host).release();
    ctrl->move(20, 20);
    ctrl->Advise(&sink);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
  }
  QWidget host;
  TivolenCtrl* ctrl = nullptr;
  RecordingSink sink;
  // The title bar is 18 pixels high by default; the control 240 x 200.
  const QPoint caption{120, 8}, sysBox{6, 8}, rollButton{230, 8};
};

TEST_F(Hosted, HitTestsOfTheFrame) {
  const std::pair<QPoint, HitCode> cases[] = {
      {sysBox, HitCode::SysMenu},      {{1, 1}, HitCode::SysMenu},     {caption, HitCode::Caption},
      {{17, 8}, HitCode::Caption},     {rollButton, HitCode::MaxButton}, {{238, 1}, HitCode::MaxButton},
      {{120, 100}, HitCode::Client},   {{0, 100}, HitCode::Border},    {{120, 18}, HitCode::Client},
      {{500, 8}, HitCode::Nowhere}};
  for (const auto& [p, code] : cases) EXPECT_EQ(ctrl->HitTest(p), code) << p.x() << "," << p.y();
  ctrl->PutProperty(kDispShowTitle, ShortValue(0));
  EXPECT_EQ(ctrl->HitTest(caption), HitCode::Client);
  EXPECT_EQ(ctrl->ListWindow()->geometry().top(), 1);
}

TEST_F(Hosted, RollButtonRollsUpAndDown) {
  QTest::mouseClick(ctrl, Qt::LeftButton, {}, rollButton);
  EXPECT_EQ(ctrl->height(), 18);
  EXPECT_EQ(ctrl->GetProperty(kDispRollUp).value.toInt(), -1);
  EXPECT_EQ(ctrl->HitTest(rollButton), HitCode::MinButton);
  EXPECT_EQ(sink.log, QStringList{"RollUp"});
  QTest::mouseClick(ctrl, Qt::LeftButton, {}, rollButton);
  EXPECT_EQ(ctrl->height(), 200);
  EXPECT_EQ(ctrl->GetProperty(kDispRollUp).value.toInt(), 0);
}

TEST_F(Hosted, RollButtonReleasedOutsideDoesNothing) {
  QTest::mousePress(ctrl, Qt::LeftButton, {}, rollButton);
  QTest::mouseMove(ctrl, caption);
  QTest::mouseRelease(ctrl, Qt::LeftButton, {}, caption);
  EXPECT_EQ(ctrl->height(), 200);
  EXPECT_TRUE(sink.log.isEmpty()) << sink.log.join(",").toStdString();
}

TEST_F(Hosted, RollUpTwiceKeepsTheHeightToRestore) {
  ctrl->PutProperty(kDispRollUp, ShortValue(-1));
  ctrl->PutProperty(kDispRollUp, ShortValue(1));
  EXPECT_EQ(ctrl->HeightBeforeRollUp(), 200);
  ctrl->PutProperty(kDispRollUp, ShortValue(0));
  EXPECT_EQ(ctrl->height(), 200);
}

TEST_F(Hosted, RollDownWhenNeverRolledUpKeepsTheHeightButFires) {
  ctrl->PutProperty(kDispRollUp, ShortValue(0));
  EXPECT_EQ(ctrl->height(), 200);
  EXPECT_EQ(sink.log, QStringList{"RollUp"});
}

TEST_F(Hosted, TitleBarHeightFollowsWhileRolledUp) {
  ctrl->PutProperty(kDispRollUp, ShortValue(-1));
  ctrl->PutProperty(kDispTBarHeight, FloatValue(360));  // 24 pixels
  EXPECT_EQ(ctrl->height(), 24);
  ctrl->PutProperty(kDispRollUp, ShortValue(0));
  EXPECT_EQ(ctrl->height(), 200);
  EXPECT_EQ(ctrl->ListWindow()->geometry().top(), 24);
}

TEST_F(Hosted, DraggingTheCaptionMovesTheControlInsideItsParent) {
  QTest::mousePress(ctrl, Qt::LeftButton, {}, caption);
  QTest::mouseMove(ctrl, caption + QPoint(30, 40));
  EXPECT_EQ(ctrl->pos(), QPoint(50, 60));
  QTest::mouseMove(ctrl, QPoint(2000, 8));  // the cursor stops at the parent's edge
  EXPECT_EQ(ctrl->pos().x(), 399 - 120);
  QTest::mouseRelease(ctrl, Qt::LeftButton, {}, QPoint(2000, 8));
  ASSERT_GE(sink.log.size(), 3);
  EXPECT_EQ(sink.log.first(), "TbMouseDown 1");
  EXPECT_TRUE(sink.log.contains("TbMouseMove"));
  EXPECT_EQ(sink.log.last(), "TbClick");
}

TEST_F(Hosted, MenuMoveFollowsTheMouseUntilAClick) {
  QTest::mouseMove(ctrl, caption);
  ctrl->SendSysCommand(TivolenCtrl::kScMove);
  QTest::mouseMove(ctrl, caption + QPoint(10, 20));
  EXPECT_EQ(ctrl->pos(), QPoint(30, 40));
  QTest::mouseClick(ctrl, Qt::LeftButton, {}, caption);
  QTest::mouseMove(ctrl, caption + QPoint(10, 20));
  EXPECT_EQ(ctrl->pos(), QPoint(30, 40));
}

TEST_F(Hosted, DragWindowOffLeavesTheControlInPlace) {
  ctrl->PutProperty(kDispDragWindow, ShortValue(0));
  QTest::mousePress(ctrl, Qt::LeftButton, {}, caption);
  QTest::mouseMove(ctrl, caption + QPoint(30, 40));
  QTest::mouseRelease(ctrl, Qt::LeftButton, {}, caption + QPoint(30, 40));
  EXPECT_EQ(ctrl->pos(), QPoint(20, 20));
  EXPECT_EQ(sink.log.last(), "TbClick");
}

TEST_F(Hosted, DoubleClickOnTheCaptionFiresTbDblClick) {
  ctrl->PutProperty(kDispDragWindow, ShortValue(0));
  DoubleClick(ctrl, caption);
  EXPECT_EQ(sink.log, (QStringList{"TbMouseDown 1", "TbClick", "TbMouseDown 1", "TbDblClick"}));
  EXPECT_EQ(ctrl->PressState(), 0);
}

TEST_F(Hosted, SystemMenuOpensAndASecondPressClosesIt) {
  QTest::mouseClick(ctrl, Qt::LeftButton, {}, sysBox);
  QMenu* menu = ctrl->SystemMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_TRUE(menu->isVisible());
  QStringList enabled;
  for (QAction* a : menu->actions()) enabled << QString("%1=%2").arg(a->text()).arg(a->isEnabled());
  EXPECT_EQ(enabled, (QStringList{"&Restore=0", "&Move=1", "&Size=0", "Mi&nimize=0", "Ma&ximize=1"}));
  QTest::mouseClick(ctrl, Qt::LeftButton, {}, sysBox);
  EXPECT_FALSE(menu->isVisible());
  menu->actions()[4]->trigger();  // maximize rolls up
  EXPECT_EQ(ctrl->GetProperty(kDispRollUp).value.toInt(), -1);
}

TEST_F(Hosted, AltSpaceOpensTheSystemMenu) {
  ctrl->ListWindow()->setFocus();
  QTest::keyClick(ctrl->ListWindow(), Qt::Key_Space, Qt::AltModifier);
  ASSERT_NE(ctrl->SystemMenu(), nullptr);
  EXPECT_TRUE(ctrl->SystemMenu()->isVisible());
  ctrl->SystemMenu()->hide();
}

TEST_F(Hosted, PressingTheTitleBarBringsTheControlToTheTop) {
  TivolenCtrl* other = MakeControl(Mode::Running, 0, &host).release();
  other->move(60, 30);
  other->show();
  const QPoint overlap(100, 100);  // in the host
  ASSERT_EQ(host.childAt(overlap)->parentWidget()->parentWidget(), other);
  ctrl->PutProperty(kDispDragWindow, ShortValue(0));
  QTest::mouseClick(ctrl, Qt::LeftButton, {}, caption);
  EXPECT_EQ(host.childAt(overlap)->parentWidget()->parentWidget(), ctrl);
}

TEST_F(Hosted, DisabledControlGreysItsListAndArmsNoTooltip) {
  ctrl->PutProperty(kDispEnabled, ShortValue(0));
  EXPECT_FALSE(ctrl->ListWindow()->isEnabled());
  // Elsewhere than other tests: a move to the same spot is dropped as no move.
  QTest::mouseMove(ctrl->ListWindow()->viewport(), QPoint(70, 30));
  EXPECT_EQ(ctrl->TooltipState(), 0);
}

TEST_F(Hosted, ClickOnAnItemSelectsItAndFiresStockEvents) {
  for (const char* t : {"a", "b", "c"}) Add(*ctrl, t, {{}, {}, FloatValue(300)});
  QWidget* vp = ctrl->ListWindow()->viewport();
  QTest::mouseClick(vp, Qt::LeftButton, {}, QPoint(30, 25));
  EXPECT_EQ(ctrl->GetProperty(kDispListIndex).value.toInt(), 1);
  EXPECT_EQ(sink.log, (QStringList{"MouseDown 1 0 30 25", "MouseUp 1 0 30 25", "Click"}));
  sink.log.clear();
  DoubleClick(vp, QPoint(30, 45));
  EXPECT_EQ(sink.log, (QStringList{"MouseDown 1 0 30 45", "MouseUp 1 0 30 45", "Click", "MouseDown 1 0 30 45",
                                   "MouseUp 1 0 30 45", "DblClick"}));
  EXPECT_EQ(ctrl->GetProperty(kDispListIndex).value.toInt(), 2);
}

TEST_F(Hosted, ArrowKeysMoveTheSelectionAndKeyPressPassesByReference) {
  ctrl->PutProperty(kDispPictureTab, ShortValue(15));
  for (const char* t : {"apple", "banana", "cherry"}) Add(*ctrl, t);
  ctrl->ListWindow()->setFocus();
  QTest::keyClick(ctrl->ListWindow(), Qt::Key_Down);
  EXPECT_EQ(ctrl->GetProperty(kDispListIndex).value.toInt(), 0);
  EXPECT_TRUE(sink.log.contains("KeyDown 40 0"));
  QTest::keyClick(ctrl->ListWindow(), Qt::Key_End);
  EXPECT_EQ(ctrl->GetProperty(kDispListIndex).value.toInt(), 2);
  sink.keyAsciiReplacement = 0;
  QTest::keyClick(ctrl->ListWindow(), 'b');
  EXPECT_EQ(ctrl->GetProperty(kDispListIndex).value.toInt(), 2);  // swallowed
  sink.keyAsciiReplacement = -1;
  QTest::keyClick(ctrl->ListWindow(), 'b');
  EXPECT_EQ(ctrl->GetProperty(kDispListIndex).value.toInt(), 1);
  EXPECT_TRUE(sink.log.contains("KeyPress 98"));
}

TEST_F(Hosted, TooltipArmsOnHoverAndShowsBesideTheCursor) {
  QWidget* vp = ctrl->ListWindow()->viewport();
  QTest::mouseMove(vp, QPoint(40, 40));
  EXPECT_EQ(ctrl->TooltipState(), 1);
  ctrl->ShowTooltip();  // what the one-second timer does
  ASSERT_EQ(ctrl->TooltipState(), 2);
  ASSERT_TRUE(ctrl->Tooltip()->isVisible());
  EXPECT_EQ(ctrl->Tooltip()->Text(), "Tivolen");
  EXPECT_EQ(ctrl->Tooltip()->font().pixelSize(), 8);  // characters 8 pixels high, not 8 points
  EXPECT_EQ(ctrl->Tooltip()->pos(), vp->mapToGlobal(QPoint(40, 40)) + QPoint(10, 18));
  QTest::mousePress(vp, Qt::LeftButton, {}, QPoint(40, 40));
  EXPECT_EQ(ctrl->TooltipState(), 0);
  EXPECT_FALSE(ctrl->Tooltip()->isVisible());
  QTest::mouseRelease(vp, Qt::LeftButton, {}, QPoint(40, 40));
  ctrl->PutProperty(kDispToolTip, QString());
  QTest::mouseMove(vp, QPoint(50, 50));
  EXPECT_EQ(ctrl->TooltipState(), 0);
}

TEST_F(Hosted, ARowCutShortShowsWholeInTheTooltip) {
  ctrl->PutProperty(kDispToolTip, QString());
  Add(*ctrl, "a text far too long for its column\tnext");
  Add(*ctrl, "short\tnext");
  QWidget* vp = ctrl->ListWindow()->viewport();
  const QPoint cut = ctrl->ListWindow()->ItemRect(0).center(), whole = ctrl->ListWindow()->ItemRect(1).center();
  QTest::mouseMove(vp, cut);
  ASSERT_EQ(ctrl->TooltipState(), 1);
  ctrl->ShowTooltip();
  ASSERT_EQ(ctrl->TooltipState(), 2);
  EXPECT_EQ(ctrl->Tooltip()->Text(), "a text far too long for its column   next");
  QTest::mouseMove(vp, whole);  // hides
  EXPECT_EQ(ctrl->TooltipState(), 0);
  QTest::mouseMove(vp, whole + QPoint(1, 0));  // a row that fits, and no ToolTip: nothing to show
  EXPECT_EQ(ctrl->TooltipState(), 0);
}

TEST(Tooltip, BoxStaysOnTheScreen) {
  const QSize box(80, 20), screen(1024, 768);
  EXPECT_EQ(TooltipBox::Place({100, 100}, box, screen), QRect(110, 118, 80, 20));
  EXPECT_EQ(TooltipBox::Place({1000, 100}, box, screen).right(), 1024 - 10 + 10 - 1);
  EXPECT_EQ(TooltipBox::Place({1000, 760}, box, screen), QRect(1024 - 80 - 10 + 10, 768 - 20 - 18 + 18, 80, 20));
}

TEST_F(Hosted, MousePointerChoosesTheItemAreaCursor) {
  EXPECT_FALSE(ctrl->ClientCursor().has_value());
  ctrl->PutProperty(kDispMousePointer, ShortValue(2));
  EXPECT_EQ(ctrl->ListWindow()->viewport()->cursor().shape(), Qt::CrossCursor);
  ctrl->PutProperty(kDispMousePointer, ShortValue(15));
  EXPECT_FALSE(ctrl->ClientCursor().has_value());  // no icon: the host's cursor
  ctrl->PutProperty(kDispMouseIcon, QVariant::fromValue(Picture::Icon(QImage(16, 16, QImage::Format_ARGB32))));
  EXPECT_EQ(ctrl->ClientCursor()->shape(), Qt::BitmapCursor);
}

}  // namespace
}  // namespace tivolen::test
