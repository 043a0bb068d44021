#pragma once
// One fuzz target: an entry that takes arbitrary bytes and checks the
// invariants of one parser. Built two ways: with clang and libFuzzer as a
// fuzzer of its own (scripts/fuzz), and with the normal build into one test
// program that replays every checked-in input, so CI keeps each input that
// ever failed.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace fuzz {

using Entry = int (*)(const uint8_t* data, size_t size);

// A broken invariant: the fuzzer stops with a crash, the replay test fails.
[[noreturn]] void Violated(const char* file, int line, const std::string& what);

struct Registration {
  Registration(const char* name, Entry entry);
};

// Takes the input apart from the front: choices first, the rest as data.
class Input {
 public:
  Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool Empty() const { return pos_ >= size_; }
  size_t Left() const { return size_ - pos_; }
  uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint16_t Word() { return uint16_t(Byte() | Byte() << 8); }
  // Up to n bytes, fewer at the end of the input.
  std::string Bytes(size_t n) {
    n = n < Left() ? n : Left();
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
  }
  // A text that ends at the next NUL or at the end of the input.
  std::string Text() {
    std::string s;
    while (pos_ < size_ && data_[pos_] != 0) s.push_back(char(data_[pos_++]));
    if (pos_ < size_) ++pos_;
    return s;
  }
  std::string Rest() { return Bytes(Left()); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

// The folder of the built library database ("KOVdata.KOV").
std::string BinFolder();

}  // namespace fuzz

#define FUZZ_CHECK(cond, what)                                           \
  do {                                                                   \
    if (!(cond)) ::fuzz::Violated(__FILE__, __LINE__, std::string(what)); \
  } while (0)

#if defined(TALVERO_LIBFUZZER)
#define TALVERO_FUZZ_TARGET(name) \
  extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
#else
#define TALVERO_FUZZ_TARGET(name)                                      \
  static int name(const uint8_t* data, size_t size);                   \
  static const ::fuzz::Registration name##_registration(#name, name);  \
  static int name(const uint8_t* data, size_t size)
#endif
