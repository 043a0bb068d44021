#pragma once
// The reads of several requests to drive 1 that a user starts with one click:
// a tab, a tree node's view, a menu item, a dialog, a wizard, the report.
// Each is driven through the real window as a user would; the runner
// (entry_runner.h) makes the drive silent just before the click.
#include <functional>
#include <string>
#include <vector>

class MainWin;
class OnlinePanel;

namespace silentbench {

struct EntryPoint {
  std::string name;
  // While the drive answers: the view the user starts from.
  std::function<void()> prepare;
  // The click. It may run a modal window's loop until `close` ends it.
  std::function<void()> start;
  // Polled while start runs: the read is over (its window shows). Null: the
  // read is over when start returns.
  std::function<bool()> over;
  // Run once the read is over: closes the window it opened.
  std::function<void()> close;
  // What the user types into the input boxes the click asks, in order.
  std::vector<std::string> inputs;
  // In the default run; the others run with --all.
  bool always = true;
};

std::vector<EntryPoint> EntryPoints(MainWin& win, OnlinePanel& panel);

}  // namespace silentbench
