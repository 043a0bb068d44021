#pragma once
// One field value: Null, a whole number, a floating number or a text.
// Null and "" are different values, as in the files this program reads.
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace talvero::dao {

class Value {
 public:
  Value() = default;
  Value(int v) : v_(int64_t(v)) {}
  Value(int64_t v) : v_(v) {}
  Value(double v) : v_(v) {}
  Value(std::string v) : v_(std::move(v)) {}
  Value(std::string_view v) : v_(std::string(v)) {}
  Value(const char* v) : v_(std::string(v)) {}

  bool IsNull() const { return v_.index() == 0; }
  bool IsLong() const { return v_.index() == 1; }
  bool IsDouble() const { return v_.index() == 2; }
  bool IsText() const { return v_.index() == 3; }

  // Null reads as "" and 0; numbers print in their shortest exact form.
  std::string Text() const;
  int64_t Long() const;    // a text reads by its leading integer, else 0
  double Double() const;

  bool operator==(const Value& o) const { return v_ == o.v_; }

  const std::variant<std::monostate, int64_t, double, std::string>& Raw() const { return v_; }

 private:
  std::variant<std::monostate, int64_t, double, std::string> v_;
};

// Characters (code points) of a UTF-8 text: field sizes count characters.
size_t CharCount(std::string_view utf8);

}  // namespace talvero::dao
