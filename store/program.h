#pragma once
// One motion program in memory: 256 steps, each an operation and two operand
// texts, converted to and from drive text and display text through the
// library's step types.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/dao/recordset.h"
#include "store/display_context.h"

class Program {
 public:
  static constexpr int kLines = 256;

  // The steps recordset and the display context stay the caller's; both
  // must outlive the program.
  explicit Program(talvero::dao::Recordset* steps = nullptr, const DisplayContext* display = nullptr);
  void Attach(talvero::dao::Recordset* steps, const DisplayContext* display);

  // Display text: " " for an empty step, "" for a line outside 0..255.
  std::string Decomp(int line);
  // Drive text: "" for an empty step or a line outside 0..255.
  std::string Encode(int line);
  // Sets the step from a drive text; the first step type that matches wins,
  // a text none matches becomes a raw line (operation 0).
  void Decode(int line, std::string_view text);

  void MakeEmpty(int line);
  void Set_Op(int16_t op, int line);
  int16_t Get_Op(int line) const;
  std::string Get_p1(int line) const;
  std::string Get_p2(int line) const;
  void Set_p1(std::string_view text, int line);
  void Set_p2(std::string_view text, int line);
  static int16_t GetMaxLines() { return kLines - 1; }

 private:
  struct Step {
    int16_t op = -1;
    std::string p1 = "0";
    std::string p2 = "0";
  };
  static bool InRange(int line) { return line >= 0 && line < kLines; }
  bool FindStepType(int16_t op);

  talvero::dao::Recordset* steps_;
  const DisplayContext* display_;
  std::array<Step, kLines> lines_;
};
