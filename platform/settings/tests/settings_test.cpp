#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files/tests/file_kinds.h"
#include "platform/settings/settings.h"
#include "platform/ui/scripted_prompter.h"

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

TEST_F(Settings, ASaveThatFailsSaysOnceWhyAndKeepsTheOldFile) {
  Write("[Setup]\nCOM=1\n");
  talvero::ScriptedPrompter prompter;
  const std::string told = "The settings were not saved: " + File() + " cannot be written: the disk is full.";
  prompter.ExpectMessageContaining(told, talvero::Answer::Ok);
  {
    const talvero::testing::FileSizeLimit full(8);
    EXPECT_FALSE(talvero::SaveSetting("Talvero3", "Setup", "COM", "2"));
    EXPECT_FALSE(talvero::SaveSetting("Talvero3", "Setup", "TT", "1")) << "said once";
  }
  EXPECT_TRUE(prompter.AllShown());
  EXPECT_EQ(Contents(), "[Setup]\nCOM=1\n");
  EXPECT_EQ(FolderEntries(), std::vector<std::string>{"Talvero3.ini"});
  // Once a save went well, the next failure is told again.
  EXPECT_TRUE(talvero::SaveSetting("Talvero3", "Setup", "COM", "2"));
  prompter.ExpectMessageContaining(told, talvero::Answer::Ok);
  {
    const talvero::testing::FileSizeLimit full(8);
    EXPECT_FALSE(talvero::SaveSetting("Talvero3", "Setup", "COM", "3"));
  }
  EXPECT_TRUE(prompter.AllShown());
  EXPECT_TRUE(prompter.Failures().empty());
  EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "COM", "d"), "2");
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

// Anything but a regular file of at most 1 MiB is left alone: defaults are
// used, saves refuse to replace it, and one message says why and where.
TEST_F(Settings, OnlyARegularFileOfAtMostOneMebibyteIsRead) {
  struct Kind {
    const char* what;
    std::function<void(const std::string& path)> make;
    const char* reason;
  };
  const Kind kinds[] = {
      {"folder", [](const std::string& p) { fs::create_directories(p); }, "is a folder"},
      {"fifo", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, "is a pipe (fifo)"},
      {"link to /dev/zero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); }, "is a device"},
      {"link to a folder", [this](const std::string& p) {
         fs::create_directories(dir_ / "elsewhere");
         fs::create_symlink(dir_ / "elsewhere", p);
       }, "is a folder"},
      {"2 MiB file", [](const std::string& p) {
         std::ofstream(p, std::ios::binary) << "[Setup]\nCOM=5\n" << std::string(2 << 20, ';');
       }, "is larger than 1 MiB"},
  };
  int n = 0;
  for (const Kind& k : kinds) {
    SCOPED_TRACE(k.what);
    const fs::path home = dir_ / ("home" + std::to_string(++n));
    ::setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    const std::string file = talvero::SettingsFilePath("Talvero3");
    fs::create_directories(home / "Talvero3");
    k.make(file);
    talvero::ScriptedPrompter prompter;
    prompter.ExpectMessageContaining("The settings file " + file + " " + k.reason, talvero::Answer::Ok);
    EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "COM", "1"), "1");
    EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "TT", "0"), "0");  // said once
    EXPECT_FALSE(talvero::SaveSetting("Talvero3", "Setup", "COM", "2"));
    EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "COM", "1"), "1");
    EXPECT_TRUE(prompter.AllShown());
    EXPECT_TRUE(prompter.Failures().empty());
    struct stat st {};
    ASSERT_EQ(::lstat(file.c_str(), &st), 0);
    EXPECT_FALSE(S_ISREG(st.st_mode) && st.st_size < (1 << 20)) << "left as it was";
  }
}

TEST_F(Settings, AByteOrderMarkAndEveryKindOfLineEndRead) {
  const std::pair<const char*, std::string> files[] = {
      {"BOM, LF", "\xEF\xBB\xBF[Setup]\nCOM=3\nTT=1\n"},
      {"CR LF", "[Setup]\r\nCOM=3\r\nTT=1\r\n"},
      {"CR only", "[Setup]\rCOM=3\rTT=1"},
      {"BOM, CR only", "\xEF\xBB\xBF[Setup]\rCOM=3\rTT=1\r"},
  };
  for (const auto& [what, text] : files) {
    SCOPED_TRACE(what);
    Write(text);
    EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "COM", "d"), "3");
    EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "TT", "d"), "1");
    ASSERT_TRUE(talvero::SaveSetting("Talvero3", "Setup", "TT", "2"));
    // The file keeps its mark and its line ends.
    const std::string after = Contents();
    EXPECT_EQ(after.rfind("\xEF\xBB\xBF", 0) == 0, text.rfind("\xEF\xBB\xBF", 0) == 0);
    EXPECT_EQ(after.find('\n') == std::string::npos, text.find('\n') == std::string::npos);
    EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "TT", "d"), "2");
    EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "COM", "d"), "3");
  }
}

// Read once and kept: a later read does not parse the file again (a change
// that keeps its size and time is not seen), but a real change is.
TEST_F(Settings, TheFileIsReadOnceAndAnOutsideChangeIsSeen) {
  Write("[Setup]\nCOM=3\n");
  EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "COM"), "3");
  struct stat before {};
  ASSERT_EQ(::stat(File().c_str(), &before), 0);
  Write("[Setup]\nCOM=8\n");
  const struct timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(::utimensat(AT_FDCWD, File().c_str(), times, 0), 0);
  EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "COM"), "3") << "the file was read again";
  Write("[Setup]\nCOM=17\n");
  EXPECT_EQ(talvero::GetSetting("Talvero3", "Setup", "COM"), "17");
}

}  // namespace
