#pragma once
// A prompter put in front of another for as long as it lives: every box goes
// on to the one it replaced; a subclass watches or changes what it needs.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/ui/prompter.h"

namespace talvero {

class PassingPrompter : public Prompter {
 public:
  explicit PassingPrompter(Prompter& inner) : inner_(inner) { SetPrompter(this); }
  ~PassingPrompter() override { SetPrompter(&inner_); }
  Answer Message(const MessageBox& box) override { return inner_.Message(box); }
  std::optional<std::string> Input(const std::string& p, const std::string& t, const std::string& d) override {
    return inner_.Input(p, t, d);
  }
  std::optional<std::string> OpenFile(const FileDialog& d) override { return inner_.OpenFile(d); }
  std::optional<std::string> SaveFile(const FileDialog& d) override { return inner_.SaveFile(d); }
  std::optional<uint32_t> PickColour(uint32_t c) override { return inner_.PickColour(c); }
  bool PrinterSetup() override { return inner_.PrinterSetup(); }

 protected:
  Prompter& inner_;
};

}  // namespace talvero
