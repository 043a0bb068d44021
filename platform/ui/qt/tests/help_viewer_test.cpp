#include "platform/ui/qt/help_viewer.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

namespace talvero {
namespace {

TEST(HelpViewer, TopicsShowAsPlainTextAndReuseTheirWindow) {
  QTemporaryDir dir;
  QFile f(dir.path() + "/talvero.help");
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[7001] Contents\nStart <b>here</b>.\n[8001] Drive Setup\nWire it.\n[8002] Motion\nMove.\n");
  f.close();
  QWidget owner;
  HelpService help(dir.path().toStdString());
  InstallQtHelpDisplay(help, &owner);
  ASSERT_TRUE(help.ShowHelpContents());
  auto* main = owner.findChild<HelpViewer*>("HelpMain");
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(main->isVisible());
  EXPECT_EQ(main->TopicTitle(), "Contents");
  EXPECT_EQ(main->TopicText(), "Start <b>here</b>.");

  ASSERT_TRUE(help.ShowStepHelp(8001));
  ASSERT_TRUE(help.ShowStepHelp(8002));
  auto steps = owner.findChildren<HelpViewer*>("HelpStep");
  ASSERT_EQ(steps.size(), 1);
  EXPECT_EQ(steps[0]->TopicTitle(), "Motion");
  EXPECT_EQ(main->TopicTitle(), "Contents");
}

}  // namespace
}  // namespace talvero
