#pragma once
// The wizards' one way to the selected axis: the read rule and ChP. The
// selection is looked up at every call, so a window that stays open follows
// the tree. Each write is kept in the run's journal; a run that had writes
// refused ends with one warning naming them.
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "wizards/model/axis_port.h"

class MainWin;
class QWidget;

namespace mainwin {
class DriveRead;
}

namespace wizards {

struct JournalEntry {
  std::string name;
  std::string value;
  bool taken = false;
};

class ParamAccess : public AxisPort {
 public:
  explicit ParamAccess(MainWin& win) : win_(win) {}

  // One read of the selected axis: what a window's opening or a page change
  // reads, the reads it sets off meanwhile joined to it. On a drive, once a
  // request has failed all its tries the rest of the read is not sent, and
  // a drive known to be silent gets one try. While a request waits for its
  // next try window events run; the window given then takes no input until
  // the read ends. The read keeps the node it began with.
  class PageRead {
   public:
    explicit PageRead(ParamAccess& access, QWidget* window = nullptr);
    ~PageRead();
    PageRead(const PageRead&) = delete;
    PageRead& operator=(const PageRead&) = delete;

    // A request failed all its tries: nothing the read gave may be shown or
    // written.
    bool Failed() const;
    int Node() const { return node_; }
    // "Node n does not answer".
    std::string NotAnswering() const;

   private:
    friend class ParamAccess;
    void Hold();

    ParamAccess& access_;
    PageRead* outer_;
    int node_;
    std::unique_ptr<mainwin::DriveRead> own_;
    mainwin::DriveRead* read_ = nullptr;
    std::function<bool(int)> gate_;  // the drive read's own, under the hold
    QPointer<QWidget> window_;
    bool held_ = false;
  };

  // Off-line from the application axis ("MISSING" or "" read "0"), on-line
  // from the drive through the read that is open (or a read of its own): ""
  // when it does not answer.
  std::string Read(const std::string& name) override;
  // A read is open: window events may run inside it.
  bool Reading() const { return top_ != nullptr; }
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
  PageRead* top_ = nullptr;
};

// The warning's text for the refused parameters.
std::string UnwrittenText(const std::vector<std::string>& names);

}  // namespace wizards
