#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/settings/settings.h"

namespace fs = std::filesystem;

namespace {

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "settings_test.XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    dir_ = tmpl;
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) oldXdg_ = old;
    ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
  }
  void TearDown() override {
    if (oldXdg_)
      ::setenv("XDG_CONFIG_HOME", oldXdg_->c_str(), 1);
    else
      ::unsetenv("XDG_CONFIG_HOME");
    fs::remove_all(dir_);
  }
  std::string File() const { return (dir_ / "Talvero3" / "Talvero3.ini").string(); }
  std::string Contents() const {
    std::ifstream in(File(), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void Write(const std::string& text) const {
    fs::create_directories(dir_ / "Talvero3");
    std::ofstream(File(), std::ios::binary) << text;
  }
  std::vector<std::string> FolderEntries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir_ / "Talvero3")) names.push_back(e.path().filename());
    return names;
  }

  fs::path dir_;
  std::optional<std::string> oldXdg_;
};

TEST_F(Settings, FileLivesUnderTheConfigFolder) {
  EXPECT_EQ(talvero::SettingsFilePath("Talvero3"), File());
  const std::optional<std::string> oldHome =
      std::getenv("HOME") ? std::optional<std::string>(std::getenv("HOME")) : std::nullopt;
  ::setenv("HOME", "/home/tester", 1);
  ::setenv("XDG_CONFIG_HOME", "relative/dir", 1);  // not absolute: ignored
  EXPECT_EQ(talvero::SettingsFilePath("A"), "/home/tester/.config/A/A.ini");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(talvero::SettingsFilePath("A"), "/home/tester/.config/A/A.ini");
  if (oldHome)
    ::setenv("HOME", oldHome->c_str(), 1);
  else
    ::unsetenv("HOME");
}

TEST_F(Settings, SavedValuesReadBackAndMissingOnesGiveTheDefault) {
  EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "COM", "1"), "1");
  EXPECT_FALSE(fs::exists(File()));

  ASSERT_TRUE(talvero::SaveSetting("Talvero3", "Setup", "COM", "3"));
  ASSERT_TRUE(talvero::SaveSetting("Talvero3", "OpenApps", "List", "/home/u/a.APP;b=c.APP;"));
  ASSERT_TRUE(talvero::SaveSetting("Talvero3", "Plot", "1", "16777215"));
  ASSERT_TRUE(talvero::SaveSetting("Talvero3", "setup", "com", "4"));

  EXPECT_EQ(talvero::GetSetting("Talvero3", "SETUP", "Com"), "4");
  EXPECT_EQ(talvero::GetSetting("Talvero3", "OpenApps", "List"), "/home/u/a.APP;b=c.APP;");
  EXPECT_EQ(talvero::GetSetting("Talvero3", "Plot", "1", "0"), "16777215");
  EXPECT_EQ(talvero::GetSetting("Talvero3", "Plot", "2", "0"), "0");
  EXPECT_EQ(talvero::GetSetting("Other", "Setup", "COM", "d"), "d");
  EXPECT_EQ(Contents(), "[Setup]\nCOM=4\n\n[OpenApps]\nList=/home/u/a.APP;b=c.APP;\n\n[Plot]\n1=16777215\n");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Talvero3.ini"});  // no temporary left
}

TEST_F(Settings, UnstorableNamesAndValuesAreRefused) {
  Write("[Setup]\nCOM=1\n");
  const std::string before = Contents();
  const std::tuple<const char*, const char*, const char*, std::string> bad[] = {
      {"Talvero3", "Setup", "COM", "1\n[Evil]\nx=1"},
      {"Talvero3", "Setup", "a=b", "1"},
      {"Talvero3", "Se]tup", "k", "1"},
      {"Talvero3", "", "k", "1"},
      {"Talvero3", "Setup", "", "1"},
      {"Talvero3", "Setup", "COM", std::string("1\0" "2", 3)},
      {"../x", "Setup", "COM", "1"},
      {"", "Setup", "COM", "1"},
  };
  for (const auto& [app, section, key, value] : bad)
    EXPECT_FALSE(talvero::SaveSetting(app, section, key, value)) << section << "/" << key;
  EXPECT_EQ(Contents(), before);
}

TEST_F(Settings, GarbageFilesAreReadAsFarAsTheyMakeSense) {
  using namespace std::string_literals;
  Write("\x00\x01\xff garbage\n[Setup]\nno equals here\nTT=0\nTT=1\n\x80\x81=\x00\n"s);
  EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "TT", "d"), "0");
  ASSERT_TRUE(talvero::SaveSetting("Talvero3", "Setup", "COM", "2"));
  EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "TT", "d"), "0");
  EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "COM"), "2");
  EXPECT_EQ(Contents().substr(0, 3), "\x00\x01\xff"s);  // what it did not understand stays
}

TEST_F(Settings, ASaveThatCannotWriteFailsAndLeavesNothingBehind) {
  // The settings file's place is taken by a folder: the rename over it must fail.
  fs::create_directories(File());
  EXPECT_FALSE(talvero::SaveSetting("Talvero3", "Setup", "COM", "2"));
  EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "COM", "d"), "d");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Talvero3.ini"});

  // The config folder is a plain file: the folder cannot be made.
  const std::string plain = (dir_ / "plain").string();
  std::ofstream(plain) << "x";
  ::setenv("XDG_CONFIG_HOME", plain.c_str(), 1);
  EXPECT_FALSE(talvero::SaveSetting("Talvero3", "Setup", "COM", "2"));
  EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "COM", "d"), "d");
}

TEST_F(Settings, DeleteRemovesKeysAndSections) {
  Write("[Setup]\nCOM=1\nTT=1\n[Ports]\nCOM1=/dev/ttyUSB0\n");
  EXPECT_TRUE(talvero::DeleteSetting("Talvero3", "setup", "tt"));
  EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "TT", "gone"), "gone");
  EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "COM"), "1");
  EXPECT_TRUE(talvero::DeleteSetting("Talvero3", "Setup", "TT"));  // already gone
  EXPECT_TRUE(talvero::DeleteSetting("Talvero3", "Ports", ""));
  EXPECT_EQ(Contents(), "[Setup]\nCOM=1\n");
}

}  // namespace
