#pragma once
// The block commands of the program view on a Program: copy, paste, clear,
// insert and delete of whole lines. Every changed line is handed to a sink
// at once, which writes it where the program lives; a sink that refuses a
// write stops the command there.
#include <cstdint>

#include "store/program.h"

namespace talvero {

class StepSink {
 public:
  virtual ~StepSink() = default;
  // Writes line L as it now stands. The closing write of a command stores a
  // library program under its name. False stops the command.
  virtual bool Write(int line, bool closing) = 0;
  // A drive sends the current line once more to close Paste and Clear.
  virtual bool Drive() const = 0;
};

// The step clipboard; it outlives the program shown, so blocks travel
// between programs.
struct StepClip {
  Program ClipPgm;
  int ClipCount = 0;
  bool ClipFilled = false;
};

constexpr int kLastLine = 255;

void CopyLine(const Program& from, int fromLine, Program& to, int toLine);

// Lines curRow..curRow+count-1 into the clip.
void CopySteps(const Program& pgm, int curRow, int count, StepClip& clip);
// Whether the clip fits from curRow on (false: "Can't paste there").
bool PasteFits(int curRow, int clipCount);
bool PasteSteps(Program& pgm, const StepClip& clip, int curRow, StepSink& sink);
bool ClearSteps(Program& pgm, int curRow, int count, StepSink& sink);
// Whether inserting n lines at curRow pushes a step (raw lines included)
// past the last line.
bool InsertLosesSteps(const Program& pgm, int curRow, int n);
// n empty lines at curRow; the later lines go down, the last ones are lost.
bool InsertSteps(Program& pgm, int curRow, int n, StepSink& sink);
// Lines curRow..curRow+n-1 go; the later lines come up, the tail is emptied.
bool DeleteSteps(Program& pgm, int curRow, int n, StepSink& sink);

}  // namespace talvero
