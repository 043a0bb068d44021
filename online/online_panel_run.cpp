// The run controls: run/stop, pause, single step, software enable, reset and
// the E-stop of every drive on the line.
#include <vector>

#include "mainwin/main_win.h"
#include "online/online_panel.h"

void OnlinePanel::BtnRS_Click() {
  if (!DriveSelected()) return;
  // A drive that does not answer may be running: it is sent stop, never run.
  const bool running = win_.Line().Running(win_.CurNode).value_or(true);
  if (running) win_.Link.PgmStop(win_.CurNode);
  else win_.Link.PgmRun(win_.CurNode);
  UpdateState();
}

void OnlinePanel::BtnPause_Click() {
  if (!DriveSelected()) return;
  const int node = win_.CurNode;
  win_.Link.PgmPause(node, win_.Link.Paused(node) ? 0 : 1);
  UpdateState();
}

void OnlinePanel::Btn1_Click() {
  if (!DriveSelected()) return;
  win_.Link.Pgm1Step(win_.CurNode);
  UpdateState();
}

void OnlinePanel::SWE_ON_Click() {
  if (!DriveSelected()) return;
  win_.Link.Exec(win_.CurNode, "!SWE=1");
  ShowStatus();
}

void OnlinePanel::SWE_OFF_Click() {
  if (!DriveSelected()) return;
  win_.Link.Exec(win_.CurNode, "!SWE=0");
  ShowStatus();
}

void OnlinePanel::DriveReset_Click() {
  if (!DriveSelected()) return;
  win_.Link.Reset(win_.CurNode);
  ShowStatus();
}

void OnlinePanel::BrakeAll_Click() {
  // One try for every drive first, so a silent one holds back no other;
  // then the rest of the tries for those that did not answer. Only the last
  // of a drive's tries counts its failure: one failed stop, one count.
  ISP& link = win_.Link;
  const bool more = link.Retries > 1;
  std::vector<int> unanswered;
  for (int node = 1; node <= 31; ++node)
    if (win_.NodeTables.HasDrive(node) && !(more ? link.EStopFirstTry(node) : link.EStop(node, 1)))
      unanswered.push_back(node);
  if (more)
    for (int node : unanswered) link.EStop(node, link.Retries - 1);
  if (win_.AxisSelected && !win_.AppSelected) ShowStatus();
}
