#pragma once
// What a click on a tree node selects, which menu items it enables and which
// view it fills, decided from the key alone (plus the family of the axis).
// The window applies the result: clear the list, take the state, set the
// items, call the filler, then run UpdateState.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace talvero {

enum class ViewFiller {
  None,
  Parameters,   // EditParameters(fillerKey)
  Program,      // EditPgm
  Events,       // ThreadsMod.ReadEvents
  StatusTab,    // show StatStrip, hide EditList, StatStrip_Click
};

struct SelectionState {
  int CurNode = 0;
  int CurApp = 1;
  int CurPgm = 1;
  std::string CurPgmName;
  std::string ViewKey;
  std::string SelKey;
  bool AxisSelected = false;
  bool AppSelected = false;
  bool ProgramNodeSelected = false;
  bool ActiveProgramShown = false;
  bool EventViewShown = false;
  bool ProgramViewShown = false;
  bool ParameterViewShown = false;
  int StepMarkerRow = -1;
  bool StatStripShown = false;  // false: EditList shown
};

struct MenuEnable {
  std::string name;
  bool enabled;
  bool operator==(const MenuEnable&) const = default;
};

struct NodeClickInput {
  std::string key;
  std::string text;             // the node's text (a library program's name)
  bool forceNodeClick = false;
  // Family code of drive node n (NodeTables) and of axis slot x of application a.
  std::function<std::string(int node)> driveFamily;
  std::function<std::string(int app, int axisSlot)> axisFamily;
};

struct NodeClickResult {
  // False for a second click on the remembered key: nothing at all changes
  // (the window still remembers the node as LastNode).
  bool handled = false;
  SelectionState state;
  // Every item the click sets, with its final state, in a fixed order.
  std::vector<MenuEnable> menus;
  ViewFiller filler = ViewFiller::None;
  std::string fillerKey;
  // Slot whose Applic becomes CurApplic.
  std::optional<int> curApplicSlot;
  // Runs after every selection, including libraries and events, so the run
  // buttons never stay live on a node that is not a drive.
  bool updateState = false;

  bool Enabled(const std::string& item) const;
};

// The items every click disables before enabling the ones its node needs.
extern const char* const kNodeClickItems[8];

NodeClickResult NodeClick(const SelectionState& before, const NodeClickInput& in);

}  // namespace talvero
