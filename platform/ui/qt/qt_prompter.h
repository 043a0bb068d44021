#pragma once
// The Prompter with real Qt boxes and dialogs. Every box is modal over the
// active window; texts are shown as plain text.
#include <memory>

#include "platform/ui/prompter.h"

class QWidget;
class QPrinter;

namespace talvero {

class QtPrompter : public Prompter {
 public:
  QtPrompter();
  ~QtPrompter() override;

  Answer Message(const MessageBox& box) override;
  std::optional<std::string> Input(const std::string& prompt, const std::string& title,
                                   const std::string& defaultText) override;
  std::optional<std::string> OpenFile(const FileDialog& dialog) override;
  std::optional<std::string> SaveFile(const FileDialog& dialog) override;
  // Colours are legacy RGB values: red in the low byte, then green, then blue.
  std::optional<uint32_t> PickColour(uint32_t initialRgb) override;
  bool PrinterSetup() override;

  // Boxes open over this window when no window is active (the main window).
  void SetFallbackParent(QWidget* parent) { fallbackParent_ = parent; }

 private:
  QWidget* Parent() const;
  std::optional<std::string> RunFileDialog(const FileDialog& dialog, bool save);

  QWidget* fallbackParent_ = nullptr;
};

}  // namespace talvero
