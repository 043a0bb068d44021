#pragma once
// The tests' own hand-built packets, written apart from the simulator's framing.
#include <optional>
#include <string>
#include <vector>

#include "sim/sim_line.h"

namespace simtest {

// The acknowledgement and refusal bytes a drive answers with.
inline const std::string ACK = "\x06";
inline const std::string NAK = "\x15";

inline std::string Bytes(std::initializer_list<int> b) {
  std::string s;
  for (int v : b) s += char(v);
  return s;
}

// "[" node seq length data checksum.
inline std::string Req(int node, int seq, const std::string& data) {
  int sum = 0;
  for (unsigned char c : data) sum += c;
  return std::string("[") + char(node) + char(seq) + char(data.size()) + data + char(sum % 256);
}

struct Reply {
  int seq = 0;
  std::string data;
  bool operator==(const Reply&) const = default;
};

// Splits bytes into reply packets; nullopt when any frame is malformed.
inline std::optional<std::vector<Reply>> Replies(const std::string& bytes) {
  std::vector<Reply> out;
  size_t i = 0;
  while (i < bytes.size()) {
    if (bytes[i] != '[' || i + 3 > bytes.size()) return std::nullopt;
    int seq = (unsigned char)bytes[i + 1];
    size_t n = (unsigned char)bytes[i + 2];
    if (i + 3 + n + 1 > bytes.size()) return std::nullopt;
    std::string data = bytes.substr(i + 3, n);
    int sum = 0;
    for (unsigned char c : data) sum += c;
    if ((unsigned char)bytes[i + 3 + n] != sum % 256) return std::nullopt;
    out.push_back(Reply{seq, data});
    i += 4 + n;
  }
  return out;
}

inline std::string Joined(const std::vector<talvero::sim::Output>& outs) {
  std::string s;
  for (const auto& o : outs) s += o.bytes;
  return s;
}

// Sends one request into the line; the reply data, "" when nothing came back,
// "<bad>" for a malformed answer or more than one reply.
inline std::string Ask(talvero::sim::SimLine& line, int node, const std::string& data,
                       int seq = 33) {
  std::string raw = Joined(line.Feed(Req(node, seq, data)));
  if (raw.empty()) return "";
  auto r = Replies(raw);
  if (!r || r->size() != 1 || (*r)[0].seq != seq) return "<bad>";
  return (*r)[0].data;
}

inline std::string Padded(const std::string& s, size_t w = 12) {
  return std::string(w - s.size(), ' ') + s;
}

}  // namespace simtest
