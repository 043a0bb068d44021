#pragma once
// The wizards' one way to the selected axis: the read rule and ChP. The
// selection is looked up at every call, so a window that stays open follows
// the tree. Each write is kept in the run's journal; a run that had writes
// refused ends with one warning naming them.
#include <string>
#include <vector>

#include "wizards/model/axis_port.h"

class MainWin;

namespace wizards {

struct JournalEntry {
  std::string name;
  std::string value;
  bool taken = false;
};

class ParamAccess : public AxisPort {
 public:
  explicit ParamAccess(MainWin& win) : win_(win) {}

  // Off-line from the application axis ("MISSING" or "" read "0"), on-line
  // from the drive ("0" when it does not answer).
  std::string Read(const std::string& name) override;
  bool IsFamily(const std::string& code) override;

  // Writes one parameter, name and value trimmed and in capitals; true when
  // the drive acknowledged it or the application stored it. Without a
  // selected axis nothing is written, nothing journalled, and false comes back.
  bool ChP(const std::string& name, const std::string& value);

  // A run of writes: the journal starts empty.
  void BeginRun() { journal_.clear(); }
  const std::vector<JournalEntry>& Journal() const { return journal_; }
  // Parameters whose last write in the run was refused, in write order.
  std::vector<std::string> Unwritten() const;
  // The critical box listing them; nothing when every write was taken.
  void WarnUnwritten() const;

  MainWin& Win() { return win_; }

 private:
  MainWin& win_;
  std::vector<JournalEntry> journal_;
};

// The warning's text for the refused parameters.
std::string UnwrittenText(const std::vector<std::string>& names);

}  // namespace wizards
