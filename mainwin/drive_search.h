#pragma once
// Finding the drives on the line, one node at a time, and what is kept of
// each. Works over small interfaces so it runs against the link or a fake.
#include <functional>
#include <string>
#include <vector>

#include "mainwin/model/node_tables.h"

namespace mainwin {

// The link requests the search makes.
class DriveQueries {
 public:
  virtual ~DriveQueries() = default;
  virtual std::string WhoAmI(int node) = 0;
  // The identity request as the search makes it: `stop` is asked before each
  // further try, so a stopped search ends within one try.
  virtual std::string Identify(int node, const std::function<bool()>& /*stop*/) { return WhoAmI(node); }
  // Whether the last request brought bytes but no valid reply (damage, as
  // against silence).
  virtual bool LastReplyDamaged() { return false; }
  virtual std::string GetDriveName(int node) = 0;
  virtual std::string GetSerial(int node) = 0;
  virtual std::string Info(int node, int which) = 0;
  virtual std::string GetPgmName(int node, int slot) = 0;
};

// The progress window as the search sees it.
class SearchProgress {
 public:
  virtual ~SearchProgress() = default;
  virtual void StatOn(const std::string& caption) = 0;
  virtual void Stat(const std::string& text) = 0;
  virtual bool Clicked() = 0;
};

struct DriveIdentity {
  bool present = false;
  std::string family;  // characters 2..4 of the reply
  std::string model;   // from character 5 on
};
DriveIdentity ParseIdentity(const std::string& reply);

// The "Kernel version: " line of a drive's information text.
std::string KernelText(const std::string& info);

std::string DriveText(const std::string& model, const std::string& name, int node);

constexpr int kFirstNode = 1, kLastNode = 31;

// Asks nodes 1..31 in turn, fills the tables and calls found(node) for each
// drive at once (so its branch can be drawn). Stops within the try under way
// when the progress window was clicked. Returns the last node asked; nodes
// that sent only damaged replies go to `damaged`.
int SearchNodes(DriveQueries& line, SearchProgress& progress, talvero::NodeTables& tables,
                const std::function<void(int node)>& found, std::vector<int>* damaged = nullptr);

// The one message after a search that heard damaged replies; "" when none.
std::string DamagedNodesText(const std::vector<int>& nodes);

}  // namespace mainwin
