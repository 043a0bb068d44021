#include "editing/model/program_read.h"

namespace talvero {

namespace {
constexpr int kLastLine = 255;
}

ProgramReadResult ReadDriveProgram(ProgramLineSource& source,
                                   const std::function<void(int line, const std::string& text)>& step,
                                   const std::function<void(int line)>& progress) {
  ProgramReadResult result;
  int line = 0;
  while (line <= kLastLine) {
    if (progress) progress(line);
    const std::optional<std::string> reply = source.Line(line);
    if (!reply) {
      result.complete = false;
      result.failedLine = line;
      return result;
    }
    if (!reply->empty() && reply->front() == ' ') {
      if (reply->size() < 2) break;
      const int next = static_cast<unsigned char>(reply->back());
      if (next == 0 || next <= line) break;
      line = next;
      continue;
    }
    if (!reply->empty() && step) step(line, *reply);
    ++line;
  }
  return result;
}

}  // namespace talvero
