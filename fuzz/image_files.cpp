// Memory images and firmware files as a user may choose them: any bytes. An
// image is taken only when it is exactly one memory, a firmware file only in
// whole blocks, and a file too short to hold one block is never sent.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "fuzz/fuzz_target.h"
#include "online/model/firmware_flash.h"
#include "online/model/nv_transfer.h"
#include "platform/files/whole_file.h"

TALVERO_FUZZ_TARGET(image_files) {
  static const std::string path = [] {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/talvero-fuzz-" + std::to_string(getpid()) + ".BIN";
  }();
  fuzz::Input in(data, size);
  // The first byte stretches the input, so whole images are reached too.
  const size_t copies = in.Byte() % 4 == 0 ? 131072 / (size > 1 ? size - 1 : 1) + 1 : 1;
  const std::string once = in.Rest();
  // The copies made by doubling: one append a copy would fault in every page
  // of a growing string, and most of the time would go there.
  const size_t want = copies > 1 ? std::min<size_t>(copies * once.size(), 131072) : once.size();
  std::string bytes = once;
  bytes.reserve(want);
  while (!bytes.empty() && bytes.size() < want) bytes.append(bytes, 0, std::min(bytes.size(), want - bytes.size()));
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  const talvero::FileRead file = talvero::ReadWholeFile(path, 0, online::kFirmwareMaxBytes);
  FUZZ_CHECK(file && file.bytes == bytes, "the file did not read back whole");

  const talvero::FileRead asImage = talvero::ReadWholeFile(path, online::kNvImageSize, online::kNvImageSize);
  const bool image = !online::NvImageRefusal(path, asImage).has_value();
  FUZZ_CHECK(image == (bytes.size() == 131072), "an image of " + std::to_string(bytes.size()) + " bytes");
  FUZZ_CHECK(!image || asImage.bytes == bytes, "the image did not read back whole");

  const auto check = online::CheckFirmwareFile(path, file);
  if (bytes.size() < 128) FUZZ_CHECK(check && !check->question, "a file under one block could be sent");
  else if (bytes.size() % 128) FUZZ_CHECK(check && check->question, "a broken last block was not asked about");
  else FUZZ_CHECK(!check, "a file of whole blocks was refused");
  std::remove(path.c_str());
  return 0;
}
