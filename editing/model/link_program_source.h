#pragma once
// A drive's program lines over the link: the active program (name "") or
// the library edit buffer. A request the link gave up on reads as failed.
#include <string>

#include "editing/model/program_read.h"
#include "link/failure_watch.h"
#include "link/isp.h"

namespace talvero {

class LinkProgramSource : public ProgramLineSource {
 public:
  LinkProgramSource(ISP& link, int node, std::string name) : link_(link), node_(node), name_(std::move(name)) {}
  std::optional<std::string> Line(int line) override {
    FailureWatch watch(link_);
    std::string reply = link_.GetPgmLine(node_, uint8_t(line), name_);
    if (watch.Failed()) return std::nullopt;
    return reply;
  }

 private:
  ISP& link_;
  int node_;
  std::string name_;
};

}  // namespace talvero
