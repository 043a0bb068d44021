// Program lines with skip replies, the library edit buffer, library slots and
// the saved active program.
#include <gtest/gtest.h>

#include "sim/tests/raw_packets.h"

using namespace talvero::sim;
using simtest::Ask;
using simtest::Bytes;
using simtest::Padded;

namespace {

using simtest::ACK;
using simtest::NAK;

std::string Line(char op, int n, const std::string& text = "") {
  return std::string(1, op) + char(n) + text;
}

class Programs : public ::testing::Test {
 protected:
  void SetUp() override { line.AddDrive(1, Family::PHI); }
  // Reads a program as the host does: follow skip replies to the end.
  std::vector<std::pair<int, std::string>> ReadBack(char op, const std::string& name = "") {
    std::vector<std::pair<int, std::string>> got;
    int n = 0, guard = 0;
    while (n < 256 && guard++ < 300) {
      std::string r = Ask(line, 1, Line(op, n, name));
      if (r.empty() || r == "<bad>") {
        ADD_FAILURE() << "no reply for line " << n;
        break;
      }
      if (r[0] == ' ') {
        if (r.size() == 1 || r.back() == 0) break;
        int next = (unsigned char)r.back();
        EXPECT_GT(next, n) << "a skip goes forward";
        n = next;
        continue;
      }
      got.emplace_back(n, r);
      ++n;
    }
    return got;
  }
  SimLine line;
};

TEST_F(Programs, SkipRepliesNameTheNextLineThatHoldsAStep) {
  EXPECT_EQ(Ask(line, 1, Line('L', 0)), " ");  // empty program
  ASSERT_EQ(Ask(line, 1, Line('E', 0, "MOVE 10")), ACK);
  ASSERT_EQ(Ask(line, 1, Line('E', 7, "WAIT 5")), ACK);
  ASSERT_EQ(Ask(line, 1, Line('E', 255, "END")), ACK);
  EXPECT_EQ(Ask(line, 1, Line('L', 0)), "MOVE 10");
  EXPECT_EQ(Ask(line, 1, Line('L', 1)), Bytes({' ', 7}));
  EXPECT_EQ(Ask(line, 1, Line('L', 8)), Bytes({' ', 255}));
  EXPECT_EQ(Ask(line, 1, Line('L', 255)), "END");
  using P = std::vector<std::pair<int, std::string>>;
  EXPECT_EQ(ReadBack('L'), (P{{0, "MOVE 10"}, {7, "WAIT 5"}, {255, "END"}}));
  // An empty text clears the line; leading blanks never reach the store.
  ASSERT_EQ(Ask(line, 1, Line('E', 7)), ACK);
  ASSERT_EQ(Ask(line, 1, Line('E', 3, "  GO")), ACK);
  EXPECT_EQ(ReadBack('L'), (P{{0, "MOVE 10"}, {3, "GO"}, {255, "END"}}));
  EXPECT_EQ(Ask(line, 1, "PC"), ACK);
  EXPECT_EQ(ReadBack('L'), P{});
}

TEST_F(Programs, LibrarySlotsStayPackedAndSaveIsStoredToo) {
  for (int s : {0, 1, 127, 200})
    EXPECT_EQ(Ask(line, 1, Bytes({'P', 'D', s})), "~~~~~~~~") << s;
  ASSERT_EQ(Ask(line, 1, Line('E', 0, "MOVE 1")), ACK);
  ASSERT_EQ(Ask(line, 1, ":!TR=2.5"), ACK);
  EXPECT_EQ(Ask(line, 1, "PSJOG"), ACK);
  EXPECT_EQ(Ask(line, 1, "PS$$SAVE$$"), ACK);
  EXPECT_EQ(Ask(line, 1, "PShome_1"), ACK);  // names are kept upper case
  EXPECT_EQ(Ask(line, 1, "PSTOOLONGNAME"), NAK);
  EXPECT_EQ(Ask(line, 1, "PSBAD-NAME"), NAK);
  EXPECT_EQ(Ask(line, 1, Bytes({'P', 'D', 0})), "JOG     ");
  EXPECT_EQ(Ask(line, 1, Bytes({'P', 'D', 1})), "$$SAVE$$");
  EXPECT_EQ(Ask(line, 1, Bytes({'P', 'D', 2})), "HOME_1  ");
  EXPECT_EQ(Ask(line, 1, "PXJOG"), ACK);
  EXPECT_EQ(Ask(line, 1, "PXJOG"), NAK);
  EXPECT_EQ(Ask(line, 1, Bytes({'P', 'D', 0})), "$$SAVE$$");
  EXPECT_EQ(Ask(line, 1, Bytes({'P', 'D', 1})), "HOME_1  ");
  EXPECT_EQ(Ask(line, 1, Bytes({'P', 'D', 2})), "~~~~~~~~");
  // A restart brings the saved active program back, settings included.
  EXPECT_EQ(Ask(line, 1, "PC"), ACK);
  EXPECT_EQ(Ask(line, 1, ":!TR=9"), ACK);
  EXPECT_EQ(Ask(line, 1, "RE"), ACK);
  EXPECT_EQ(Ask(line, 1, Line('L', 0)), "MOVE 1");
  EXPECT_EQ(Ask(line, 1, "=TR"), Padded("2.5"));
  EXPECT_EQ(line.Drive(1).RestartTexts(), std::vector<std::string>{"E"});
}

TEST_F(Programs, LibraryEditBufferIsApartFromTheActiveProgram) {
  ASSERT_EQ(Ask(line, 1, Line('E', 0, "ACTIVE")), ACK);
  ASSERT_EQ(Ask(line, 1, Line('e', 2, "LIB LINE")), ACK);
  ASSERT_EQ(Ask(line, 1, ":!TTR=4"), ACK);
  ASSERT_EQ(Ask(line, 1, ":!TUU=2"), ACK);
  ASSERT_EQ(Ask(line, 1, "PsFEED"), ACK);
  EXPECT_EQ(Ask(line, 1, Line('l', 0, "FEED")), Bytes({' ', 2}));
  EXPECT_EQ(Ask(line, 1, Line('l', 2, "FEED")), "LIB LINE");
  EXPECT_EQ(Ask(line, 1, Line('L', 0)), "ACTIVE");
  ASSERT_EQ(Ask(line, 1, "Pc"), ACK);
  EXPECT_EQ(Ask(line, 1, Line('l', 0, "FEED")), " ");
  EXPECT_EQ(Ask(line, 1, "=TTR"), Padded("1"));
  ASSERT_EQ(Ask(line, 1, "PlFEED"), ACK);
  EXPECT_EQ(Ask(line, 1, Line('l', 2, "FEED")), "LIB LINE");
  EXPECT_EQ(Ask(line, 1, "=TTR"), Padded("4"));
  EXPECT_EQ(Ask(line, 1, "=TUU"), Padded("2"));
  EXPECT_EQ(Ask(line, 1, "PlNONE"), NAK);
  // Loading a stored program into the active buffer.
  ASSERT_EQ(Ask(line, 1, "PLFEED"), ACK);
  EXPECT_EQ(Ask(line, 1, Line('L', 2)), "LIB LINE");
  EXPECT_EQ(Ask(line, 1, "=TR"), Padded("4"));
  EXPECT_EQ(line.Drive(1).ProgramLine(Buffer::Active, 2), "LIB LINE");
}

TEST_F(Programs, SingleStepsWalkTheLinesThatHoldSteps) {
  ASSERT_EQ(Ask(line, 1, Line('E', 0, "A")), ACK);
  ASSERT_EQ(Ask(line, 1, Line('E', 4, "B")), ACK);
  EXPECT_EQ(Ask(line, 1, "\x02"), Bytes({0}));
  EXPECT_EQ(Ask(line, 1, "\x0A"), ACK);
  EXPECT_EQ(Ask(line, 1, "\x02"), Bytes({4}));
  EXPECT_EQ(Ask(line, 1, "\x0A"), ACK);  // past the last step: back to line 0
  EXPECT_EQ(Ask(line, 1, "\x02"), Bytes({0}));
  line.Drive(1).SetCurrentStep(200);
  EXPECT_EQ(Ask(line, 1, "\x02"), Bytes({200}));
  // Running with steps on query: each query sees the next step.
  line.Drive(1).SetCurrentStep(0);
  line.Drive(1).SetStepOnQuery(true);
  EXPECT_EQ(Ask(line, 1, "\x02"), Bytes({0})) << "not running yet";
  EXPECT_EQ(Ask(line, 1, "\x02"), Bytes({0}));
  ASSERT_EQ(Ask(line, 1, "\x08"), ACK);
  EXPECT_EQ(Ask(line, 1, "\x02"), Bytes({0}));
  EXPECT_EQ(Ask(line, 1, "\x02"), Bytes({4}));
  EXPECT_EQ(Ask(line, 1, "\x02"), Bytes({0}));
}

TEST_F(Programs, AFullLibraryRefusesANewName) {
  for (int i = 0; i < kLibrarySlots; ++i)
    ASSERT_EQ(Ask(line, 1, "PSP" + std::to_string(i)), ACK) << i;
  EXPECT_EQ(Ask(line, 1, "PSONEMORE"), NAK);
  EXPECT_EQ(Ask(line, 1, "PSP5"), ACK);  // overwriting still works
  EXPECT_EQ(Ask(line, 1, Bytes({'P', 'D', 127})), "P127    ");
}

TEST_F(Programs, InitialisingClearsProgramsAndSaysNothing) {
  ASSERT_EQ(Ask(line, 1, "PSKEEP"), ACK);
  ASSERT_EQ(Ask(line, 1, ":!KP=99"), ACK);
  EXPECT_EQ(Ask(line, 1, "ZD"), "");
  EXPECT_EQ(Ask(line, 1, Bytes({'P', 'D', 0})), "~~~~~~~~");
  EXPECT_EQ(Ask(line, 1, "=KP"), Padded("10"));
}

}  // namespace
