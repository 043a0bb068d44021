#pragma once
// The editing fixture with the copy commands at hand: menu items and copy
// targets go through the window's hooks, as a menu click sends them.
#include "editing/tests/editing_fixture.h"
#include "editing/transfers.h"
#include "mainwin/model/tree_key.h"

namespace editing_test {

class TransfersTest : public EditingTest {
 protected:
  void Command(const std::string& item) { win->MenuCommandHook(item); }
  void CopyTo(const std::string& item, const talvero::CopyTarget& target) { win->CopyTargetHook(item, target); }
  static talvero::CopyTarget To(talvero::TargetKind kind, int app = 0, int axis = 0, int node = -1) {
    return {kind, app, axis, node};
  }
  // The requests to the node whose data starts with the prefix.
  std::vector<std::string> Sent(int node, const std::string& prefix) {
    std::vector<std::string> out;
    for (const std::string& r : sim.Requests(node))
      if (r.rfind(prefix, 0) == 0) out.push_back(r);
    return out;
  }
  Applic& App(int slot = 1) { return *win->Apps[size_t(slot)]; }
  static std::string PR(int app, int pgm) { return TreeKey::Make("PR", {-app, pgm}).Format(); }
};

}  // namespace editing_test
