#pragma once
// The real main window over simulated drives 1 (RHO), 2 (TAU), 3 (PHI) and
// 5 (PSI), with an application "cell" of a RHO, a TAU, a PSI and a PHI axis
// (slots 1 to 4), and the wizards installed.
#include <QDir>
#include <algorithm>
#include <string>
#include <vector>

#include "mainwin/tests/sim_window_fixture.h"
#include "platform/ui/qt/window_factory.h"
#include "store/applic.h"
#include "store/library_database.h"
#include "wizards/axis_setup.h"
#include "wizards/install.h"
#include "wizards/stepper_setup.h"

class WizardTest : public SimWindowTest {
 protected:
  void Install(MainWin& w) override { wizards::Install(w); }

  // On line with the application open; false when the window would not start.
  bool Begin() {
    using talvero::sim::Family;
    AddDrive(1, Family::RHO, "KV110c", "Feed");
    AddDrive(2, Family::TAU, "KT220", "Lift");
    AddDrive(3, Family::PHI, "KZ220", "Press");
    AddDrive(5, Family::PSI, "KS130i/d", "Index");
    const std::string base = dir.path().toStdString() + "/cell";
    auto lib = LibraryDatabase::Open(libraryPath);
    EXPECT_TRUE(lib.ok()) << lib.error;
    Applic app;
    EXPECT_TRUE(app.Create(base + ".APP").ok());
    for (auto [name, family] : {std::pair{"X", "RHO"}, {"Y", "TAU"}, {"Z", "PSI"}, {"W", "PHI"}})
      EXPECT_TRUE(app.AddAxis(name, family, (*lib)->ParametersRS.get()).ok());
    app.AClose();
    settings.values["OpenApps/List"] = base + ";";
    if (!StartOnLine()) return false;
    win->Link.Retries = 2;
    win->Link.FirstByteTimeout = 100;
    win->Link.NextByteTimeout = 50;
    return true;
  }

  // Stores values in the application axis (slot 1 X, 2 Y, 3 Z, 4 W).
  void Store(int slot, const std::vector<std::pair<std::string, std::string>>& values) {
    for (const auto& [name, value] : values)
      ASSERT_TRUE(win->Apps[1]->PutParam(int16_t(slot), name, value).ok()) << name;
  }
  std::string Stored(int slot, const std::string& name) { return win->Apps[1]->GetParam(int16_t(slot), name); }

  wizards::AxisSetup& Servo() { return *wizards::TheAxisSetup(); }
  wizards::StepperSetup& Stepper() {
    return *qobject_cast<wizards::StepperSetup*>(talvero::TheWindowFactory().Window("StepperSetup"));
  }

  // "NAME=VALUE" of each write in the run's journal.
  static std::vector<std::string> Journal(wizards::ParamAccess& a) {
    std::vector<std::string> v;
    for (const auto& e : a.Journal()) v.push_back(e.name + "=" + e.value);
    return v;
  }
  // The node's requests that start with the text.
  std::vector<std::string> Sent(int node, const std::string& start) {
    std::vector<std::string> v;
    for (const std::string& r : sim.Requests(node))
      if (r.rfind(start, 0) == 0) v.push_back(r);
    return v;
  }
  static std::vector<std::string> AsRequests(const std::vector<std::string>& writes) {
    std::vector<std::string> v;
    for (const std::string& w : writes) v.push_back(":!" + w);
    return v;
  }
  std::string DriveValue(int node, const std::string& name) {
    return sim.Drive(node).Value(name).value_or("(none)");
  }
};
