// The link's reply parsing: every member reads its replies from the fuzzer's
// bytes. Whatever a member returns is either its failure value or made of
// the data of a frame in the input whose start byte, length and checksum all
// check; no call waits longer than its tries' time-outs allow.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "link/failure_watch.h"
#include "link/isp.h"
#include "platform/clock/clock.h"
#include "platform/serial/serial_port.h"
#include "platform/ui/prompter.h"
#include "runtime/cp1252.h"

namespace {

constexpr int kFirst = 30, kNext = 10;

// Replies come from the input in order, however the link asks for them.
class BytePort : public talvero::SerialPort {
 public:
  BytePort(std::string bytes, talvero::FakeClock& clock) : bytes_(std::move(bytes)), clock_(clock) {}
  void SetPortNumber(int) override {}
  void SetSpeed(int) override {}
  void SetDataBits(int) override {}
  void SetLineSetting(talvero::LineSetting, int) override {}
  int32_t Open() override { return 3; }
  void Close() override {}
  int ReadByte(int32_t timeoutMs) override {
    if (pos_ < bytes_.size()) return uint8_t(bytes_[pos_++]);
    clock_.Advance(timeoutMs);
    return -1;
  }
  // Counts request frames: start, node, sequence, length, data, checksum.
  void WriteByte(uint8_t b) override {
    if (header_ == 0) {
      if (b != 0x5B) return;
      ++requests;
      header_ = 1;
    } else if (header_ < 3) {
      ++header_;
    } else if (header_ == 3) {
      frameLeft_ = b + 1;
      header_ = 4;
    } else if (--frameLeft_ == 0) {
      header_ = 0;
    }
  }
  void WriteString(const std::string&) override { ++requests; }
  std::string ReadString(int maxLen, int32_t timeoutMs) override {
    if (pos_ >= bytes_.size()) {
      clock_.Advance(timeoutMs);
      return "";
    }
    std::string s = bytes_.substr(pos_, size_t(std::max(maxLen, 0)));
    pos_ += s.size();
    return s;
  }
  talvero::PortFailure LastFailure() const override { return {}; }

  int requests = 0;

