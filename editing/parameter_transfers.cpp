// Parameter sets and events between a drive, an application axis and the
// parameter copy buffer.
#include <QProgressBar>

#include "editing/copy_run.h"
#include "editing/editor.h"
#include "editing/model/transfer_rules.h"
#include "editing/transfers.h"
#include "link/failure_watch.h"
#include "mainwin/main_win.h"
#include "mainwin/model/axis_type_match.h"
#include "platform/dao/database.h"
#include "platform/dao/recordset.h"
#include "platform/ui/prompter.h"
#include "runtime/text.h"
#include "store/applic.h"

namespace editing {

namespace {

void Say(const std::string& text) { talvero::ThePrompter().Plain(text); }

std::string EventName(int i) { return ":E" + std::to_string(i); }

struct Record {
  std::string name, type, rw;
};

// The Parameters table in record order.
std::vector<Record> Records(talvero::dao::Recordset* rs) {
  std::vector<Record> records;
  if (!rs) return records;
  for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
    records.push_back({rs->Text("Name"), rs->Text("Type"), rs->Text("rw")});
  return records;
}

// Writes name/value pairs into the axis in one transaction; false (the
// reason shown) when nothing was stored.
bool StoreAll(Applic& app, int16_t axis, const std::vector<std::pair<std::string, std::string>>& values) {
  talvero::dao::Database* db = app.Database();
  if (!db) return false;
  talvero::dao::Transaction tx(*db);
  talvero::dao::Status s = tx.Started();
  for (size_t i = 0; s.ok() && i < values.size(); ++i) s = app.PutParam(axis, values[i].first, values[i].second);
  if (s.ok()) s = tx.Commit();
  if (!s.ok()) Say(s.error);
  return s.ok();
}

}  // namespace

void Transfers::PA_Copy_Array_Click(const talvero::CopyTarget& target) {
  const std::vector<Record> records = Records(win_.ParametersRS);
  std::vector<std::pair<std::string, std::string>> values;

  if (target.kind == talvero::TargetKind::AppAxis) {
    // A drive's set into an application axis: every value read before any is stored.
    Applic* app = AppInSlot(target.app);
    const int node = win_.CurNode;
    if (!app || node < 0) return;
    const std::string family = win_.NodeTables.FamilyOf(node);
    std::vector<std::string> names;
    for (const Record& r : records)
      if (talvero::AxisTypeMatch(r.type, family)) names.push_back(r.name);
    CopyRun run(win_, node);
    if (!run) return;
    FailureWatch watch(win_.Link);
    for (size_t k = 0; k < names.size(); ++k) {
      run.Progress(talvero::TransferProgress(k + 1, names.size()));
      values.emplace_back(names[k], win_.Link.ValueOf(node, names[k]));
      if (watch.Failed())
        return NotAnswered(node, "the copy stopped at " + names[k] + " and nothing was stored.");
    }
    StoreAll(*app, int16_t(target.axis), values);
    return;
  }

  Applic* app = Ed().SelectedApp();
  const auto axis = int16_t(-win_.CurNode);
  if (!app || axis <= 0) return;

  if (target.kind == talvero::TargetKind::Drive) {
    const int node = target.node;
    const std::string family = win_.NodeTables.FamilyOf(node);
    const bool service = win_.ServiceMode();
    for (const Record& r : records) {
      if (!talvero::AxisTypeMatch(r.type, family)) continue;
      if (rt::SameText(r.rw, "N") && !service) continue;  // read-only outside service mode
      if (auto v = app->FindParam(axis, r.name)) values.emplace_back(r.name, *v);
    }
    CopyRun run(win_, node);
    if (!run) return;
    std::vector<std::string> notNumbers;
    FailureWatch watch(win_.Link);
    for (size_t k = 0; k < values.size(); ++k) {
      run.Progress(talvero::TransferProgress(k + 1, values.size()));
      const auto text = talvero::DriveNumberText(values[k].second);
      if (!text) {
        notNumbers.push_back(values[k].first);
        continue;
      }
      win_.Link.Exec(node, "!" + values[k].first + "=" + *text);
      if (watch.Failed()) return NotAnswered(node, "the copy stopped at " + values[k].first + ".");
    }
    run.Pause();
    if (!notNumbers.empty())
      Say("These parameters hold no number and were not sent: " + talvero::JoinNames(notNumbers));
    return;
  }

  if (target.kind == talvero::TargetKind::ParameterCopyBuffer) {
    CopyRun run(win_, win_.CurNode);
    if (!run) return;
    for (size_t k = 0; k < records.size(); ++k) {
      run.Progress(talvero::TransferProgress(k + 1, records.size()));
      if (auto v = app->FindParam(axis, records[k].name)) values.emplace_back(records[k].name, rt::Trim(*v));
    }
    buffer_ = std::move(values);
    win_.ParameterCopyCount = int(buffer_.size());
    win_.ParameterCopyFamily = app->WhatType(axis);
  }
}

void Transfers::PA_Paste_Click() {
  Applic* app = Ed().SelectedApp();
  const auto axis = int16_t(-win_.CurNode);
  if (!app || axis <= 0) return;
  if (buffer_.empty() || win_.ParameterCopyCount <= 0 ||
      !rt::SameText(win_.ParameterCopyFamily, app->WhatType(axis)))
    return Say("The Parameter Copy Buffer holds no parameters of this axis' drive family; nothing was pasted.");
  CopyRun run(win_, win_.CurNode);
  if (!run) return;
  StoreAll(*app, axis, buffer_);
}

void Transfers::TH_Copy_Array_Click(const talvero::CopyTarget& target) {
  Applic* app = AppInSlot(target.app);
  const int node = win_.CurNode;
  if (!app || target.kind != talvero::TargetKind::AppAxis || node < 0) return;
  CopyRun run(win_, node);
  if (!run) return;
  std::vector<std::pair<std::string, std::string>> events;
  FailureWatch watch(win_.Link);
  for (int i = 0; i < 10; ++i) {
    std::string t = win_.Link.GetThread(node, uint8_t(i));
    if (watch.Failed()) return NotAnswered(node, "the events were not copied.");
    events.emplace_back(EventName(i), t.empty() ? " " : t);
  }
  StoreAll(*app, int16_t(target.axis), events);
}

void Transfers::EV_Copy_Array_Click(const talvero::CopyTarget& target) {
  Applic* app = Ed().SelectedApp();
  const auto axis = int16_t(-win_.CurNode);
  if (!app || axis <= 0 || target.kind != talvero::TargetKind::Drive) return;
  const int node = target.node;
  std::vector<std::string> events;
  // A missing event row is an empty event: it clears the drive's.
  for (int i = 0; i < 10; ++i) events.push_back(rt::Trim(app->FindParam(axis, EventName(i)).value_or("")));
  CopyRun run(win_, node);
  if (!run) return;
  FailureWatch watch(win_.Link);
  for (int i = 0; i < 10; ++i) {
    win_.Link.SetThread(node, i, events[size_t(i)]);
    if (watch.Failed()) return NotAnswered(node, "the copy stopped at event " + std::to_string(i) + ".");
  }
}

void Transfers::EnableAll(bool on) {
  if (win_.CurNode < 0) return;
  Ed().EnableEvents(on);
}

}  // namespace editing
