#include "mainwin/model/file_menu.h"

#include <filesystem>
#include <system_error>

namespace talvero {

namespace {

MessageBox Critical(std::string text) {
  return MessageBox{std::move(text), "Talvero", Buttons::Ok, Icon::Critical};
}

bool PlainFileName(const std::string& name) {
  if (name.find_first_not_of(' ') == std::string::npos) return false;
  if (name.find("..") != std::string::npos) return false;
  for (unsigned char c : name)
    if (c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ';') return false;
  return true;
}

SlotChoice Full() {
  SlotChoice c;
  c.message = Critical("Too many applications open; Maximum is 16.");
  return c;
}

}  // namespace

FileDialog OpenAppDialog() {
  FileDialog d;
  d.title = "Restore application from...";
  d.filter = "*.APP|*.APP";
  d.filterIndex = 1;
  d.defaultExt = "APP";
  d.fileName = "*.APP";
  d.mustExist = true;
  return d;
}

MessageBox DeleteAxisQuestion(const std::string& axisName) {
  return MessageBox{"Really delete " + axisName + "?", "Talvero", Buttons::OkCancel, Icon::Question};
}

NewAppName CheckNewAppName(const std::optional<std::string>& answer, const std::string& dir,
                           const std::function<bool(const std::string& path)>& fileExists) {
  NewAppName r;
  if (!answer || answer->empty()) {
    r.cancelled = true;
    return r;
  }
  if (!PlainFileName(*answer)) {
    r.refusal = Critical(
        "Invalid application name. Use a plain file name, without \"/\", \"\\\", \";\", "
        "\"..\" or control characters.");
    return r;
  }
  std::string path = dir;
  if (!path.empty() && path.back() != '/') path += '/';
  path += *answer + ".APP";
  if (fileExists && fileExists(path)) {
    r.refusal = Critical("The application " + path + " already exists. Choose another name.");
    return r;
  }
  r.path = std::move(path);
  return r;
}

std::string RealPath(const std::string& path) {
  std::error_code ec;
  auto p = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
  return ec ? path : p.string();
}

std::string OpenAppFailure(const std::string& path, const std::string& why) {
  std::string reason = why;
  for (const char* verb : {"can't open ", "can't read "})
    if (const std::string named = verb + path + ": "; reason.rfind(named, 0) == 0) reason.erase(0, named.size());
  const std::string tail = ": " + path;
  if (reason.size() > tail.size() && reason.compare(reason.size() - tail.size(), tail.size(), tail) == 0)
    reason.resize(reason.size() - tail.size());
  return "Can't open application " + path + ": " + reason;
}

SlotChoice ChooseSlotForOpen(const std::string& path, const AppSlotViews& slots,
                             const std::function<std::string(const std::string&)>& realPath) {
  const std::string real = realPath ? realPath(path) : path;
  for (int i = 0; i < kAppSlots; ++i)
    if (slots[size_t(i)].open && slots[size_t(i)].realPath == real)
      return {SlotChoiceKind::SelectOpen, i + 1, std::nullopt};
  return ChooseSlotForNew(slots);
}

SlotChoice ChooseSlotForNew(const AppSlotViews& slots) {
  for (int i = 0; i < kAppSlots; ++i)
    if (!slots[size_t(i)].open) return {SlotChoiceKind::OpenInto, i + 1, std::nullopt};
  return Full();
}

}  // namespace talvero
