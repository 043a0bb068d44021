#include "mainwin/model/context_menus.h"

#include <gtest/gtest.h>

namespace talvero {
namespace {

const char* KindName(TargetKind k) {
  switch (k) {
    case TargetKind::Application: return "app";
    case TargetKind::AppAxis: return "axis";
    case TargetKind::Drive: return "drive";
    case TargetKind::DriveActiveProgram: return "active";
    case TargetKind::DriveProgramLibrary: return "library";
    case TargetKind::ParameterCopyBuffer: return "buffer";
  }
  return "?";
}

// One line per item: name "caption" plus its state; targets indented below.
std::string Render(const ContextMenu& m) {
  std::string s = m.name + "\n";
  for (const auto& i : m.items) {
    if (i.separator) {
      s += "--\n";
      continue;
    }
    s += i.name + " \"" + i.caption + "\"";
    if (!i.enabled) s += " off";
    if (!i.visible) s += " hidden";
    if (i.checked) s += " checked";
    s += "\n";
    for (const auto& t : i.targets) {
      s += "  \"" + t.caption + "\" " + KindName(t.target.kind) + " " + std::to_string(t.target.app) +
           "/" + std::to_string(t.target.axis) + "/" + std::to_string(t.target.node);
      s += t.enabled ? "\n" : " off\n";
    }
  }
  return s;
}

class ContextMenus : public ::testing::Test {
 protected:
  void SetUp() override {
    nodes.at(1) = {"KV110c LEFT (Node 1)", "RHO", "", "", false};
    nodes.at(4) = {"KV110i FEED (Node 4)", "TAU", "", "", false};
    nodes.at(7) = {"KV110i SILENT (Node 7)", "TAU", "", "", false};
    nodes.at(9) = {"SIMPLE (Node 9)", "", "", "", true};
    in.nodes = &nodes;
    in.apps = {{1, "/w/a", {{1, "X", "RHO"}, {2, "Y", "TAU"}}},
               {3, "/w/b", {{1, "", ""}, {2, "Z", "TAU"}}}};
    in.running = [](int n) -> std::optional<bool> {
      if (n == 4) return true;
      if (n == 7) return std::nullopt;  // does not answer
      return false;
    };
    in.freeText = [](int n) { return "Free: " + std::to_string(100 + n) + " & more"; };
    in.serial = [](int n) { return "SN" + std::to_string(n); };
  }

  std::string MenuFor(const char* key, int curNode, int curApp = 1, bool app = false,
                      bool program = false) {
    in.selKey = key;
    in.curNode = curNode;
    in.curApp = curApp;
    in.appSelected = app;
    in.programNodeSelected = program;
    auto m = ContextMenuFor(in);
    return m ? Render(*m) : "none";
  }

