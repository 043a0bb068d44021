#include "platform/dao/value.h"

#include <charconv>
#include <cstdlib>

#include "runtime/cp1252.h"

namespace talvero::dao {

std::string Value::Text() const {
  switch (v_.index()) {
    case 1:
      return std::to_string(std::get<int64_t>(v_));
    case 2: {
      char buf[64];
      auto r = std::to_chars(buf, buf + sizeof buf, std::get<double>(v_));
      return std::string(buf, r.ptr);
    }
    case 3:
      return std::get<std::string>(v_);
    default:
      return {};
  }
}

int64_t Value::Long() const {
  switch (v_.index()) {
    case 1:
      return std::get<int64_t>(v_);
    case 2:
      return int64_t(std::get<double>(v_));
    case 3: {
      const std::string& s = std::get<std::string>(v_);
      int64_t n = 0;
      std::from_chars(s.data(), s.data() + s.size(), n);
      return n;
    }
    default:
      return 0;
  }
}

double Value::Double() const {
  switch (v_.index()) {
    case 1:
      return double(std::get<int64_t>(v_));
    case 2:
      return std::get<double>(v_);
    case 3:
      return std::strtod(std::get<std::string>(v_).c_str(), nullptr);
    default:
      return 0;
  }
}

size_t CharCount(std::string_view s) { return rt::CharCount(s); }

}  // namespace talvero::dao
