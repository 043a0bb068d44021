#include "store/program.h"

#include "runtime/format.h"
#include "runtime/like.h"
#include "store/step_template.h"

Program::Program(talvero::dao::Recordset* steps, const DisplayContext* display) : steps_(steps), display_(display) {}

void Program::Attach(talvero::dao::Recordset* steps, const DisplayContext* display) {
  steps_ = steps;
  display_ = display;
}

bool Program::FindStepType(int16_t op) {
  return steps_ && steps_->Seek("id", int64_t(op)).ok() && !steps_->NoMatch();
}

std::string Program::Decomp(int line) {
  if (!InRange(line)) return {};
  const Step& s = lines_[size_t(line)];
  if (s.op < 0) return " ";
  std::string prefix = display_ && display_->StepNumbers ? rt::Format(line, "000: ") : std::string();
  if (s.op == 0) return prefix + "IML \"" + s.p1 + "\"";
  if (!FindStepType(s.op)) return prefix + "<unknown step " + std::to_string(s.op) + ">";
  static const std::string kDefaultUnits = DisplayContext().UnitsName;
  std::string text = FillTemplate(steps_->Text("GUI"), s.p1, s.p2, display_ ? &display_->UnitsName : &kDefaultUnits);
  // Labels stand at the left margin.
  if (!text.empty() && text.back() == ':') return prefix + text;
  return prefix + "     " + text;
}

std::string Program::Encode(int line) {
  if (!InRange(line)) return {};
  const Step& s = lines_[size_t(line)];
  if (s.op < 0) return {};
  if (s.op == 0) return s.p1;
  if (!FindStepType(s.op)) return {};
  return FillTemplate(steps_->Text("Prototype"), s.p1, s.p2);
}

void Program::Decode(int line, std::string_view text) {
  if (!InRange(line)) return;
  Step& s = lines_[size_t(line)];
  const bool tracking = text.substr(0, 4) == "!TRK" || text.substr(0, 4) == "!SWE";
  const bool textComma = text.find(',') != std::string_view::npos;
  if (steps_ && steps_->MoveFirst()) {
    for (; !steps_->Eof(); steps_->MoveNext()) {
      std::string proto = steps_->Text("Prototype");
      if (tracking && proto.find("~2") != std::string::npos) continue;
      PrototypePattern p = PrototypePattern::From(proto);
      bool commaRule = (proto.find(',') != std::string::npos) == textComma || p.lead == "OS" || p.lead == "OC";
      if (!commaRule || !rt::Like(text, p.pattern)) continue;
      s.op = int16_t(steps_->Field("id").Long());
      p.CutOperands(text, s.p1, s.p2);
      return;
    }
  }
  s.op = 0;
  s.p1 = std::string(text);
}

void Program::MakeEmpty(int line) {
  if (InRange(line)) lines_[size_t(line)] = Step{-1, "", ""};
}

void Program::Set_Op(int16_t op, int line) {
  if (InRange(line)) lines_[size_t(line)].op = op;
}

int16_t Program::Get_Op(int line) const { return InRange(line) ? lines_[size_t(line)].op : int16_t(-1); }
std::string Program::Get_p1(int line) const { return InRange(line) ? lines_[size_t(line)].p1 : std::string(); }
std::string Program::Get_p2(int line) const { return InRange(line) ? lines_[size_t(line)].p2 : std::string(); }

void Program::Set_p1(std::string_view text, int line) {
  if (InRange(line)) lines_[size_t(line)].p1 = std::string(text);
}

void Program::Set_p2(std::string_view text, int line) {
  if (InRange(line)) lines_[size_t(line)].p2 = std::string(text);
}
