// The step codec on arbitrary text against the built catalogue: a step
// decoded from any text encodes to a drive text that decodes to the same
// step, and no drive text is longer than a drive line holds.
#include <memory>
#include <string>

#include "fuzz/codec_library.h"
#include "fuzz/fuzz_target.h"
#include "store/program.h"

TALVERO_FUZZ_TARGET(step_codec) {
  fuzz::CodecLibrary& lib = fuzz::CodecLibrary::Get();
  fuzz::Input in(data, size);
  lib.display.StepNumbers = in.Byte() & 1;
  const std::string text = in.Rest();

  Program& p = lib.program;
  p.Decode(0, text);
  const int16_t op = p.Get_Op(0);
  const std::string p1 = p.Get_p1(0), p2 = p.Get_p2(0);
  p.Decomp(0);
  const std::string drive = p.Encode(0);
  // A drive holds lines under 64 characters; a step read from one stays so.
  FUZZ_CHECK(text.size() >= 64 || drive.size() < 64,
             "a drive text of " + std::to_string(drive.size()) + " characters");
  // Operands a step type does not use stay as they were; start the second
  // line where the first stood.
  p.Set_p1(p1, 1);
  p.Set_p2(p2, 1);
  p.Decode(1, drive);
  FUZZ_CHECK(p.Get_Op(1) == op, "the encoded step decodes to another operation: " + drive);
  FUZZ_CHECK(p.Get_p1(1) == p1 && p.Get_p2(1) == p2, "the encoded step decodes to other operands: " + drive);
  FUZZ_CHECK(p.Encode(1) == drive, "encoding is not stable: " + drive);
  return 0;
}
