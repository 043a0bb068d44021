#include "mainwin/model/context_menus.h"

#include "mainwin/model/tree_key.h"

namespace talvero {

const ContextMenuItem* ContextMenu::Find(const std::string& itemName) const {
  for (const auto& item : items)
    if (item.name == itemName) return &item;
  return nullptr;
}

namespace {

ContextMenuItem Item(std::string name, std::string caption, bool enabled = true) {
  ContextMenuItem i;
  i.name = std::move(name);
  i.caption = std::move(caption);
  i.enabled = enabled;
  return i;
}

ContextMenuItem Separator() {
  ContextMenuItem i;
  i.separator = true;
  return i;
}

ContextMenuItem CopyItem(std::string name, std::string caption, std::vector<TargetItem> targets) {
  ContextMenuItem i = Item(std::move(name), std::move(caption), !targets.empty());
  i.copy = true;
  i.targets = std::move(targets);
  return i;
}

ContextMenuItem Literal(std::string name, std::string caption) {
  ContextMenuItem i = Item(std::move(name), std::move(caption));
  i.literalCaption = true;
  return i;
}

// A family code must be known to match; two unknown codes are no match.
bool SameFamily(const std::string& a, const std::string& b) { return !a.empty() && a == b; }

// A drive that gives no answer may well be running: keep its program safe.
bool MayBeRunning(const ContextMenuInput& in, int node) {
  if (!in.running) return true;
  return in.running(node).value_or(true);
}

template <class F>
void ForEachDrive(const ContextMenuInput& in, F f) {
  if (!in.nodes) return;
  for (int n = 0; n < 32; ++n)
    if (in.nodes->HasDrive(n)) f(n, in.nodes->at(n));
}

std::vector<TargetItem> AppTargets(const ContextMenuInput& in) {
  std::vector<TargetItem> t;
  for (const auto& app : in.apps) t.push_back({app.name, true, {TargetKind::Application, app.slot}});
  return t;
}

std::vector<TargetItem> AxisTargets(const ContextMenuInput& in, const std::string* family) {
  std::vector<TargetItem> t;
  for (const auto& app : in.apps)
    for (const auto& axis : app.axes) {
      if (axis.name.empty()) continue;
      if (family && !SameFamily(axis.family, *family)) continue;
      t.push_back({app.name + " : " + axis.name, true, {TargetKind::AppAxis, app.slot, axis.slot}});
    }
  return t;
}

std::string SelectedAxisFamily(const ContextMenuInput& in) {
  for (const auto& app : in.apps) {
    if (app.slot != in.curApp) continue;
    for (const auto& axis : app.axes)
      if (axis.slot == -in.curNode) return axis.family;
  }
  return "";
}

std::string DriveFamily(const ContextMenuInput& in, int node) {
  return in.nodes ? in.nodes->FamilyOf(node) : std::string();
}

ContextMenu DriveMenu(const ContextMenuInput& in) {
  const int n = in.curNode;
  ContextMenu m{"AAMenu", {}};
  m.items.push_back(Item("AA_Firm", "Firmware Information..."));
  m.items.push_back(Literal("AA_Free", in.freeText ? in.freeText(n) : ""));
  m.items.push_back(Literal("AA_Serial", "S/N : " + (in.serial ? in.serial(n) : std::string())));
  m.items.push_back(Separator());
  m.items.push_back(Item("AA_SDT", "Set Axis Date and Time...", DriveFamily(in, n) != "TAU"));
  m.items.push_back(Item("AA_SetConfig", "Set Axis Configuration...", in.serviceMode));
  m.items.push_back(Item("AA_DriveName", "Set Drive Name..."));
  m.items.push_back(Separator());
  m.items.push_back(Item("AA_Cal", "Calibrate Analog Inputs..."));
  m.items.push_back(Separator());
  m.items.push_back(Item("AA_MEM2FILE", "Axis Memory -> File..."));
  m.items.push_back(Item("AA_FILE2MEM", "File -> Axis Memory...", in.serviceMode));
  m.items.push_back(Separator());
  m.items.push_back(Item("AA_Zap", "Clear Programs and Parameters"));
  m.items.push_back(Item("AA_KillUV", "Delete All User Variables"));
  return m;
}

ContextMenu ParameterMenu(const ContextMenuInput& in) {
  ContextMenu m{"PAMenu", {}};
  std::vector<TargetItem> targets;
  bool paste = false;
  if (!in.appSelected) {
    const std::string family = DriveFamily(in, in.curNode);
    targets = AxisTargets(in, &family);
  } else {
    const std::string family = SelectedAxisFamily(in);
    ForEachDrive(in, [&](int n, const DriveEntry& d) {
      if (SameFamily(d.family, family)) targets.push_back({d.driveText, true, {TargetKind::Drive, 0, 0, n}});
    });
    targets.push_back({"Parameter Copy Buffer", true, {TargetKind::ParameterCopyBuffer}});
    paste = in.copyBufferCount >= 1 && SameFamily(in.copyBufferFamily, family);
  }
  m.items.push_back(CopyItem("PA_Copy", "Copy All Parameters To...", std::move(targets)));
  // Stands in the menu but has no command behind it.
  m.items.push_back(Item("PA_Init", "Initialize Parameters To...", false));
  m.items.push_back(Item("PA_Paste", "Paste from Parameter Copy Buffer...", paste));
  return m;
}

ContextMenu AppProgramMenu(const ContextMenuInput& in) {
  ContextMenu m{"PRMenu", {}};
  std::vector<TargetItem> targets;
  const bool program = in.programNodeSelected;
  ForEachDrive(in, [&](int n, const DriveEntry& d) {
    if (program)
      targets.push_back({d.driveText + ", Active Program", !MayBeRunning(in, n),
                         {TargetKind::DriveActiveProgram, 0, 0, n}});
    targets.push_back({d.driveText + ", Program Library", true,
                       {TargetKind::DriveProgramLibrary, 0, 0, n}});
  });
  m.items.push_back(CopyItem("PR_Copy", "Copy Program(s) To...", std::move(targets)));
  ContextMenuItem add = Item("PR_New", "New...");
  ContextMenuItem rename = Item("PR_Rename", "Rename...");
  ContextMenuItem del = Item("PR_Delete", "Delete...");
  ContextMenuItem prop = Item("PR_Prop", "Properties...");
  add.visible = !program;
  rename.visible = del.visible = prop.visible = program;
  m.items.push_back(add);
  m.items.push_back(rename);
  m.items.push_back(del);
  m.items.push_back(prop);
  return m;
}

std::string AppName(const ContextMenuInput& in, int slot) {
  for (const auto& app : in.apps)
    if (app.slot == slot) return app.name;
  return "";
}

}  // namespace

std::optional<ContextMenu> ContextMenuFor(const ContextMenuInput& in) {
  const auto key = TreeKey::Parse(in.selKey);
  if (!key) return std::nullopt;
  const std::string& kind = key->kind;
  const int n = in.curNode;

  if (kind == "#") return DriveMenu(in);
  if (kind == "PP") {
    const bool idle = !MayBeRunning(in, n);
    ContextMenu m{"PPMenu", {}};
    m.items.push_back(CopyItem("PP_Copy", "Copy Program To...", AppTargets(in)));
    m.items.push_back(Item("PP_Store", "Store Program in Axis' Library..."));
    m.items.push_back(Item("PP_Clear", "Clear Program...", idle));
    m.items.push_back(Item("PP_EditProp", "Edit Properties...", idle));
    return m;
  }
  if (kind == "LE") {
    ContextMenu m{"LEMenu", {}};
    m.items.push_back(Item("LE_Activate", "Copy to Active Program...", !MayBeRunning(in, n)));
    m.items.push_back(CopyItem("LE_Copy", "Copy Program To...", AppTargets(in)));
    m.items.push_back(Item("LE_Rename", "Rename..."));
    m.items.push_back(Item("LE_Delete", "Delete..."));
    m.items.push_back(Item("LE_EditProp", "Edit Properties..."));
    return m;
  }
  if (kind == "PL") {
    ContextMenu m{"PLMenu", {}};
    m.items.push_back(CopyItem("PL_Copy", "Copy All Programs To...", AppTargets(in)));
    m.items.push_back(Item("PL_New", "New..."));
    // Stands in the menu but has no command behind it.
    m.items.push_back(Item("PL_Delete", "Delete All Programs...", false));
    return m;
  }
  if (kind == "TH") {
    ContextMenu m{"THMenu", {}};
    m.items.push_back(Item("TH_Enable", "Enable All Events"));
    m.items.push_back(Item("TH_Disable", "Disable All Events"));
    m.items.push_back(CopyItem("TH_Copy", "Copy Events To...", AxisTargets(in, nullptr)));
    return m;
  }
  if (kind == "EV") {
    std::vector<TargetItem> targets;
    ForEachDrive(in, [&](int node, const DriveEntry& d) {
      if (!d.simple) targets.push_back({d.driveText, true, {TargetKind::Drive, 0, 0, node}});
    });
    ContextMenu m{"EVMenu", {}};
    m.items.push_back(CopyItem("EV_Copy", "Copy Events To...", std::move(targets)));
    return m;
  }
  if (kind == "PA") return ParameterMenu(in);
  if (kind == "PR") return AppProgramMenu(in);
  if (kind == "AP") {
    ContextMenu m{"APMenu", {}};
    m.items.push_back(Literal("AP_RFN", "Filename: " + AppName(in, in.curApp)));
    m.items.push_back(Item("AP_Close", "Close Application"));
    m.items.push_back(Item("AP_NewAxRho", "New KV110c Application Axis..."));
    m.items.push_back(Item("AP_NewAxTau", "New KV110i/d Application Axis..."));
    m.items.push_back(Item("AP_NewAxPHI", "New KV/KZ120i/d Application Axis..."));
    m.items.push_back(Item("AP_NewAxPSI", "New KS130i/d Application Axis..."));
    return m;
  }
  if (kind == "AX") {
    ContextMenu m{"AXMenu", {}};
    m.items.push_back(Item("AX_Del", "Delete Application Axis..."));
    return m;
  }
  return std::nullopt;
}

std::vector<ContextMenu> AllContextMenus() {
  std::vector<ContextMenu> menus;
  for (const char* key : {"#1", "PP1", "LE1,1", "PL1", "TH1", "EV-1,1", "PA1", "PR-1,1", "AP1", "AX-1,1"}) {
    ContextMenuInput in;
    in.selKey = key;
    if (auto m = ContextMenuFor(in)) menus.push_back(std::move(*m));
  }
  return menus;
}

}  // namespace talvero
