// Reading and writing whole files on hostile paths: nothing blocks, nothing
// is read that was not asked for, and no old file is damaged.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "platform/files/file_reason.h"
#include "platform/files/replacing_file.h"
#include "platform/files/tests/file_kinds.h"
#include "platform/files/whole_file.h"

namespace {

namespace fs = std::filesystem;
using talvero::FileRead;
using talvero::testing::FileSizeLimit;
using talvero::testing::Stopwatch;

class WholeFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = (fs::temp_directory_path() / ("files_" + std::to_string(::getpid()))).string();
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string At(const std::string& name) const { return dir + "/" + name; }
  static std::string Read(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  static void Write(const std::string& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }
  // Everything in the folder, so a temporary left behind shows.
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string dir;
};

TEST_F(WholeFileTest, ReadTakesOnlyARegularFileWithinItsBounds) {
  const std::string image(131072, 'i');
  const std::string longName(254, 'n');
  struct Case {
    const char* name;
    std::function<std::string(const std::string& at)> make;  // returns the path to read
    FileRead::End end;
    std::string reason;  // Unreadable
    uint64_t size;       // Read, OutOfBounds
  } cases[] = {
      {"image", [&](auto p) { Write(p, image); return p; }, FileRead::End::Read, "", 131072},
      {"one byte short", [&](auto p) { Write(p, image.substr(1)); return p; }, FileRead::End::OutOfBounds, "", 131071},
      {"one byte long", [&](auto p) { Write(p, image + "x"); return p; }, FileRead::End::OutOfBounds, "", 131073},
      {"2 GiB sparse", [](auto p) { EXPECT_TRUE(talvero::testing::MakeSparse(p, off_t(1) << 31)); return p; },
       FileRead::End::OutOfBounds, "", uint64_t(1) << 31},
      {"fifo", [](auto p) { EXPECT_TRUE(talvero::testing::MakeFifo(p)); return p; }, FileRead::End::Unreadable,
       "it is a pipe (fifo), not a file", 0},
      {"link to /dev/zero", [](auto p) { fs::create_symlink("/dev/zero", p); return p; }, FileRead::End::Unreadable,
       "it is a device, not a file", 0},
      {"folder", [](auto p) { fs::create_directory(p); return p; }, FileRead::End::Unreadable, "it is a folder", 0},
      {"missing", [](auto p) { return p; }, FileRead::End::Unreadable, "No such file or directory", 0},
      {"link to an image", [&](auto p) { Write(p + ".real", image); fs::create_symlink(p + ".real", p); return p; },
       FileRead::End::Read, "", 131072},
      {"254-character name", [&](auto) { Write(At(longName), image); return At(longName); }, FileRead::End::Read, "",
       131072},
      {"unreadable", [](auto) { return std::string(talvero::testing::UnreadableFile()); },
       FileRead::End::Unreadable, "Permission denied", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string path = c.make(At("f"));
    const Stopwatch watch;
    const FileRead r = talvero::ReadWholeFile(path, 131072, 131072);
    EXPECT_LT(watch.Seconds(), 1.0);
    EXPECT_EQ(r.end, c.end);
    EXPECT_EQ(r.reason, c.reason);
    if (c.end != FileRead::End::Unreadable) {
      EXPECT_EQ(r.size, c.size);
    }
    if (c.end == FileRead::End::Read) {
      EXPECT_EQ(r.bytes, image);
    } else {
      EXPECT_TRUE(r.bytes.empty()) << "nothing read of a refused file";
    }
    fs::remove_all(At("f"));
    fs::remove(At("f.real"));
  }
}

TEST_F(WholeFileTest, ReadOfAFileThatGivesNoSizeStopsAtTheBound) {
  // /proc tells no size; what it holds is read, but never past the bound.
  const FileRead whole = talvero::ReadWholeFile("/proc/self/status", 0, 1 << 20);
  ASSERT_TRUE(whole);
  EXPECT_NE(whole.bytes.find("Name:"), std::string::npos);
  const FileRead bounded = talvero::ReadWholeFile("/proc/self/status", 0, 10);
  EXPECT_EQ(bounded.end, FileRead::End::OutOfBounds);
  EXPECT_EQ(talvero::HoldsText(bounded), "holds more than 10 bytes") << "read one byte past the bound, no more";
  const FileRead sized{FileRead::End::OutOfBounds, "", "", 2000};
  EXPECT_EQ(talvero::HoldsText(sized), "holds 2000 bytes");
}

TEST_F(WholeFileTest, WriteReplacesOnlyARegularFileOrMakesANewOne) {
  using Names = std::vector<std::string>;
  struct Case {
    const char* name;
    std::function<void(const std::string& at)> make;
    std::string reason;  // "" = written
    Names entries;       // the folder afterwards: no temporary left
    std::function<void(const std::string& at)> after;
  } cases[] = {
      {"new file", [](auto) {}, "", {"f"}, [](auto p) { EXPECT_EQ(Read(p), "new"); }},
      {"old file", [](auto p) { Write(p, "old and longer"); }, "", {"f"}, [](auto p) { EXPECT_EQ(Read(p), "new"); }},
      {"folder", [](auto p) { fs::create_directory(p); Write(p + "/inside", "kept"); }, "it is a folder", {"f"},
       [](auto p) { EXPECT_EQ(Read(p + "/inside"), "kept"); }},
      {"fifo", [](auto p) { EXPECT_TRUE(talvero::testing::MakeFifo(p)); }, "it is a pipe (fifo), not a file", {"f"},
       [](auto p) { EXPECT_TRUE(fs::is_fifo(p)); }},
      {"link to a device", [](auto p) { ASSERT_TRUE(talvero::testing::MakeDevice(p + ".dev")); fs::create_symlink("f.dev", p); },
       "it is a device, not a file", {"f", "f.dev"},
       [](auto p) { EXPECT_TRUE(fs::is_symlink(p) && fs::is_character_file(p + ".dev")); }},
      {"link to a file", [](auto p) { Write(p + ".real", "old"); fs::create_symlink("f.real", p); }, "",
       {"f", "f.real"},
       [](auto p) {
         EXPECT_TRUE(fs::is_symlink(p)) << "the link is kept";
         EXPECT_EQ(Read(p + ".real"), "new") << "what it points at is replaced";
       }},
      {"link to a file yet to be", [](auto p) { fs::create_symlink(p + ".real", p); }, "", {"f", "f.real"},
       [](auto p) {
         EXPECT_TRUE(fs::is_symlink(p));
         EXPECT_EQ(Read(p + ".real"), "new");
       }},
      {"link loop", [](auto p) { fs::create_symlink("f", p); }, "Too many levels of symbolic links", {"f"},
       [](auto) {}},
      {"missing folder", [](auto) {}, "No such file or directory", {}, [](auto) {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.name == std::string("link to a device") && ::geteuid() != 0) {
      std::printf("%s: only root makes a device to write to\n", c.name);
      continue;
    }
    const std::string path = c.name == std::string("missing folder") ? At("none/f") : At("f");
    c.make(path);
    const Stopwatch watch;
    const std::optional<std::string> why = talvero::WriteWholeFile(path, "new");
    EXPECT_LT(watch.Seconds(), 1.0);
    EXPECT_EQ(why.value_or(""), c.reason);
    c.after(path);
    EXPECT_EQ(Entries(), c.entries);
    for (const auto& e : fs::directory_iterator(dir)) fs::remove_all(e.path());
  }
}

TEST_F(WholeFileTest, ALongNameGetsATemporaryBesideIt) {
  const std::string path = At(std::string(254, 'n'));
  Write(path, "old");
  EXPECT_EQ(talvero::WriteWholeFile(path, "new"), std::nullopt);
  EXPECT_EQ(Read(path), "new");
  EXPECT_EQ(Entries().size(), 1u);
}

TEST_F(WholeFileTest, AFullDiskKeepsTheOldFileAndSaysSo) {
  const std::string path = At("report.RTF");
  const std::string old(3000, 'o');
  Write(path, old);
  ::chmod(path.c_str(), 0640);
  {
    const FileSizeLimit full(1000);
    EXPECT_EQ(talvero::WriteWholeFile(path, std::string(5000, 'n')), std::optional<std::string>("the disk is full"));
    talvero::ReplacingFile streamed(path);
    ASSERT_EQ(streamed.Open(), std::nullopt);
    EXPECT_EQ(streamed.Write(std::string(600, 'a')), std::nullopt);
    EXPECT_EQ(streamed.Write(std::string(600, 'b')), std::optional<std::string>("the disk is full"));
    EXPECT_EQ(Entries(), std::vector<std::string>{"report.RTF"}) << "the temporary goes at the failure";
    EXPECT_NE(streamed.Commit(), std::nullopt);
  }
  EXPECT_EQ(Read(path), old);
  EXPECT_EQ(Entries(), std::vector<std::string>{"report.RTF"});
  EXPECT_EQ(talvero::WriteWholeFile(path, "new"), std::nullopt) << "room again";
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
      << "the replaced file keeps its permissions";
}

TEST_F(WholeFileTest, TheTargetChangesOnlyOnCommit) {
  const std::string path = At("a.SNA");
  Write(path, "old");
  {
    talvero::ReplacingFile f(path);
    ASSERT_EQ(f.Open(), std::nullopt);
    ASSERT_EQ(f.Write("new"), std::nullopt);
    EXPECT_EQ(Read(path), "old");
    EXPECT_EQ(Entries().size(), 2u);
  }
  EXPECT_EQ(Read(path), "old") << "dropped before commit";
  EXPECT_EQ(Entries().size(), 1u);
}

// WriteWholeFile as another user: the reason, or "" when the file was written.
std::string WriteAs(uid_t uid, const std::string& path, const std::string& bytes) {
  return talvero::testing::AsUser(uid, [&] { return talvero::WriteWholeFile(path, bytes).value_or(""); });
}

TEST_F(WholeFileTest, AFileOrFolderTheUserMayNotWriteIsRefusedAndRootKeepsItsRights) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can act as another user";
  constexpr uid_t nobody = talvero::testing::kNobody;
  const std::string open = At("open"), closed = At("closed"), sticky = At("sticky");
  fs::create_directory(open);
  fs::create_directory(closed);
  fs::create_directory(sticky);
  ::chmod(dir.c_str(), 0755);
  ::chmod(open.c_str(), 0777);
  ::chmod(closed.c_str(), 0755);
  ::chmod(sticky.c_str(), 01777);  // as /tmp
  struct stat st {};
  const auto Make = [&](const std::string& p, mode_t mode, uid_t owner) {
    Write(p, "old");
    EXPECT_EQ(::chown(p.c_str(), owner, owner), 0);
    ::chmod(p.c_str(), mode);
  };
  const struct Case {
    const char* name;
    uid_t as;
    std::string path;
    mode_t mode;  // 0: no file there yet
    uid_t owner;
    std::string reason;  // "" = written
  } cases[] = {
      {"protected, as a user", nobody, open + "/prot.SNA", 0444, 0, "it is write-protected"},
      {"protected, as root", 0, open + "/prot.SNA", 0444, 0, ""},
      {"the user's own", nobody, open + "/own.SNA", 0600, nobody, ""},
      {"a user's, saved by root", 0, open + "/own.SNA", 0600, nobody, ""},
      {"writable in a closed folder", nobody, closed + "/shared.RTF", 0666, 0,
       "the folder " + closed + " does not allow new files"},
      {"new in a closed folder", nobody, closed + "/new.RTF", 0, 0,
       "the folder " + closed + " does not allow new files"},
      // Refused before the bytes are written: the rename would fail only after them.
      {"another's writable file in a sticky folder", nobody, sticky + "/theirs.SNA", 0666, 0,
       "the folder " + sticky + " lets only the file's owner replace it"},
      {"the user's own in a sticky folder", nobody, sticky + "/mine.SNA", 0600, nobody, ""},
      {"another's, saved by root in a sticky folder", 0, sticky + "/theirs.SNA", 0666, nobody, ""},
      {"new in a sticky folder", nobody, sticky + "/new.SNA", 0, 0, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.mode) Make(c.path, c.mode, c.owner);
    EXPECT_EQ(WriteAs(c.as, c.path, "new"), c.reason);
    if (c.mode) {
      EXPECT_EQ(Read(c.path), c.reason.empty() ? "new" : "old");
      ASSERT_EQ(::stat(c.path.c_str(), &st), 0);
      EXPECT_EQ(st.st_mode & 07777, c.mode) << "permissions kept";
      EXPECT_EQ(st.st_uid, c.owner) << "owner kept";
      EXPECT_EQ(st.st_gid, c.owner) << "group kept";
    } else if (c.reason.empty()) {
      EXPECT_EQ(Read(c.path), "new");
    } else {
      EXPECT_FALSE(fs::exists(c.path));
    }
    for (const std::string& folder : {open, closed, sticky})
      for (const auto& e : fs::directory_iterator(folder))
        EXPECT_EQ(e.path().filename().string().rfind(".talvero-", 0), std::string::npos) << "temporary left";
    fs::remove(c.path);
  }
}

// Each call in the order it was made: "fsync file", "fsync folder", "rename".
std::vector<std::string>& Calls() {
  static std::vector<std::string> calls;
  return calls;
}

TEST_F(WholeFileTest, TheNewFileIsOnTheDiskBeforeItTakesTheOldOnesName) {
  talvero::ReplaceCalls& calls = talvero::TheReplaceCalls();
  const talvero::ReplaceCalls real = calls;
  calls.fsync = [](int fd) {
    struct stat st {};
    ::fstat(fd, &st);
    Calls().push_back(S_ISDIR(st.st_mode) ? "fsync folder" : "fsync file");
    return ::fsync(fd);
  };
  calls.rename = [](const char* from, const char* to) {
    Calls().push_back("rename");
    return ::rename(from, to);
  };
  Calls().clear();
  Write(At("a.SNA"), "old");
  const std::optional<std::string> why = talvero::WriteWholeFile(At("a.SNA"), "new");
  calls = real;
  EXPECT_EQ(why, std::nullopt);
  EXPECT_EQ(Calls(), (std::vector<std::string>{"fsync file", "rename", "fsync folder"}));
}

TEST(FileReason, WordsForEveryError) {
  EXPECT_EQ(talvero::FileErrorText(ENOSPC), "the disk is full");
  EXPECT_EQ(talvero::FileErrorText(EDQUOT), "the disk is full");
  EXPECT_EQ(talvero::FileErrorText(EACCES), "Permission denied");
  EXPECT_EQ(talvero::FileErrorText(0), "the system gave no reason");
  EXPECT_EQ(talvero::FileErrorText(99999), "system error 99999");
}

}  // namespace
