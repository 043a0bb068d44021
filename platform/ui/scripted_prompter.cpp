#include "platform/ui/scripted_prompter.h"

namespace talvero {

namespace {
const char* KindName(int k) {
  static const char* names[] = {"message", "input", "open file", "save file", "colour", "printer"};
  return names[k];
}

std::string ShapeOf(const MessageBox& b) {
  static const char* buttons[] = {"Ok", "OkCancel", "YesNo", "YesNoCancel", "RetryCancel", "AbortRetryIgnore"};
  static const char* icons[] = {"no icon", "critical", "question", "exclamation", "information"};
  return std::string(buttons[int(b.buttons)]) + ", " + icons[int(b.icon)] + ", default " +
         std::to_string(b.defaultButton);
}
}  // namespace

ScriptedPrompter::ScriptedPrompter() : previous_(&ThePrompter()) { SetPrompter(this); }

ScriptedPrompter::~ScriptedPrompter() {
  // Restore whatever was installed before, unless it was the silent default.
  SetPrompter(nullptr);
  if (previous_ != &ThePrompter()) SetPrompter(previous_);
}

ScriptedPrompter& ScriptedPrompter::ExpectMessage(std::string text, Answer answer, std::string title) {
  script_.push_back({Kind::Message, std::move(text), std::move(title), false, answer, {}, {}, false, {}});
  return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectMessageContaining(std::string part, Answer answer) {
  script_.push_back({Kind::Message, std::move(part), "", true, answer, {}, {}, false, {}});
  return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectBox(MessageBox box, Answer answer) {
  Step s{Kind::Message, box.text, box.title, false, answer, {}, {}, false, {}};
  s.shape = std::move(box);
  script_.push_back(std::move(s));
  return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectInput(std::string prompt, std::optional<std::string> answer) {
  script_.push_back({Kind::Input, std::move(prompt), "", true, Answer::Ok, std::move(answer), {}, false, {}});
  return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectOpenFile(std::optional<std::string> answer) {
  script_.push_back({Kind::OpenFile, "", "", true, Answer::Ok, std::move(answer), {}, false, {}});
  return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectSaveFile(std::optional<std::string> answer) {
  script_.push_back({Kind::SaveFile, "", "", true, Answer::Ok, std::move(answer), {}, false, {}});
  return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectColour(std::optional<uint32_t> answer) {
  script_.push_back({Kind::Colour, "", "", true, Answer::Ok, {}, answer, false, {}});
  return *this;
}

ScriptedPrompter& ScriptedPrompter::ExpectPrinterSetup(bool answer) {
  script_.push_back({Kind::Printer, "", "", true, Answer::Ok, {}, {}, answer, {}});
  return *this;
}

ScriptedPrompter& ScriptedPrompter::WhileShown(std::function<void()> f) {
  if (script_.empty()) failures_.push_back("WhileShown with no box expected");
  else script_.back().whileShown = std::move(f);
  return *this;
}

const ScriptedPrompter::Step* ScriptedPrompter::Next(Kind kind, const std::string& what) {
  if (script_.empty()) {
    failures_.push_back(std::string("unexpected ") + KindName(int(kind)) + ": " + what);
    return nullptr;
  }
  current_ = script_.front();
  script_.pop_front();
  if (current_.kind != kind) {
    failures_.push_back(std::string("expected a ") + KindName(int(current_.kind)) + ", got a " +
                        KindName(int(kind)) + ": " + what);
    return nullptr;
  }
  if (current_.whileShown) current_.whileShown();
  return &current_;
}

Answer ScriptedPrompter::Message(const MessageBox& shownBox) {
  // What the real box would show.
  MessageBox box = shownBox;
  box.text = BoxText(box.text);
  shown_.push_back(box.title + "|" + box.text);
  boxes_.push_back(box);
  const Step* s = Next(Kind::Message, box.title + "|" + box.text);
  if (!s) return Answer::Cancel;
  bool textOk = s->substring ? box.text.find(s->text) != std::string::npos : box.text == s->text;
  bool titleOk = s->title.empty() || s->title == box.title;
  if (!textOk || !titleOk)
    failures_.push_back("expected box \"" + s->title + "|" + s->text + "\", got \"" + box.title +
                        "|" + box.text + "\"");
  if (s->shape && ShapeOf(*s->shape) != ShapeOf(box))
    failures_.push_back("box \"" + box.text + "\": expected " + ShapeOf(*s->shape) + ", got " + ShapeOf(box));
  return s->answer;
}

std::optional<std::string> ScriptedPrompter::Input(const std::string& prompt, const std::string& title,
                                                   const std::string&) {
  shown_.push_back(title + "|" + prompt);
  const Step* s = Next(Kind::Input, prompt);
  if (!s) return std::nullopt;
  if (prompt.find(s->text) == std::string::npos)
    failures_.push_back("expected input box \"" + s->text + "\", got \"" + prompt + "\"");
  return s->textAnswer;
}

std::optional<std::string> ScriptedPrompter::OpenFile(const FileDialog& dialog) {
  shown_.push_back("open|" + dialog.title);
  dialogs_.push_back(dialog);
  const Step* s = Next(Kind::OpenFile, dialog.title);
  return s ? s->textAnswer : std::nullopt;
}

std::optional<std::string> ScriptedPrompter::SaveFile(const FileDialog& dialog) {
  shown_.push_back("save|" + dialog.title);
  dialogs_.push_back(dialog);
  const Step* s = Next(Kind::SaveFile, dialog.title);
  return s ? s->textAnswer : std::nullopt;
}

std::optional<uint32_t> ScriptedPrompter::PickColour(uint32_t) {
  shown_.push_back("colour|");
  const Step* s = Next(Kind::Colour, "colour");
  return s ? s->colourAnswer : std::nullopt;
}

bool ScriptedPrompter::PrinterSetup() {
  shown_.push_back("printer|");
  const Step* s = Next(Kind::Printer, "printer set-up");
  return s ? s->printerAnswer : false;
}

std::vector<std::string> ScriptedPrompter::Failures() const {
  std::vector<std::string> all = failures_;
  for (const Step& s : script_)
    all.push_back(std::string("never shown: ") + KindName(int(s.kind)) + " \"" + s.text + "\"");
  return all;
}

}  // namespace talvero
