#include "wizards/param_access.h"

#include <algorithm>

#include "mainwin/main_win.h"
#include "platform/ui/prompter.h"
#include "runtime/text.h"

namespace wizards {

std::string ParamAccess::Read(const std::string& name) {
  if (win_.CurNode < 0) return win_.Internal_read(name);
  return win_.Link.ValueOf(win_.CurNode, name);
}

bool ParamAccess::IsFamily(const std::string& code) { return win_.AxisTypeMatch(code, win_.CurNode); }

bool ParamAccess::ChP(const std::string& name, const std::string& value) {
  const std::string n = rt::UCase(rt::Trim(name));
  const std::string v = rt::UCase(rt::Trim(value));
  if (!win_.AxisSelected) return false;
  const bool taken = win_.CurNode < 0 ? win_.Internal_write(n, v)
                                      : win_.Link.Exec(win_.CurNode, "!" + n + "=" + v);
  journal_.push_back({n, v, taken});
  return taken;
}

std::vector<std::string> ParamAccess::Unwritten() const {
  std::vector<std::string> names;
  for (size_t i = 0; i < journal_.size(); ++i) {
    const JournalEntry& e = journal_[i];
    const bool last = std::none_of(journal_.begin() + long(i) + 1, journal_.end(),
                                   [&](const JournalEntry& later) { return later.name == e.name; });
    if (last && !e.taken) names.push_back(e.name);
  }
  return names;
}

void ParamAccess::WarnUnwritten() const {
  const std::vector<std::string> names = Unwritten();
  if (!names.empty()) talvero::ThePrompter().Critical(UnwrittenText(names));
}

std::string UnwrittenText(const std::vector<std::string>& names) {
  std::string text = "These parameters were not written to the axis:\n";
  for (size_t i = 0; i < names.size(); ++i) text += (i ? ", " : "") + names[i];
  return text;
}

}  // namespace wizards
