#pragma once
// The tree's pop-up menus as data: per selected node kind, the items in order
// with caption, enabled, visible and checked state, and the copy submenus
// whose entries carry their target. The caption is only what the user reads;
// a handler takes the target from the entry, never from its caption.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "mainwin/model/node_tables.h"

namespace talvero {

enum class TargetKind {
  Application,          // app
  AppAxis,              // app, axis
  Drive,                // node
  DriveActiveProgram,   // node
  DriveProgramLibrary,  // node
  ParameterCopyBuffer,
};

struct CopyTarget {
  TargetKind kind = TargetKind::Application;
  int app = 0;    // application slot 1..16
  int axis = 0;   // axis slot 1..16
  int node = -1;  // drive node 0..31
  bool operator==(const CopyTarget&) const = default;
};

struct TargetItem {
  std::string caption;  // drive and application texts, shown literally
  bool enabled = true;
  CopyTarget target;
};

struct ContextMenuItem {
  std::string name;   // "" for a separator
  std::string caption;
  bool enabled = true;
  bool visible = true;
  bool checked = false;
  bool separator = false;
  // The caption is text from a drive or a file: show it as it is ("&" is no
  // access key).
  bool literalCaption = false;
  // A copy item: it opens a submenu of targets.
  bool copy = false;
  // Entries of a copy item's submenu; empty leaves the item disabled.
  std::vector<TargetItem> targets;
};

struct ContextMenu {
  std::string name;  // "AAMenu", "PPMenu", ...
  std::vector<ContextMenuItem> items;
  const ContextMenuItem* Find(const std::string& itemName) const;
};

struct OpenAppAxis {
  int slot = 1;
  std::string name;  // "" = free slot
  std::string family;
};

struct OpenApp {
  int slot = 1;
  std::string name;  // Applic.Name
  std::vector<OpenAppAxis> axes;
};

struct ContextMenuInput {
  std::string selKey;  // the node last handled by the click, not the one under the pointer
  int curNode = 0;
  int curApp = 1;
  bool appSelected = false;
  bool programNodeSelected = false;
  bool serviceMode = false;
  const NodeTables* nodes = nullptr;
  std::vector<OpenApp> apps;  // open applications, slot order
  // Whether node's program runs; nullopt when the drive did not answer.
  std::function<std::optional<bool>(int node)> running;
  std::function<std::string(int node)> freeText;  // Info(node, 3, "")
  std::function<std::string(int node)> serial;    // GetSerial(node)
  int copyBufferCount = 0;
  std::string copyBufferFamily;
};

// nullopt: the selected node has no menu.
std::optional<ContextMenu> ContextMenuFor(const ContextMenuInput& in);

// Every tree menu with its items in order, as ContextMenuFor makes them with
// no drive and no application: the one definition the window builds from.
std::vector<ContextMenu> AllContextMenus();

}  // namespace talvero
