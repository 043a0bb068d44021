// The status bar panels, the time-out caption, the status text and the user
// variable name check.
#include <gtest/gtest.h>

#include "online/model/status_panels.h"
#include "online/model/status_text.h"
#include "online/model/uv_name.h"

using namespace talvero::online;

TEST(StatusPanels, EachBitPicksItsWords) {
  struct Case {
    uint16_t status;
    int status2;
    const char* panel2;
    const char* panel3;
  };
  const Case cases[] = {
      {0, 0, "Disabled \xC2\xB7 Drive OK \xC2\xB7 Not In Foldback", "Reset Input: Off \xC2\xB7 Enable Input: Off"},
      {1, 1, "Enabled \xC2\xB7 Drive OK \xC2\xB7 In Foldback", "Reset Input: Off \xC2\xB7 Enable Input: Off"},
      {2, 2, "Disabled \xC2\xB7 Faulted \xC2\xB7 Not In Foldback", "Reset Input: On \xC2\xB7 Enable Input: Off"},
      {0xFFFF, 0xFF, "Enabled \xC2\xB7 Faulted \xC2\xB7 In Foldback", "Reset Input: On \xC2\xB7 Enable Input: On"},
      {0x4008, 4, "Disabled \xC2\xB7 Drive OK \xC2\xB7 Not In Foldback", "Reset Input: Off \xC2\xB7 Enable Input: On"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.status);
    EXPECT_EQ(StatusPanel2(c.status, c.status2), c.panel2);
    EXPECT_EQ(StatusPanel3(c.status2), c.panel3);
  }
}

TEST(StatusPanels, TimeoutsCaption) {
  EXPECT_EQ(TimeoutsCaption(0), "No timeouts");
  EXPECT_EQ(TimeoutsCaption(1), "1 timeout(s)");
  EXPECT_EQ(TimeoutsCaption(32767), "32767 timeout(s)");
}

namespace {
DriveStatusSnapshot Snapshot() {
  DriveStatusSnapshot s;
  s.driveText = "KV110c Feed  Axis (Node 1)";
  s.node = 1;
  s.velocity = 1234.56;
  s.runTimeFault = 7;
  s.when = "09/12/2026 14:05";
  return s;
}
}  // namespace

TEST(StatusText, GoldenForThreeStates) {
  DriveStatusSnapshot s = Snapshot();
  s.status = 0x0001;  // enabled, stopped, no faults
  EXPECT_EQ(StatusText(s),
            "Drive: KV110c Feed  Axis (Node 1)\r\r"
            "Node: 1 is Enabled, Stopped.\r\r"
            "Present Faults:\r"
            "     None\r"
            "\rVelocity: 1234.6 RPM\r"
            "\r'Run Time Fault' Code: 7\r"
            "\rStatus as of 09/12/2026 14:05");

  s.status = 0x0008 | 0x0002 | 0x0004;  // running, faulted, reset needed
  s.faultTexts = {"Over current", "Motor  over temperature"};
  s.velocity = -0.04;
  s.runTimeFault = 0;
  EXPECT_EQ(StatusText(s),
            "Drive: KV110c Feed  Axis (Node 1)\r\r"
            "Node: 1 is Disabled, Faulted, Running.\r\r"
            "Drive needs to be 'RESET'.\r\r"
            "Present Faults:\r"
            "     Over current\r"
            "     Motor  over temperature\r"
            "\rVelocity: 0.0 RPM\r"
            "\r'Run Time Fault' Code: 0\r"
            "\rStatus as of 09/12/2026 14:05");

  // A silent drive: everything reads 0.
  DriveStatusSnapshot silent = Snapshot();
  silent.node = 4;
  silent.velocity = 0;
  silent.runTimeFault = 0;
  EXPECT_EQ(StatusText(silent),
            "Drive: KV110c Feed  Axis (Node 1)\r\r"
            "Node: 4 is Disabled, Stopped.\r\r"
            "Present Faults:\r"
            "     None\r"
            "\rVelocity: 0.0 RPM\r"
            "\r'Run Time Fault' Code: 0\r"
            "\rStatus as of 09/12/2026 14:05");
}

TEST(StatusText, NoneComesFromTheCountNotFromBlanksInTheText) {
  // An empty fault text still is a listed fault: no "None".
  DriveStatusSnapshot s = Snapshot();
  s.faultTexts = {""};
  const std::string t = StatusText(s);
  EXPECT_NE(t.find("Present Faults:\r     \r\r"), std::string::npos);
  EXPECT_EQ(t.find("None"), std::string::npos);
}

TEST(UVName, Checks) {
  // What one request frame holds after ":!", "=" and a value of one character.
  const std::string longest(251, 'A'), tooLong(252, 'A');
  struct Case {
    const char* answer;
    const char* name;
    const char* refusal;
  };
  const Case cases[] = {
      {"a1", "A1", ""},
      {"Speed9", "SPEED9", ""},
      {"1A", "", "First character of a variable must be alphabetic."},
      {" A", "", "First character of a variable must be alphabetic."},
      {"A-1", "", "Only alphanumeric characters allowed in a name."},
      {"A ", "", "Only alphanumeric characters allowed in a name."},
      {"A\xC3\xA9", "", "Only alphanumeric characters allowed in a name."},
      {longest.c_str(), longest.c_str(), ""},
      {tooLong.c_str(), "", "The name is too long for the drive: it takes at most 251 characters."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answer);
    const UVNameCheck r = CheckUVName(c.answer);
    EXPECT_EQ(r.name, c.name);
    EXPECT_EQ(r.refusal, c.refusal);
  }
}
