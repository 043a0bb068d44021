#pragma once
// Errors are values here: every call that can fail says why in a Status or a
// Result, and nothing throws.
#include <optional>
#include <string>
#include <utility>

namespace talvero::dao {

struct Status {
  std::string error;  // empty when the call worked

  static Status Ok() { return {}; }
  static Status Fail(std::string why) { return Status{why.empty() ? "unknown error" : std::move(why)}; }
  bool ok() const { return error.empty(); }
  explicit operator bool() const { return ok(); }
};

template <class T>
struct Result {
  std::optional<T> value;
  std::string error;  // set when value is empty

  static Result Ok(T v) { return Result{std::move(v), {}}; }
  static Result Fail(std::string why) { return Result{std::nullopt, why.empty() ? "unknown error" : std::move(why)}; }
  bool ok() const { return value.has_value(); }
  explicit operator bool() const { return ok(); }
  T& operator*() { return *value; }
  const T& operator*() const { return *value; }
  T* operator->() { return &*value; }
  const T* operator->() const { return &*value; }
};

}  // namespace talvero::dao
