#pragma once
// Every message box, input box and file / colour / printer dialog goes
// through a Prompter, so forms and tests agree on what the user was asked.
#include <cstdint>
#include <optional>
#include <string>

namespace talvero {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

struct MessageBox {
  std::string text;   // lines joined by "\n"
  std::string title = "Talvero";
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  int defaultButton = 0;  // 0 = first button, 1 = second, ...
};

struct FileDialog {
  std::string title;
  std::string filter;        // "Applications (*.APP)|*.APP|All files (*.*)|*.*"
  int filterIndex = 1;
  std::string defaultExt;    // without the point
  std::string fileName;      // initial name or folder
  bool mustExist = false;
  bool confirmOverwrite = false;
};

class Prompter {
 public:
  virtual ~Prompter() = default;
  virtual Answer Message(const MessageBox& box) = 0;
  // nullopt when the user cancels.
  virtual std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                           const std::string& defaultText) = 0;
  virtual std::optional<std::string> OpenFile(const FileDialog& dialog) = 0;
  virtual std::optional<std::string> SaveFile(const FileDialog& dialog) = 0;
  virtual std::optional<uint32_t> PickColour(uint32_t initialRgb) = 0;
  virtual bool PrinterSetup() = 0;

  // Shorthands for the common boxes. Plain is OK alone with no icon: what a
  // message is unless it names an icon.
  Answer Plain(const std::string& text, const std::string& title = "Talvero");
  // OK alone with the information icon.
  Answer Info(const std::string& text, const std::string& title = "Talvero");
  Answer Critical(const std::string& text, const std::string& title = "Talvero");
  // OK and Cancel, question icon; true only on OK.
  bool Confirm(const std::string& text, const std::string& title = "Talvero");
};

// A box's text as it is shown: a text longer than kMaxBoxChars characters (a
// name or an entry from a file or a drive can be megabytes) keeps its start
// and its end, the middle cut to "…", so the box stays quick and readable.
constexpr size_t kMaxBoxChars = 2000;
std::string BoxText(const std::string& text);

// The process-wide prompter; the user interface installs the real one, tests
// a scripted one. Without either, every box answers its first button.
Prompter& ThePrompter();
void SetPrompter(Prompter* prompter);

}  // namespace talvero
