#include "platform/ui/prompter.h"

namespace talvero {

namespace {
// Byte offset of the character `chars` characters into UTF-8 text.
size_t CharOffset(const std::string& s, size_t chars) {
  size_t i = 0;
  for (size_t n = 0; i < s.size() && n < chars; ++n) {
    ++i;
    while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
  }
  return i;
}
}  // namespace

std::string BoxText(const std::string& text) {
  size_t chars = 0;
  for (unsigned char c : text) chars += (c & 0xC0) != 0x80;
  if (chars <= kMaxBoxChars) return text;
  const size_t head = kMaxBoxChars * 3 / 4, tail = kMaxBoxChars - head - 1;
  return text.substr(0, CharOffset(text, head)) + "\xE2\x80\xA6" + text.substr(CharOffset(text, chars - tail));
}

Answer Prompter::Plain(const std::string& text, const std::string& title) {
  return Message({text, title, Buttons::Ok, Icon::None, 0});
}

Answer Prompter::Info(const std::string& text, const std::string& title) {
  return Message({text, title, Buttons::Ok, Icon::Information, 0});
}

Answer Prompter::Critical(const std::string& text, const std::string& title) {
  return Message({text, title, Buttons::Ok, Icon::Critical, 0});
}

bool Prompter::Confirm(const std::string& text, const std::string& title) {
  return Message({text, title, Buttons::OkCancel, Icon::Question, 0}) == Answer::Ok;
}

namespace {

// Stands in before the user interface exists (a command-line tool, a test
// that did not script anything): answers the first button of each box.
class SilentPrompter : public Prompter {
 public:
  Answer Message(const MessageBox& box) override {
    switch (box.buttons) {
      case Buttons::Ok:
      case Buttons::OkCancel: return Answer::Ok;
      case Buttons::YesNo:
      case Buttons::YesNoCancel: return Answer::Yes;
      case Buttons::RetryCancel: return Answer::Retry;
      case Buttons::AbortRetryIgnore: return Answer::Abort;
    }
    return Answer::Ok;
  }
  std::optional<std::string> Input(const std::string&, const std::string&,
                                   const std::string&) override { return std::nullopt; }
  std::optional<std::string> OpenFile(const FileDialog&) override { return std::nullopt; }
  std::optional<std::string> SaveFile(const FileDialog&) override { return std::nullopt; }
  std::optional<uint32_t> PickColour(uint32_t) override { return std::nullopt; }
  bool PrinterSetup() override { return false; }
};

Prompter* g_prompter = nullptr;

}  // namespace

Prompter& ThePrompter() {
  static SilentPrompter silent;
  return g_prompter ? *g_prompter : silent;
}

void SetPrompter(Prompter* prompter) { g_prompter = prompter; }

}  // namespace talvero