 private:
  std::string bytes_;
  size_t pos_ = 0;
  talvero::FakeClock& clock_;
  int header_ = 0;
  int frameLeft_ = 0;
};

// The data of every frame in the bytes that checks, found apart from the link.
std::vector<std::string> GoodFrames(const std::string& s) {
  std::vector<std::string> frames;
  for (size_t i = 0; i + 4 <= s.size(); ++i) {
    if (uint8_t(s[i]) != 0x5B) continue;
    const size_t len = uint8_t(s[i + 2]);
    if (len == 0 || i + 4 + len > s.size()) continue;
    uint8_t sum = 0;
    for (size_t k = 0; k < len; ++k) sum = uint8_t(sum + uint8_t(s[i + 3 + k]));
    if (sum == uint8_t(s[i + 3 + len])) frames.push_back(s.substr(i + 3, len));
  }
  return frames;
}

bool InSomeFrame(const std::vector<std::string>& frames, const std::string& part) {
  return std::any_of(frames.begin(), frames.end(),
                     [&](const std::string& f) { return f.find(part) != std::string::npos; });
}

// A prompter that answers every box at once, for the line check.
class QuietPrompter : public talvero::Prompter {
 public:
  talvero::Answer Message(const talvero::MessageBox&) override { return talvero::Answer::Ok; }
  std::optional<std::string> Input(const std::string&, const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> OpenFile(const talvero::FileDialog&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const talvero::FileDialog&) override { return std::nullopt; }
  std::optional<uint32_t> PickColour(uint32_t) override { return std::nullopt; }
  bool PrinterSetup() override { return false; }
};

}  // namespace

TALVERO_FUZZ_TARGET(link_replies) {
  fuzz::Input in(data, size);
  const int calls = 1 + in.Byte() % 8;
  std::vector<uint8_t> choice;
  for (int i = 0; i < calls; ++i) choice.push_back(in.Byte());
  const std::string replies = in.Rest();
  // Text replies reach the caller as UTF-8, data replies as they came.
  std::vector<std::string> frames = GoodFrames(replies);
  for (size_t i = 0, n = frames.size(); i < n; ++i) frames.push_back(rt::Cp1252ToUtf8(frames[i]));

  talvero::FakeClock clock;
  talvero::SetClock(&clock);
  QuietPrompter quiet;
  talvero::SetPrompter(&quiet);
  auto owned = std::make_unique<BytePort>(replies, clock);
  BytePort& port = *owned;
  {
    ISP isp(std::move(owned));
    isp.Retries = 2;
    isp.FirstByteTimeout = kFirst;
    isp.NextByteTimeout = kNext;
    isp.OpenPort(1);

    auto fromFrame = [&](const std::string& r, const char* member) {
      FUZZ_CHECK(r.empty() || InSomeFrame(frames, r), std::string(member) + " invented its answer");
    };
    for (uint8_t c : choice) {
      const int64_t start = clock.NowMs();
      const int requestsBefore = port.requests;
      const uint8_t arg = uint8_t(c >> 5);
      FailureWatch watch(isp);
      switch (c % 17) {
        case 0: {
          std::string v = isp.ValueOf(1, "PPG");
          if (!watch.Failed()) fromFrame(v, "ValueOf");
          FUZZ_CHECK(!watch.Failed() || v == "0", "ValueOf failed without its failure value");
          break;
        }
        case 1: {
          float v = isp.NewValueOf(1, "VEL");
          FUZZ_CHECK(!watch.Failed() || v == 0.0f, "NewValueOf failed without 0");
          break;
        }
        case 2: {
          float v = isp.MinMax(1, arg & 1, "PPG");
          FUZZ_CHECK(!watch.Failed() || v == 0.0f, "MinMax failed without 0");
          break;
        }
        case 3: FUZZ_CHECK(isp.Status(1) == 0 || !watch.Failed(), "Status failed without 0"); break;
        case 4: FUZZ_CHECK(isp.Status2(1) == 0 || !watch.Failed(), "Status2 failed without 0"); break;
        case 5: fromFrame(isp.WhoAmI(1 + arg), "WhoAmI"); break;
        case 6: isp.GetString(); break;
        case 7: fromFrame(isp.GetPgmLine(1, arg, arg & 1 ? "JOG" : ""), "GetPgmLine"); break;
        case 8: fromFrame(isp.GetPgmName(1, arg), "GetPgmName"); break;
        case 9: fromFrame(isp.GetThread(1, arg), "GetThread"); break;
        case 10: fromFrame(isp.GetDiag(1, arg), "GetDiag"); break;
        case 11: fromFrame(isp.GetUVName(1, arg), "GetUVName"); break;
        case 12: {
          std::string r = isp.ReadNV(1, 128 * arg);
          FUZZ_CHECK(r.empty() || r.size() == 128, "ReadNV answered a block that is not 128 bytes");
          fromFrame(r, "ReadNV");
          break;
        }
        case 13: {
          std::string r = isp.Cap(1, arg);
          FUZZ_CHECK(r.empty() || r.size() == 250, "Cap answered a block that is not 250 bytes");
          fromFrame(r, "Cap");
          break;
        }
        case 14: {
          int16_t type = 0;
          float scale = 0, offset = 0;
          if (!isp.Yscale(1, arg & 1, type, scale, offset))
            FUZZ_CHECK(scale == 1.0f && offset == 0.0f, "Yscale failed but changed the scale");
          break;
        }
        case 15: {
          // A cut capture gives the blocks that came, and counts as failed.
          std::string r = isp.SpecialCap(1);
          FUZZ_CHECK(r.size() % 16 == 0 && r.size() <= 3200, "SpecialCap answered a broken block");
          FUZZ_CHECK(r.size() == 3200 || watch.Failed(), "a cut capture did not count as failed");
          for (size_t k = 0; k < r.size(); k += 16) fromFrame(r.substr(k, 16), "SpecialCap");
          break;
        }
        case 16: isp.CheckForNodalDrives(); break;
      }
      // Each request may cost its pause, a first byte, a byte's wait and a
      // bounded flush; SpecialCap waits 5 s once and reads 200 replies.
      const int requests = std::max(1, port.requests - requestsBefore);
      const int64_t bound = int64_t(requests) * (200 + kFirst + kNext + 5 * kFirst) + 5000 +
                            200 * int64_t(kFirst + kNext + 5 * kFirst) + 2000;
      FUZZ_CHECK(clock.NowMs() - start <= bound, "a call waited longer than its time-outs allow");
    }
  }
  talvero::SetPrompter(nullptr);
  talvero::SetClock(nullptr);
  return 0;
}
