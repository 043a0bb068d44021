#include "editing/model/step_list_edit.h"

#include <algorithm>

namespace talvero {

namespace {

bool Empty(const Program& pgm, int line) { return pgm.Get_Op(line) < 0; }

}  // namespace

void CopyLine(const Program& from, int fromLine, Program& to, int toLine) {
  to.Set_Op(from.Get_Op(fromLine), toLine);
  to.Set_p1(from.Get_p1(fromLine), toLine);
  to.Set_p2(from.Get_p2(fromLine), toLine);
}

void CopySteps(const Program& pgm, int curRow, int count, StepClip& clip) {
  for (int i = curRow; i < curRow + count && i <= kLastLine; ++i) CopyLine(pgm, i, clip.ClipPgm, i - curRow);
  clip.ClipCount = count;
  clip.ClipFilled = true;
}

bool PasteFits(int curRow, int clipCount) { return curRow + clipCount - 1 <= kLastLine; }

bool PasteSteps(Program& pgm, const StepClip& clip, int curRow, StepSink& sink) {
  for (int i = curRow; i < curRow + clip.ClipCount; ++i) {
    CopyLine(clip.ClipPgm, i - curRow, pgm, i);
    if (!sink.Write(i, false)) return false;
  }
  return !sink.Drive() || sink.Write(curRow, true);
}

bool ClearSteps(Program& pgm, int curRow, int count, StepSink& sink) {
  for (int i = curRow; i < curRow + count && i <= kLastLine; ++i) {
    pgm.MakeEmpty(i);
    if (!sink.Write(i, false)) return false;
  }
  return !sink.Drive() || sink.Write(curRow, true);
}

bool InsertLosesSteps(const Program& pgm, int curRow, int n) {
  for (int line = std::max(curRow, kLastLine + 1 - n); line <= kLastLine; ++line)
    if (pgm.Get_Op(line) >= 0) return true;
  return false;
}

bool InsertSteps(Program& pgm, int curRow, int n, StepSink& sink) {
  for (int i = kLastLine - n; i >= curRow; --i) {
    if (Empty(pgm, i) && Empty(pgm, i + n)) continue;
    CopyLine(pgm, i, pgm, i + n);
    if (!sink.Write(i + n, false)) return false;
  }
  // The gap's last line on the program closes the command, also when the
  // gap runs past the end.
  const int last = std::min(curRow + n - 1, kLastLine);
  for (int line = curRow; line <= last; ++line) {
    pgm.MakeEmpty(line);
    if (!sink.Write(line, line == last)) return false;
  }
  return true;
}

bool DeleteSteps(Program& pgm, int curRow, int n, StepSink& sink) {
  for (int i = curRow; i <= kLastLine - n; ++i) {
    if (Empty(pgm, i) && Empty(pgm, i + n)) continue;
    CopyLine(pgm, i + n, pgm, i);
    if (!sink.Write(i, false)) return false;
  }
  const int first = std::max(kLastLine + 1 - n, curRow);
  for (int line = kLastLine; line >= first; --line) {
    pgm.MakeEmpty(line);
    if (!sink.Write(line, line == first)) return false;
  }
  return true;
}

}  // namespace talvero
