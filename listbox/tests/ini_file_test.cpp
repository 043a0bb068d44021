// The INI file reader and writer behind the defaults file and the registry file.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "listbox/ini_file.h"
#include "listbox/tests/append_only.h"
#include "platform/files/tests/file_kinds.h"

namespace tivolen {
namespace {

TEST(IniFile, SectionNamesMayHoldBracketsAndKeysAreCaseBlind) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/sub/T.INI";
  {
    IniFile ini(path);
    ini.Set("[Tivolen Settings]", "Sort", "1");
    ini.Set("Other", "k", "v");
    ini.Set("[Tivolen Settings]", "NumTabs", "12");
    ASSERT_TRUE(ini.Save());
  }
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QString text = f.readAll();
  EXPECT_TRUE(text.startsWith("[[Tivolen Settings]]\nSort=1\nNumTabs=12\n")) << text.toStdString();
  IniFile back(path);
  EXPECT_EQ(back.GetInt("[tivolen settings]", "SORT", 5), 1);
  EXPECT_EQ(back.GetInt("[Tivolen Settings]", "Missing", 5), 5);
  EXPECT_TRUE(back.DeleteSection("[Tivolen Settings]"));
  EXPECT_FALSE(back.DeleteSection("[Tivolen Settings]"));
  EXPECT_EQ(back.Get("Other", "k").value_or(""), "v");
}

TEST(IniFile, AWriteThatFailsIsNeverPutInPlace) {
  QTemporaryDir dir;
  const QString path = dir.path() + "/controls.ini";
  const auto Text = [&] {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("(none)");
  };
  IniFile ini(path);
  ini.Set("Big", "Text", QString(4000, 'x'));
  {
    const talvero::testing::FileSizeLimit full(1000);
    EXPECT_FALSE(ini.Save()) << "none there yet";
    EXPECT_EQ(Text(), "(none)");
  }
  IniFile old(path);
  old.Set("Small", "Sort", "1");
  ASSERT_TRUE(old.Save());
  {
    const talvero::testing::FileSizeLimit full(1000);
    EXPECT_FALSE(ini.Save()) << "over an old one";
  }
  EXPECT_EQ(Text(), "[Small]\nSort=1\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary left";
  {
    // Every write went; only putting the new file in place fails.
    const tivolen::test::AppendOnly kept(path.toStdString());
    if (!kept.Holds()) GTEST_SKIP() << "this file system or process cannot make a file append-only";
    EXPECT_FALSE(ini.Save()) << "the replace refused";
  }
  EXPECT_EQ(Text(), "[Small]\nSort=1\n");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary left";
}

TEST(IniFile, ProfileIntegersReadTheLeadingNumber) {
  const std::pair<const char*, int> cases[] = {{"12", 12}, {" -7x", -7}, {"3.9", 3}, {"abc", 0}, {"", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ProfileInt(text), value) << text;
}

}  // namespace
}  // namespace tivolen
