#include "platform/help/help_service.h"

#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/files/file_reason.h"
#include "platform/files/whole_file.h"
#include "platform/ui/prompter.h"
#include "runtime/text.h"

namespace talvero {
namespace {

std::string Describe(int context) {
  if (context == HelpService::kContentsContext) return "The help contents (topic 7001)";
  return "Help topic " + std::to_string(context);
}

HelpService* installed = nullptr;

}  // namespace

HelpService::HelpService(std::string directory)
    : directory_(directory.empty() ? "." : std::move(directory)), path_(directory_ + "/" + kFileName) {}

// Far more than the help file holds: anything larger is no help file.
constexpr uint64_t kMaxHelpBytes = 16 << 20;

std::optional<HelpFile> HelpService::Load() const {
  const FileRead file = ReadWholeFile(path_, 0, kMaxHelpBytes);
  if (!file) return std::nullopt;
  return HelpFile::Parse(file.bytes);
}

std::optional<HelpFile> HelpService::LoadFor(const std::string& what) const {
  const FileRead file = ReadWholeFile(path_, 0, kMaxHelpBytes);
  if (file) return HelpFile::Parse(file.bytes);
  if (file.reason == FileErrorText(ENOENT)) {
    ThePrompter().Critical(what + " cannot be shown: the help file is not installed at " + path_ + ".");
  } else {
    const std::string why = file.end == FileRead::End::OutOfBounds
                                ? "it " + HoldsText(file) + ", too many for a help file"
                                : file.reason;
    ThePrompter().Critical(what + " cannot be shown: the help file " + path_ + " cannot be read: " + why + ".");
  }
  return std::nullopt;
}

bool HelpService::Present(const HelpTopic& topic, HelpWindow window) const {
  if (display_)
    display_(topic, window);
  else
    ThePrompter().Info(topic.text, topic.title);
  return true;
}

bool HelpService::ShowFrom(const HelpFile& file, int context, HelpWindow window, const std::string& what) const {
  if (const HelpTopic* topic = file.Find(context)) return Present(*topic, window);
  ThePrompter().Critical(what + " cannot be shown: it is not in the help file " + path_ + ".");
  return false;
}

bool HelpService::ShowHelpContents() { return ShowTopic(kContentsContext, HelpWindow::Main); }

bool HelpService::ShowTopic(int context, HelpWindow window) {
  const std::string what = Describe(context);
  const std::optional<HelpFile> file = LoadFor(what);
  return file && ShowFrom(*file, context, window, what);
}

bool HelpService::ShowHelpPopup(int context) {
  const std::string what = Describe(context);
  const std::optional<HelpFile> file = LoadFor(what);
  if (!file) return false;
  if (const HelpTopic* topic = file->Find(context)) return Present(*topic, HelpWindow::Popup);
  // The list asks for a row's topic: for a row with nothing on it, or one the
  // file does not know, the topic of the list the row is in tells more than a box.
  const int view = context < kParameterContextBase ? kProgramViewContext
                   : context < kEventContextBase   ? kParameterViewContext
                                                   : kEventViewContext;
  if (const HelpTopic* topic = file->Find(view)) return Present(*topic, HelpWindow::Popup);
  return ShowFrom(*file, kContentsContext, HelpWindow::Main, what);
}

bool HelpService::ShowHelpSearch(const std::string& keyword) {
  const std::optional<HelpFile> file = LoadFor("The help index");
  if (!file) return false;
  if (indexDisplay_) {
    const std::optional<int> chosen = indexDisplay_(keyword, file->Index(keyword));
    if (chosen) ShowFrom(*file, *chosen, HelpWindow::Main, Describe(*chosen));
    return true;
  }
  const std::optional<std::string> typed = ThePrompter().Input("Search the help for:", HelpWindowTitle({}), keyword);
  if (!typed) return false;
  const std::vector<HelpIndexEntry> entries = file->Index(*typed);
  if (entries.empty()) {
    ThePrompter().Info("No help topic is listed under \"" + *typed + "\".");
    return false;
  }
  return ShowFrom(*file, entries.front().context, HelpWindow::Main, Describe(entries.front().context));
}

std::string HelpWindowTitle(const HelpTopic& topic) {
  static const std::string name = "Talvero Help";
  if (topic.title.empty() || rt::LCase(topic.title) == rt::LCase(name)) return name;
  return name + " - " + topic.title;
}

HelpService& TheHelp() {
  if (installed) return *installed;
  static HelpService beside(ProgramDirectory());
  return beside;
}

void SetHelpService(HelpService* service) { installed = service; }

std::string ProgramDirectory() {
  char buf[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  std::string path(buf, std::size_t(n));
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace talvero