  NodeTables nodes;
  ContextMenuInput in;
};

TEST_F(ContextMenus, DriveMenuFollowsFamilyAndServiceMode) {
  EXPECT_EQ(MenuFor("#4", 4),
            "AAMenu\n"
            "AA_Firm \"Firmware Information...\"\n"
            "AA_Free \"Free: 104 & more\"\n"
            "AA_Serial \"S/N : SN4\"\n"
            "--\n"
            "AA_SDT \"Set Axis Date and Time...\" off\n"
            "AA_SetConfig \"Set Axis Configuration...\" off\n"
            "AA_DriveName \"Set Drive Name...\"\n"
            "--\n"
            "AA_Cal \"Calibrate Analog Inputs...\"\n"
            "--\n"
            "AA_MEM2FILE \"Axis Memory -> File...\"\n"
            "AA_FILE2MEM \"File -> Axis Memory...\" off\n"
            "--\n"
            "AA_Zap \"Clear Programs and Parameters\"\n"
            "AA_KillUV \"Delete All User Variables\"\n");
  in.serviceMode = true;
  in.selKey = "#1";
  in.curNode = 1;
  const ContextMenu m = ContextMenuFor(in).value();
  EXPECT_TRUE(m.Find("AA_SDT")->enabled);
  EXPECT_TRUE(m.Find("AA_SetConfig")->enabled);
  EXPECT_TRUE(m.Find("AA_FILE2MEM")->enabled);
  EXPECT_TRUE(m.Find("AA_Free")->literalCaption);
}

TEST_F(ContextMenus, ProgramItemsAreOffWhileTheDriveRunsOrDoesNotAnswer) {
  const std::string running =
      "PPMenu\n"
      "PP_Copy \"Copy Program To...\"\n"
      "  \"/w/a\" app 1/0/-1\n"
      "  \"/w/b\" app 3/0/-1\n"
      "PP_Store \"Store Program in Axis' Library...\"\n"
      "PP_Clear \"Clear Program...\" off\n"
      "PP_EditProp \"Edit Properties...\" off\n";
  EXPECT_EQ(MenuFor("PP4", 4), running);
  EXPECT_EQ(MenuFor("PP7", 7), running);
  in.apps.clear();
  EXPECT_EQ(MenuFor("PP1", 1),
            "PPMenu\n"
            "PP_Copy \"Copy Program To...\" off\n"
            "PP_Store \"Store Program in Axis' Library...\"\n"
            "PP_Clear \"Clear Program...\"\n"
            "PP_EditProp \"Edit Properties...\"\n");
}

TEST_F(ContextMenus, LibraryMenus) {
  EXPECT_EQ(MenuFor("LE4,0", 4),
            "LEMenu\n"
            "LE_Activate \"Copy to Active Program...\" off\n"
            "LE_Copy \"Copy Program To...\"\n"
            "  \"/w/a\" app 1/0/-1\n"
            "  \"/w/b\" app 3/0/-1\n"
            "LE_Rename \"Rename...\"\n"
            "LE_Delete \"Delete...\"\n"
            "LE_EditProp \"Edit Properties...\"\n");
  EXPECT_EQ(MenuFor("LE1,3", 1).find("Active Program...\" off"), std::string::npos);
  in.apps.clear();
  EXPECT_EQ(MenuFor("PL1", 1),
            "PLMenu\n"
            "PL_Copy \"Copy All Programs To...\" off\n"
            "PL_New \"New...\"\n"
            "PL_Delete \"Delete All Programs...\" off\n");
}

TEST_F(ContextMenus, EventMenusListNamedAxesAndDrives) {
  EXPECT_EQ(MenuFor("TH1", 1),
            "THMenu\n"
            "TH_Enable \"Enable All Events\"\n"
            "TH_Disable \"Disable All Events\"\n"
            "TH_Copy \"Copy Events To...\"\n"
            "  \"/w/a : X\" axis 1/1/-1\n"
            "  \"/w/a : Y\" axis 1/2/-1\n"
            "  \"/w/b : Z\" axis 3/2/-1\n");
  EXPECT_EQ(MenuFor("EV-2,3", -2, 3, true),
            "EVMenu\n"
            "EV_Copy \"Copy Events To...\"\n"
            "  \"KV110c LEFT (Node 1)\" drive 0/0/1\n"
            "  \"KV110i FEED (Node 4)\" drive 0/0/4\n"
            "  \"KV110i SILENT (Node 7)\" drive 0/0/7\n");
}

TEST_F(ContextMenus, ParameterTargetsMatchTheFamily) {
  EXPECT_EQ(MenuFor("PA4", 4),
            "PAMenu\n"
            "PA_Copy \"Copy All Parameters To...\"\n"
            "  \"/w/a : Y\" axis 1/2/-1\n"
            "  \"/w/b : Z\" axis 3/2/-1\n"
            "PA_Init \"Initialize Parameters To...\" off\n"
            "PA_Paste \"Paste from Parameter Copy Buffer...\" off\n");
  // A drive of no known family matches no axis, not the free slot's empty family.
  EXPECT_EQ(MenuFor("PA9", 9).find("axis"), std::string::npos);

  in.copyBufferCount = 3;
  in.copyBufferFamily = "RHO";
  EXPECT_EQ(MenuFor("PA-1,1", -1, 1, true),
            "PAMenu\n"
            "PA_Copy \"Copy All Parameters To...\"\n"
            "  \"KV110c LEFT (Node 1)\" drive 0/0/1\n"
            "  \"Parameter Copy Buffer\" buffer 0/0/-1\n"
            "PA_Init \"Initialize Parameters To...\" off\n"
            "PA_Paste \"Paste from Parameter Copy Buffer...\"\n");
  // A buffer of another family, or an empty one, cannot be pasted.
  EXPECT_NE(MenuFor("PA-2,1", -2, 1, true).find("Buffer...\" off"), std::string::npos);
  in.copyBufferCount = 0;
  EXPECT_NE(MenuFor("PA-1,1", -1, 1, true).find("Buffer...\" off"), std::string::npos);
}

TEST_F(ContextMenus, ApplicationProgramMenus) {
  EXPECT_EQ(MenuFor("PR-1", 0, 1, true),
            "PRMenu\n"
            "PR_Copy \"Copy Program(s) To...\"\n"
            "  \"KV110c LEFT (Node 1), Program Library\" library 0/0/1\n"
            "  \"KV110i FEED (Node 4), Program Library\" library 0/0/4\n"
            "  \"KV110i SILENT (Node 7), Program Library\" library 0/0/7\n"
            "  \"SIMPLE (Node 9), Program Library\" library 0/0/9\n"
            "PR_New \"New...\"\n"
            "PR_Rename \"Rename...\" hidden\n"
            "PR_Delete \"Delete...\" hidden\n"
            "PR_Prop \"Properties...\" hidden\n");
  nodes.at(9).driveText.clear();
  EXPECT_EQ(MenuFor("PR-1,2", 0, 1, true, true),
            "PRMenu\n"
            "PR_Copy \"Copy Program(s) To...\"\n"
            "  \"KV110c LEFT (Node 1), Active Program\" active 0/0/1\n"
            "  \"KV110c LEFT (Node 1), Program Library\" library 0/0/1\n"
            "  \"KV110i FEED (Node 4), Active Program\" active 0/0/4 off\n"
            "  \"KV110i FEED (Node 4), Program Library\" library 0/0/4\n"
            "  \"KV110i SILENT (Node 7), Active Program\" active 0/0/7 off\n"
            "  \"KV110i SILENT (Node 7), Program Library\" library 0/0/7\n"
            "PR_New \"New...\" hidden\n"
            "PR_Rename \"Rename...\"\n"
            "PR_Delete \"Delete...\"\n"
            "PR_Prop \"Properties...\"\n");
  in.nodes = nullptr;
  EXPECT_NE(MenuFor("PR-1,2", 0, 1, true, true).find("PR_Copy \"Copy Program(s) To...\" off"),
            std::string::npos);
}

TEST_F(ContextMenus, ApplicationAxisAndNodesWithoutMenu) {
  EXPECT_EQ(MenuFor("AP3", 0, 3, true),
            "APMenu\n"
            "AP_RFN \"Filename: /w/b\"\n"
            "AP_Close \"Close Application\"\n"
            "AP_NewAxRho \"New KV110c Application Axis...\"\n"
            "AP_NewAxTau \"New KV110i/d Application Axis...\"\n"
            "AP_NewAxPHI \"New KV/KZ120i/d Application Axis...\"\n"
            "AP_NewAxPSI \"New KS130i/d Application Axis...\"\n");
  EXPECT_EQ(MenuFor("AX-2,3", -2, 3, true), "AXMenu\nAX_Del \"Delete Application Axis...\"\n");
  for (const char* key : {"!SY", "!AP", "SU4", "SS4", "TU-1,1", "", "junk"}) {
    EXPECT_EQ(MenuFor(key, 4), "none") << key;
  }
}

}  // namespace
}  // namespace talvero
