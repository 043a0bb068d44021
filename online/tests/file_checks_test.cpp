// The file checks of the memory and firmware commands.
#include <gtest/gtest.h>

#include "online/model/firmware_flash.h"
#include "online/model/nv_transfer.h"

namespace {

using talvero::FileRead;

FileRead Read(std::string bytes) { return {FileRead::End::Read, std::move(bytes), "", 0}; }
FileRead Unreadable(std::string reason) { return {FileRead::End::Unreadable, "", std::move(reason), 0}; }
FileRead OutOfBounds(uint64_t size) { return {FileRead::End::OutOfBounds, "", "", size}; }

TEST(NvImageRules, ProgressAndImageChecks) {
  EXPECT_EQ(online::NvProgress(0), 0);
  EXPECT_EQ(online::NvProgress(130432), 254);
  EXPECT_EQ(online::NvProgress(130560), 255);
  EXPECT_EQ(online::NvProgress(130944), 255);
  EXPECT_EQ(online::NvBlockCaption(1024), "Block 1024 of 1024");
  EXPECT_EQ(online::NvImageRefusal("/x/a.SNA", Read(std::string(131072, '\0'))), std::nullopt);
  EXPECT_EQ(online::NvImageRefusal("/x/a.SNA", Unreadable("Permission denied")),
            "Couldn't read /x/a.SNA: Permission denied. Nothing was written; the drive stays stopped.");
  EXPECT_EQ(online::NvImageRefusal("/x/a.SNA", OutOfBounds(uint64_t(1) << 31)),
            "a.SNA is not a memory image: it holds 2147483648 bytes, an image holds 131072. Nothing was "
            "written; the drive stays stopped.");
}

TEST(FirmwareRules, EraseWaitAndFilesNotSent) {
  EXPECT_EQ(online::FlashEraseMs("PHI"), 20000);
  EXPECT_EQ(online::FlashEraseMs("PSI"), 20000);
  EXPECT_EQ(online::FlashEraseMs("RHO"), 4000);
  EXPECT_EQ(online::FlashEraseMs("PS"), 4000) << "the family code exactly";
  const struct {
    FileRead file;
    std::string refusal;
  } cases[] = {
      {Unreadable("Permission denied"),
       "Couldn't read /x/f.BIN: Permission denied. Nothing was sent to the drive."},
      {OutOfBounds(uint64_t(1) << 31),
       "/x/f.BIN holds 2147483648 bytes; a drive's flash takes at most 1048576. Nothing was sent to the drive."},
  };
  for (const auto& c : cases) {
    auto check = online::CheckFirmwareFile("/x/f.BIN", c.file);
    ASSERT_TRUE(check);
    EXPECT_FALSE(check->question);
    EXPECT_EQ(check->box.text, c.refusal);
  }
  EXPECT_EQ(online::CheckFirmwareFile("/x/f.BIN", Read(std::string(256, 'a'))), std::nullopt);
}

}  // namespace
