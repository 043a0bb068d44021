// The image file writer that replaces its target only when complete, and the
// file checks of the memory and firmware commands.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include "online/model/file_bytes.h"
#include "online/model/firmware_flash.h"
#include "online/model/nv_transfer.h"

namespace {

namespace fs = std::filesystem;

class FileBytesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("online_files_" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Write(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }
  size_t Entries() { return size_t(std::distance(fs::directory_iterator(dir), fs::directory_iterator())); }
  fs::path dir;
};

TEST_F(FileBytesTest, TheTargetChangesOnlyOnCommit) {
  const fs::path target = dir / "a.SNA";
  Write(target, "old contents, longer than the new");
  ::chmod(target.c_str(), 0640);
  {
    online::ReplacingFile f(target);
    ASSERT_EQ(f.Open(), std::nullopt);
    ASSERT_EQ(f.Write("new"), std::nullopt);
    EXPECT_EQ(Read(target), "old contents, longer than the new");
    EXPECT_EQ(Entries(), 2u);
  }
  EXPECT_EQ(Read(target), "old contents, longer than the new") << "dropped before commit";
  EXPECT_EQ(Entries(), 1u);
  online::ReplacingFile f(target);
  ASSERT_EQ(f.Open(), std::nullopt);
  ASSERT_EQ(f.Write("new"), std::nullopt);
  ASSERT_EQ(f.Commit(), std::nullopt);
  EXPECT_EQ(Read(target), "new");
  EXPECT_EQ(Entries(), 1u);
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read)
      << "the replaced file keeps its permissions";
}

TEST_F(FileBytesTest, FailuresCarryTheSystemsReason) {
  online::ReplacingFile f(dir / "missing" / "a.SNA");
  EXPECT_EQ(f.Open(), std::optional<std::string>("No such file or directory"));
  const online::FileBytes r = online::ReadFileBytes(dir / "none.BIN");
  EXPECT_FALSE(r.bytes);
  EXPECT_EQ(r.error, "No such file or directory");
  const online::FileBytes d = online::ReadFileBytes(dir);
  EXPECT_FALSE(d.bytes);
  EXPECT_EQ(d.error, "Is a directory");
}

TEST(NvImageRules, ProgressAndImageChecks) {
  EXPECT_EQ(online::NvProgress(0), 0);
  EXPECT_EQ(online::NvProgress(130432), 254);
  EXPECT_EQ(online::NvProgress(130560), 255);
  EXPECT_EQ(online::NvProgress(130944), 255);
  EXPECT_EQ(online::NvBlockCaption(1024), "Block 1024 of 1024");
  online::FileBytes ok{std::string(131072, '\0'), ""};
  EXPECT_EQ(online::NvImageRefusal("/x/a.SNA", ok), std::nullopt);
  online::FileBytes unreadable{std::nullopt, "Permission denied"};
  EXPECT_EQ(online::NvImageRefusal("/x/a.SNA", unreadable),
            "Couldn't read /x/a.SNA: Permission denied. Nothing was written; the drive stays stopped.");
}

TEST(FirmwareRules, EraseWaitAndUnreadableFile) {
  EXPECT_EQ(online::FlashEraseMs("PHI"), 20000);
  EXPECT_EQ(online::FlashEraseMs("PSI"), 20000);
  EXPECT_EQ(online::FlashEraseMs("RHO"), 4000);
  EXPECT_EQ(online::FlashEraseMs("PS"), 4000) << "the family code exactly";
  auto c = online::CheckFirmwareFile("/x/f.BIN", std::nullopt, "Permission denied");
  ASSERT_TRUE(c);
  EXPECT_FALSE(c->question);
  EXPECT_EQ(c->box.text, "Couldn't read /x/f.BIN: Permission denied. Nothing was sent to the drive.");
  EXPECT_EQ(online::CheckFirmwareFile("/x/f.BIN", std::string(256, 'a'), ""), std::nullopt);
}

}  // namespace
