#include "sim/drive_framing.h"

namespace talvero::sim {

uint8_t Checksum(const std::string& data) {
  unsigned sum = 0;
  for (char c : data) sum += uint8_t(c);
  return uint8_t(sum & 0xFF);
}

std::string EncodeReply(uint8_t sequence, const std::string& in) {
  // A length byte cannot say more than 255: longer texts are cut.
  const std::string data = in.size() > 255 ? in.substr(0, 255) : in;
  std::string out;
  out.reserve(data.size() + 4);
  out += '[';
  out += char(sequence);
  out += char(uint8_t(data.size()));
  out += data;
  out += char(Checksum(data));
  return out;
}

std::optional<Request> RequestDecoder::Feed(uint8_t b) {
  constexpr size_t kMaxText = 255;
  switch (state_) {
    case State::Hunt:
      if (b == '[') state_ = State::Node;
      return std::nullopt;
    case State::Node:
      cur_ = Request{};
      if (b >= '0' && b <= '9') {
        cur_.kind = Request::Kind::Text;
        cur_.data = std::string(1, char(b));
        state_ = State::Text;
      } else {
        cur_.node = b;
        state_ = State::Sequence;
      }
      return std::nullopt;
    case State::Sequence:
      cur_.sequence = b;
      state_ = State::Length;
      return std::nullopt;
    case State::Length:
      length_ = b;
      state_ = length_ == 0 ? State::Sum : State::Data;
      return std::nullopt;
    case State::Data:
      cur_.data += char(b);
      if (cur_.data.size() == length_) state_ = State::Sum;
      return std::nullopt;
    case State::Sum:
      cur_.checksumOk = b == Checksum(cur_.data);
      state_ = State::Hunt;
      return cur_;
    case State::Text: {
      if (b != '\r') {
        if (cur_.data.size() >= kMaxText) {
          state_ = State::Hunt;  // no terminal line is that long
          return std::nullopt;
        }
        cur_.data += char(b);
        return std::nullopt;
      }
      state_ = State::Hunt;
      // "NN]text": the node's digits, then the bracket.
      size_t close = cur_.data.find(']');
      if (close == std::string::npos || close == 0 || close > 2) return std::nullopt;
      int node = 0;
      for (size_t i = 0; i < close; ++i) {
        char c = cur_.data[i];
        if (c < '0' || c > '9') return std::nullopt;
        node = node * 10 + (c - '0');
      }
      cur_.node = node;
      cur_.data = cur_.data.substr(close + 1);
      return cur_;
    }
  }
  return std::nullopt;
}

}  // namespace talvero::sim
