#include "wizards/param_access.h"

#include <algorithm>

#include <QWidget>

#include "mainwin/drive_read.h"
#include "mainwin/main_win.h"
#include "platform/ui/prompter.h"
#include "runtime/text.h"

namespace wizards {

ParamAccess::PageRead::PageRead(ParamAccess& access, QWidget* window)
    : access_(access), outer_(access.top_), node_(access.win_.CurNode), window_(window) {
  if (outer_ && outer_->node_ == node_) {
    read_ = outer_->read_;
  } else if (node_ >= 0) {
    own_ = std::make_unique<mainwin::DriveRead>(access.win_, node_);
    read_ = own_.get();
    if (window) {
      ISP& link = access.win_.Link;
      gate_ = link.BeforeRetry;
      link.BeforeRetry = [this](int n) {
        Hold();
        return gate_(n);
      };
    }
  }
  access.top_ = this;
}

ParamAccess::PageRead::~PageRead() {
  access_.top_ = outer_;
  if (gate_) access_.win_.Link.BeforeRetry = gate_;
  if (held_ && window_) window_->setEnabled(true);
}

void ParamAccess::PageRead::Hold() {
  if (held_ || !window_ || !window_->isEnabled()) return;
  window_->setEnabled(false);
  held_ = true;
}

bool ParamAccess::PageRead::Failed() const { return read_ && read_->Failed(); }

std::string ParamAccess::PageRead::NotAnswering() const { return read_ ? read_->NotAnswering() : std::string(); }

std::string ParamAccess::Read(const std::string& name) {
  if (!top_) {
    const PageRead lone(*this);
    return Read(name);
  }
  const PageRead& r = *top_;
  if (r.node_ < 0) return win_.Internal_read(name);
  std::string value;
  if (!r.read_->Ask([&] { value = win_.Link.ValueOf(r.node_, name); })) return "";
  return value;
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
