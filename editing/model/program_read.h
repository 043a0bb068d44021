#pragma once
// Reading a program from a drive line by line. The drive answers an empty
// line with a skip reply: a blank and the number of the next line holding a
// step, or a lone blank when none follows. The program view and the program
// transfers read through here.
#include <functional>
#include <optional>
#include <string>

namespace talvero {

// Where the lines come from: nullopt when the request failed (the drive did
// not answer), otherwise the drive's reply.
class ProgramLineSource {
 public:
  virtual ~ProgramLineSource() = default;
  virtual std::optional<std::string> Line(int line) = 0;
};

struct ProgramReadResult {
  bool complete = true;  // false: a request failed, what was read is partial
  int failedLine = -1;
};

// Reads lines 0..255 from the source. progress(line) before each request;
// step(line, text) for each line holding a step. A skip reply to a line at
// or before the one just read ends the read, as a lone blank does, so a
// confused drive cannot make it go round for ever.
ProgramReadResult ReadDriveProgram(ProgramLineSource& source,
                                   const std::function<void(int line, const std::string& text)>& step,
                                   const std::function<void(int line)>& progress = {});

}  // namespace talvero
