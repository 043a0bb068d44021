// The simulated drives of each family show, in the tree, the model caption
// the application menu gives that family's axes, so a user can tell which
// is which.
#include "mainwin/model/context_menus.h"
#include "mainwin/qt_sys_tree.h"
#include "online/tests/online_fixture.h"
#include "sim/line_description.h"

namespace {

// The model in "New <model> Application Axis..." of the item.
std::string MenuModel(const std::string& item) {
  for (const talvero::ContextMenu& m : talvero::AllContextMenus()) {
    const talvero::ContextMenuItem* i = m.Find(item);
    if (!i) continue;
    const std::string head = "New ", tail = " Application Axis...";
    if (i->caption.rfind(head, 0) != 0 || i->caption.size() < head.size() + tail.size()) return "";
    return i->caption.substr(head.size(), i->caption.size() - head.size() - tail.size());
  }
  return "";
}

class FamilyCaptionsTest : public OnlineTest {};

TEST_F(FamilyCaptionsTest, EachSimulatedDriveShowsItsFamilysMenuCaption) {
  std::string error;
  ASSERT_TRUE(talvero::sim::AddDrives(sim, "1:RHO,2:TAU,5:PSI,7:PHI,8:PHI/KZ", &error)) << error;
  ASSERT_TRUE(StartOnLine());
  // The PHI item names both of its lines, "KV/KZ...": a drive shows its own.
  const struct {
    int node;
    const char* item;
    const char* line;  // the PHI line the drive is of; "" for the other families
  } cases[] = {
      {1, "AP_NewAxRho", ""}, {2, "AP_NewAxTau", ""}, {5, "AP_NewAxPSI", ""},
      {7, "AP_NewAxPHI", "KV"}, {8, "AP_NewAxPHI", "KZ"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.node);
    std::string model = MenuModel(c.item);
    ASSERT_FALSE(model.empty()) << c.item;
    if (*c.line) {
      ASSERT_EQ(model.rfind("KV/KZ", 0), 0u) << model;
      model = c.line + model.substr(5);
    }
    const std::string key = "#" + std::to_string(c.node);
    ASSERT_TRUE(win->Sys->Exists(key));
    EXPECT_EQ(win->Sys->Text(key), model + " AXIS" + std::to_string(c.node) + " (Node " + std::to_string(c.node) + ")");
  }
}

}  // namespace
