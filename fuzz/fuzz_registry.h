#pragma once
// The targets linked into the replay test, by name.
#include <map>
#include <stdexcept>
#include <string>

#include "fuzz/fuzz_target.h"

namespace fuzz {

std::map<std::string, Entry>& Targets();

struct Violation : std::runtime_error {
  using std::runtime_error::runtime_error;
};

}  // namespace fuzz
