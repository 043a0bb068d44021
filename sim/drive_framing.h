#pragma once
// The drive side of the line's framing: request packets and terminal lines
// out of the byte stream, reply packets into bytes.
#include <cstdint>
#include <optional>
#include <string>

namespace talvero::sim {

struct Request {
  enum class Kind { Packet, Text };
  Kind kind = Kind::Packet;
  int node = 0;
  uint8_t sequence = 0;
  std::string data;  // packet data, or the text after "[NN]"
  bool checksumOk = true;
};

// "[" + sequence + length + data + checksum (sum of the data modulo 256).
std::string EncodeReply(uint8_t sequence, const std::string& data);
uint8_t Checksum(const std::string& data);

// Fed one byte at a time. A "[" followed by a digit starts a terminal line
// "[NN]text" ended by CR; any other "[" starts a request packet
// "[" node sequence length data checksum. Bytes between frames are dropped.
class RequestDecoder {
 public:
  std::optional<Request> Feed(uint8_t byte);
  // Forget a frame cut off mid-way (the line went quiet inside it).
  void Reset() { state_ = State::Hunt; }
  bool InFrame() const { return state_ != State::Hunt; }

 private:
  enum class State { Hunt, Node, Sequence, Length, Data, Sum, Text };
  State state_ = State::Hunt;
  Request cur_;
  size_t length_ = 0;
};

}  // namespace talvero::sim
