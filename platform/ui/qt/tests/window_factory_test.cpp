#include "platform/ui/qt/window_factory.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QTimer>

namespace talvero {
namespace {

TEST(WindowFactory, MakesAWindowOnceAndRemakesItAfterDestroy) {
  WindowFactory f;
  int made = 0;
  f.Register("Scope", [&](QWidget*) { ++made; return new QWidget; });
  EXPECT_EQ(f.Existing("Scope"), nullptr);
  QWidget* a = f.Window("Scope");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(f.Window("Scope"), a);
  EXPECT_EQ(made, 1);
  EXPECT_TRUE(a->isWindow());
  f.Destroy("Scope");
  EXPECT_EQ(f.Existing("Scope"), nullptr);
  EXPECT_NE(f.Window("Scope"), nullptr);
  EXPECT_EQ(made, 2);
  EXPECT_EQ(f.Window("NoSuchWindow"), nullptr);
  EXPECT_EQ(f.ShowModal("NoSuchWindow"), -1);
  f.DestroyAll();
}

TEST(WindowFactory, SubstituteReplacesAnExistingWindow) {
  WindowFactory f;
  f.Register("About", [](QWidget*) { return new QWidget; });
  QPointer<QWidget> first = f.Window("About");
  f.Register("About", [](QWidget*) {
    auto* w = new QWidget;
    w->setObjectName("substitute");
    return w;
  });
  EXPECT_TRUE(first.isNull());
  EXPECT_EQ(f.Window("About")->objectName(), "substitute");
  f.DestroyAll();
}

TEST(WindowFactory, ModalDialogReturnsItsResultAndModelessStaysOpen) {
  WindowFactory f;
  f.Register("PrintApp", [](QWidget*) {
    auto* d = new QDialog;
    QTimer::singleShot(0, d, [d]() { d->done(7); });
    return d;
  });
  EXPECT_EQ(f.ShowModal("PrintApp"), 7);
  EXPECT_FALSE(f.IsVisible("PrintApp"));

  // A plain window shown modally blocks until it hides.
  f.Register("Tune", [](QWidget*) { return new QWidget; });
  QTimer::singleShot(0, [&f]() {
    EXPECT_TRUE(f.IsVisible("Tune"));
    f.Hide("Tune");
  });
  EXPECT_EQ(f.ShowModal("Tune"), 0);
  EXPECT_FALSE(f.IsVisible("Tune"));

  QWidget* t = f.ShowModeless("Tune");
  ASSERT_NE(t, nullptr);
  EXPECT_TRUE(f.IsVisible("Tune"));
  f.Hide("Tune");
  EXPECT_FALSE(f.IsVisible("Tune"));
  f.DestroyAll();
}

}  // namespace
}  // namespace talvero
