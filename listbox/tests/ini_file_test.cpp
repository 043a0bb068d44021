// The INI file reader and writer behind the defaults file and the registry file.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "listbox/ini_file.h"

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

TEST(IniFile, ProfileIntegersReadTheLeadingNumber) {
  const std::pair<const char*, int> cases[] = {{"12", 12}, {" -7x", -7}, {"3.9", 3}, {"abc", 0}, {"", 0}};
  for (const auto& [text, value] : cases) EXPECT_EQ(ProfileInt(text), value) << text;
}

}  // namespace
}  // namespace tivolen
