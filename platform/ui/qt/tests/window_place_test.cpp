#include "platform/ui/qt/window_place.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace talvero {
namespace {

TEST(WindowPlace, AFrameIsMovedTheLeastThatKeepsItInsideTheArea) {
  const QRect area(0, 0, 1024, 738);  // a 1024x768 screen less a 30 px panel
  const struct Case {
    const char* name;
    QRect frame, kept;
  } cases[] = {
      {"inside stays", {100, 100, 400, 300}, {100, 100, 400, 300}},
      {"touching every edge stays", {0, 0, 1024, 738}, {0, 0, 1024, 738}},
      {"bottom 15 px over", {0, 453, 500, 300}, {0, 438, 500, 300}},
      {"right 1 px over", {525, 10, 500, 300}, {524, 10, 500, 300}},
      {"above and left", {-40, -5, 500, 300}, {0, 0, 500, 300}},
      {"far below and right", {5000, 4000, 500, 300}, {524, 438, 500, 300}},
      {"taller than the area", {10, 200, 500, 900}, {10, 0, 500, 738}},
      {"larger every way", {-10, -10, 2000, 2000}, {0, 0, 1024, 738}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(KeepWithin(c.frame, area), c.kept);
  }
  // An area that does not start at the origin: a second screen, a panel on top.
  EXPECT_EQ(KeepWithin({1900, 0, 300, 200}, {1920, 24, 1280, 1000}), QRect(1920, 24, 300, 200));
  EXPECT_EQ(KeepWithin({3100, 1000, 300, 200}, {1920, 24, 1280, 1000}), QRect(2900, 824, 300, 200));
}

TEST(WindowPlace, AWindowAskedOffTheScreenOpensWhollyOnIt) {
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  const struct Case {
    const char* name;
    QSize size;
    QPoint at;
  } cases[] = {
      {"at the bottom right corner", {300, 200}, area.bottomRight()},
      {"above and left", {300, 200}, area.topLeft() - QPoint(500, 500)},
      {"taller than the screen", {300, area.height() + 200}, area.topLeft()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget w;
    w.resize(c.size);
    PlaceWindow(w, c.at);
    w.show();
    EXPECT_TRUE(area.contains(w.frameGeometry())) << w.frameGeometry().x() << "," << w.frameGeometry().y() << " "
                                                  << w.frameGeometry().width() << "x" << w.frameGeometry().height();
  }
  // A window that fits is placed where it was asked, and centring centres.
  QWidget w;
  w.resize(200, 100);
  PlaceWindow(w, area.topLeft() + QPoint(10, 20));
  EXPECT_EQ(w.pos(), area.topLeft() + QPoint(10, 20));
  w.show();
  CentreOnScreen(w);
  EXPECT_EQ(w.frameGeometry().center(), area.center());
}

}  // namespace
}  // namespace talvero
