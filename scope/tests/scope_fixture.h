#pragma once
// The real main window on a simulated line with the scope installed and
// opened on node 1 (an RHO drive whose capture finishes after three polls).
#include <QMenu>
#include <QTimer>

#include "mainwin/tests/sim_window_fixture.h"
#include "platform/ui/qt/window_factory.h"
#include "scope/install.h"
#include "scope/scope.h"
#include "scope/scope_chart.h"
#include "scope/scope_status_bar.h"

class ScopeTest : public SimWindowTest {
 protected:
  void Install(MainWin& w) override { scope::Install(w); }
  void SetUp() override {
    SimWindowTest::SetUp();
    AddDrive(1, talvero::sim::Family::RHO, "KV110c", "Feed").SetCapturePolls(3);
    AddDrive(2, talvero::sim::Family::TAU, "KZ220", "Spindle");
    ASSERT_TRUE(StartOnLine());
    Open(1);
  }
  void TearDown() override {
    talvero::TheWindowFactory().Destroy("Scope");
    SimWindowTest::TearDown();
  }
  // The scope button on the drive's node.
  void Open(int node) {
    Click("#" + std::to_string(node));
    win->ShowScope_Click();
    s = qobject_cast<scope::Scope*>(talvero::TheWindowFactory().Existing("Scope"));
    ASSERT_NE(s, nullptr);
  }
  // The start timer's ticks until the capture is over, the clock moved as they wait.
  void RunTicks(int limit = 500) {
    while (s->GoCapIt->isActive() && limit-- > 0) {
      clock.Advance(s->GoCapIt->interval());
      s->Tick();
    }
  }
  // Ticks until the capture reaches the state; false when it does not in a
  // capture's worth of ticks.
  bool TickTo(scope::CaptureState state, int limit = 50) {
    for (int i = 0; i < limit && s->Machine().State() != state; ++i) s->Tick();
    return s->Machine().State() == state;
  }
  void Capture() {
    s->HandleCaptureKey(13);
    RunTicks();
    ASSERT_EQ(s->SB->Text(4), "Capture");
  }
  QString Panel(int i) const { return s->SB->Text(i); }

  scope::Scope* s = nullptr;
};
