// The event codec on arbitrary text against the built catalogue: an event
// decoded from any text encodes to a text that decodes to the same event.
#include <string>

#include "fuzz/codec_library.h"
#include "fuzz/fuzz_target.h"
#include "store/threads_mod.h"

TALVERO_FUZZ_TARGET(event_codec) {
  fuzz::CodecLibrary::Get();
  fuzz::Input in(data, size);
  const int event = in.Byte() % 10;
  const int other = (event + 1) % 10;
  const std::string text = in.Rest();
  ThreadsMod::SetEventOp(event, -1);

  ThreadsMod::DecodeEvent(event, text);
  const int16_t op = ThreadsMod::GetEventOp(event);
  const std::string p1 = ThreadsMod::GetEventP1(event), p2 = ThreadsMod::GetEventP2(event);
  ThreadsMod::DecompEvent(event);
  const std::string drive = ThreadsMod::EncodeEvent(event);
  // A type without an operand keeps what the slot held; start the second
  // slot where the first stood.
  ThreadsMod::SetEventOp(other, -1);
  ThreadsMod::SetEventP1(other, p1);
  ThreadsMod::SetEventP2(other, p2);
  ThreadsMod::DecodeEvent(other, drive);
  FUZZ_CHECK(ThreadsMod::GetEventOp(other) == op, "the encoded event decodes to another operation: " + drive);
  FUZZ_CHECK(ThreadsMod::GetEventP1(other) == p1 && ThreadsMod::GetEventP2(other) == p2,
             "the encoded event decodes to other operands: " + drive);
  FUZZ_CHECK(ThreadsMod::EncodeEvent(other) == drive, "encoding is not stable: " + drive);
  return 0;
}
