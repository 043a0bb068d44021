#pragma once
// An in-memory serial line for link tests: records every byte written, cuts
// the writes into request frames, and makes canned reply bytes readable.
// Waits cost nothing: a read that times out moves the fake clock on instead.
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock/clock.h"
#include "platform/serial/serial_port.h"

namespace linktest {

struct Request {
  int node = 0;
  int sequence = 0;
  std::string data;
  bool checksumOk = false;
};

// A well-formed reply frame.
std::string Frame(int sequence, const std::string& data);
std::string Bytes(std::initializer_list<int> values);

class ScriptedPort : public talvero::SerialPort {
 public:
  explicit ScriptedPort(talvero::FakeClock& clock) : clock_(clock) {}
  ~ScriptedPort() override;

  void SetPortNumber(int n) override { portNumber = n; }
  void SetSpeed(int baud) override { speed = baud; }
  void SetDataBits(int bits) override { dataBits = bits; }
  void SetLineSetting(talvero::LineSetting which, int value) override { settings[int(which)] = value; }
  int32_t Open() override;
  void Close() override;
  int ReadByte(int32_t timeoutMs) override;
  void WriteByte(uint8_t byte) override;
  void WriteString(const std::string& bytes) override;
  std::string ReadString(int maxLen, int32_t timeoutMs) override;
  talvero::PortFailure LastFailure() const override { return openResult > 0 ? talvero::PortFailure{} : failure; }

  // Makes bytes readable now.
  void Feed(const std::string& bytes) { input.insert(input.end(), bytes.begin(), bytes.end()); }

  // Settings as the link left them.
  int portNumber = 0, speed = 0, dataBits = 0;
  int settings[4] = {-1, -1, -1, -1};

  // What Open answers, and why it fails when it does.
  int32_t openResult = 5;
  talvero::PortFailure failure{talvero::PortFailureReason::Busy, "/dev/ttyS0", ""};
  int opens = 0, closes = 0;
  bool isOpen = false;
  std::shared_ptr<int> closesSeen = std::make_shared<int>(0);  // survives the port

  std::string written;               // every byte, in order
  std::vector<std::string> strings;  // WriteString calls
  std::vector<Request> requests;     // complete request frames
  // Called for each complete request frame; what it returns becomes readable.
  std::function<std::string(const Request&)> responder;

  std::deque<char> input;
  std::vector<int32_t> timedOutReads;  // the wait of every read that timed out
  int64_t bytesRead = 0;
  // A line that never goes quiet: a byte every chatterMs (fake) ms, up to chatterLimit.
  int chatterMs = -1;
  int64_t chatterLimit = 1 << 20;
  std::string stringReply;           // what ReadString answers
  int stringMaxLen = 0;
  int32_t stringTimeout = 0;

 private:
  void ParseWritten(uint8_t byte);
  talvero::FakeClock& clock_;
  std::string frame_;
};

// Answers every request with the same data, echoing its sequence number.
std::function<std::string(const Request&)> Always(std::string data);
// Answers the k-th request with the k-th script entry (a function of the request).
std::function<std::string(const Request&)> InTurn(std::vector<std::function<std::string(const Request&)>> script);

}  // namespace linktest
