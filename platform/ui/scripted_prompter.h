#pragma once
// A Prompter for tests: each expected box is scripted with its text, title and
// answer, in order. A box nobody expected, or one that differs from the
// script, is recorded as a failure that the test checks with Failures().
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/ui/prompter.h"

namespace talvero {

class ScriptedPrompter : public Prompter {
 public:
  // Installs itself as ThePrompter() for its lifetime.
  ScriptedPrompter();
  ~ScriptedPrompter() override;

  // An expected message box; an empty title matches any title.
  ScriptedPrompter& ExpectMessage(std::string text, Answer answer, std::string title = "Talvero");
  // Text is matched as a substring, for messages that carry a path or a reason.
  ScriptedPrompter& ExpectMessageContaining(std::string part, Answer answer);
  // An expected box in full: text, title, buttons, icon and default button.
  ScriptedPrompter& ExpectBox(MessageBox box, Answer answer);
  ScriptedPrompter& ExpectInput(std::string prompt, std::optional<std::string> answer);
  ScriptedPrompter& ExpectOpenFile(std::optional<std::string> answer);
  ScriptedPrompter& ExpectSaveFile(std::optional<std::string> answer);
  ScriptedPrompter& ExpectColour(std::optional<uint32_t> answer);
  ScriptedPrompter& ExpectPrinterSetup(bool answer);
  // Runs f while the box or dialog expected last is shown, before it is
  // answered: what a user or another program does meanwhile.
  ScriptedPrompter& WhileShown(std::function<void()> f);

  Answer Message(const MessageBox& box) override;
  std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) override;
  std::optional<std::string> OpenFile(const FileDialog& dialog) override;
  std::optional<std::string> SaveFile(const FileDialog& dialog) override;
  std::optional<uint32_t> PickColour(uint32_t initialRgb) override;
  bool PrinterSetup() override;

  // Unexpected or mismatched boxes, and (once checked) expected ones never shown.
  std::vector<std::string> Failures() const;
  bool AllShown() const { return script_.empty(); }
  // Every box shown, in order, as "title|text".
  const std::vector<std::string>& Shown() const { return shown_; }
  const std::vector<MessageBox>& Boxes() const { return boxes_; }
  const std::vector<FileDialog>& Dialogs() const { return dialogs_; }

 private:
  enum class Kind { Message, Input, OpenFile, SaveFile, Colour, Printer };
  struct Step {
    Kind kind;
    std::string text;
    std::string title;
    bool substring = false;
    Answer answer = Answer::Ok;
    std::optional<std::string> textAnswer;
    std::optional<uint32_t> colourAnswer;
    bool printerAnswer = false;
    std::optional<MessageBox> shape;  // buttons, icon and default checked too
    std::function<void()> whileShown = {};
  };
  const Step* Next(Kind kind, const std::string& what);

  Prompter* previous_ = nullptr;
  std::deque<Step> script_;
  Step current_{};
  std::vector<std::string> failures_;
  std::vector<std::string> shown_;
  std::vector<MessageBox> boxes_;
  std::vector<FileDialog> dialogs_;
};

}  // namespace talvero
