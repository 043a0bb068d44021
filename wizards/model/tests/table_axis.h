#pragma once
// An axis for the page tests: present values from a table ("0" for any
// other name), its family, and every name read, in order.
#include <map>
#include <string>
#include <vector>

#include "wizards/model/axis_port.h"

struct TableAxis : wizards::AxisPort {
  std::map<std::string, std::string> values;
  std::string family = "RHO";
  std::vector<std::string> reads;

  std::string Read(const std::string& name) override {
    reads.push_back(name);
    auto it = values.find(name);
    return it == values.end() ? "0" : it->second;
  }
  bool IsFamily(const std::string& code) override { return code == family; }
};
