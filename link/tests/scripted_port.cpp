#include "link/tests/scripted_port.h"

namespace linktest {

std::string Frame(int sequence, const std::string& data) {
  std::string out = {char(0x5B), char(sequence), char(data.size())};
  uint8_t sum = 0;
  for (char c : data) sum = uint8_t(sum + uint8_t(c));
  return out + data + char(sum);
}

std::string Bytes(std::initializer_list<int> values) {
  std::string s;
  for (int v : values) s.push_back(char(v));
  return s;
}

ScriptedPort::~ScriptedPort() = default;

int32_t ScriptedPort::Open() {
  ++opens;
  isOpen = openResult > 0;
  return openResult;
}

void ScriptedPort::Close() {
  ++closes;
  ++*closesSeen;
  isOpen = false;
}

int ScriptedPort::ReadByte(int32_t timeoutMs) {
  if (!input.empty()) {
    char c = input.front();
    input.pop_front();
    ++bytesRead;
    return uint8_t(c);
  }
  if (chatterMs >= 0 && chatterMs <= timeoutMs && chatterLimit > 0) {
    --chatterLimit;
    clock_.Advance(chatterMs);
    ++bytesRead;
    return 'x';
  }
  timedOutReads.push_back(timeoutMs);
  clock_.Advance(timeoutMs);
  return -1;
}

void ScriptedPort::ParseWritten(uint8_t byte) {
  if (frame_.empty() && byte != 0x5B) return;  // text mode, not a frame
  frame_.push_back(char(byte));
  if (frame_.size() < 4 || frame_.size() < 5 + size_t(uint8_t(frame_[3]))) return;
  Request r;
  r.node = uint8_t(frame_[1]);
  r.sequence = uint8_t(frame_[2]);
  r.data = frame_.substr(4, uint8_t(frame_[3]));
  uint8_t sum = 0;
  for (char c : r.data) sum = uint8_t(sum + uint8_t(c));
  r.checksumOk = sum == uint8_t(frame_.back());
  frame_.clear();
  requests.push_back(r);
  if (responder) Feed(responder(r));
}

void ScriptedPort::WriteByte(uint8_t byte) {
  written.push_back(char(byte));
  ParseWritten(byte);
}

void ScriptedPort::WriteString(const std::string& bytes) {
  strings.push_back(bytes);
  written += bytes;
}

std::string ScriptedPort::ReadString(int maxLen, int32_t timeoutMs) {
  stringMaxLen = maxLen;
  stringTimeout = timeoutMs;
  clock_.Advance(timeoutMs);
  return stringReply.substr(0, size_t(maxLen));
}

std::function<std::string(const Request&)> Always(std::string data) {
  return [data](const Request& r) { return Frame(r.sequence, data); };
}

std::function<std::string(const Request&)> InTurn(std::vector<std::function<std::string(const Request&)>> script) {
  auto turn = std::make_shared<size_t>(0);
  return [script, turn](const Request& r) -> std::string {
    size_t k = (*turn)++;
    return k < script.size() && script[k] ? script[k](r) : std::string();
  };
}

}  // namespace linktest
