// The runtime's text rules on arbitrary input: Like on fuzzed patterns and
// texts in bounded time, Format with fuzzed pictures and values, Val and its
// leading number, and the Windows-1252 conversions.
#include <chrono>
#include <cmath>
#include <cstring>
#include <string>

#include "fuzz/fuzz_target.h"
#include "runtime/cp1252.h"
#include "runtime/format.h"
#include "runtime/like.h"
#include "runtime/val.h"

TALVERO_FUZZ_TARGET(runtime) {
  fuzz::Input in(data, size);
  const uint8_t which = in.Byte();
  switch (which % 4) {
    case 0: {
      const std::string pattern = in.Text();
      const std::string text = in.Rest();
      const auto start = std::chrono::steady_clock::now();
      const bool match = rt::Like(text, pattern);
      const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                          std::chrono::steady_clock::now() - start).count();
      // Generous: the fuzzer's own time-out catches a real blow-up sooner.
      FUZZ_CHECK(ms < 1500, "Like took " + std::to_string(ms) + " ms");
      if (pattern.find_first_of("?*#[") == std::string::npos)
        FUZZ_CHECK(match == (text == pattern), "a pattern of plain characters must match itself only");
      break;
    }
    case 1: {
      double value;
      const std::string raw = in.Bytes(8);
      std::memset(&value, 0, sizeof value);
      std::memcpy(&value, raw.data(), raw.size());
      const std::string picture = in.Rest();
      const std::string text = rt::Format(value, picture);
      // Integer digits beyond the picture are shown: a double has at most 309
      // of them, and grouping adds a comma for every three.
      FUZZ_CHECK(text.size() <= picture.size() * 4 + 450, "Format grew without bound");
      const std::string single = rt::FormatSingle(float(value), picture);
      FUZZ_CHECK(single.size() <= picture.size() * 4 + 450, "FormatSingle grew without bound");
      break;
    }
    case 2: {
      const std::string text = in.Rest();
      const double v = rt::Val(text);
      FUZZ_CHECK(!std::isnan(v), "Val gave NaN");
      const size_t n = rt::LeadingNumberLength(text);
      FUZZ_CHECK(n <= text.size(), "the leading number is longer than the text");
      const double again = rt::Val(text.substr(0, n));
      FUZZ_CHECK(again == v || (std::isnan(again) && std::isnan(v)), "Val read past its leading number");
      break;
    }
    case 3: {
      const std::string bytes = in.Rest();
      const std::string utf8 = rt::Cp1252ToUtf8(bytes);
      const std::optional<std::string> back = rt::Utf8ToCp1252(utf8);
      FUZZ_CHECK(back && *back == bytes, "Windows-1252 bytes did not survive the trip through UTF-8");
      // Arbitrary bytes as UTF-8: either refused, or the same text once more.
      if (const std::optional<std::string> cp = rt::Utf8ToCp1252(bytes))
        FUZZ_CHECK(rt::Cp1252ToUtf8(*cp) == bytes, "UTF-8 taken in came back different");
      break;
    }
  }
  return 0;
}
