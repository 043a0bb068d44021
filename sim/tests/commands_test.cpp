// Each command's request and the exact reply data the drive sends back.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "sim/tests/raw_packets.h"

using namespace talvero::sim;
using simtest::Ask;
using simtest::Bytes;
using simtest::Padded;

namespace {

using simtest::ACK;
using simtest::NAK;

struct Row {
  int node;
  std::string request;
  std::string reply;  // "" = no answer
};

class Commands : public ::testing::Test {
 protected:
  void SetUp() override {
    line.AddDrive(1, Family::RHO);
    line.AddDrive(4, Family::TAU);
    line.AddDrive(31, Family::PSI);
  }
  void Run(const std::vector<Row>& rows) {
    for (size_t i = 0; i < rows.size(); ++i) {
      const Row& r = rows[i];
      EXPECT_EQ(Ask(line, r.node, r.request), r.reply)
          << "row " << i << " request " << ::testing::PrintToString(r.request);
    }
  }
  SimLine line;
};

TEST_F(Commands, IdentityNameSerialAndInformation) {
  Run({
      {1, "\x01", "!RHOKV110c"},
      {4, "\x01", "!TAUKV110i/d"},
      {31, "\x01", "!PSIKS130i/d"},
      {2, "\x01", ""},  // nobody at node 2
      {1, "\x1E", "AXIS1"},
      {1, "\x1D" "LIFT", ACK},
      {1, "\x1E", "LIFT"},
      {1, "\x1D", NAK},
      {4, Bytes({'I', 5}), "TAU-20004"},
      {4, "\x1F" "SN-77", ACK},
      {4, Bytes({'I', 5}), "SN-77"},
      {1, Bytes({'I', 1}), "Firmware version: 4.12 RHO\nKernel version: 2.07\nBuild: 2026-11-30\n"},
      {1, Bytes({0x0F, 0x26, 0x04, 0x12, 0x09, 0x14, 0x05}), ACK},
      {1, Bytes({'I', 2}), "12/09/26 14:05 (day 4)"},
      {1, Bytes({0x0F, 0x26, 0x04, 0x1A, 0x09, 0x14, 0x05}), NAK},  // not BCD
      {1, Bytes({'I', 3}), "Free: 128 of 128 program slots"},
      {1, Bytes({'I', 9}), " "},
  });
}

TEST_F(Commands, ValuesLimitsAndWrites) {
  Run({
      {1, "=KP", Padded("10")},
      {1, "=KP*2+1", Padded("21")},
      {1, "=SQRT(KP*10)", Padded("10")},
      {1, "=NOSUCH", Padded("?")},
      {1, "+KP", Bytes({0x41, 0x20, 0x00, 0x00})},
      {1, "+1.5", Bytes({0x3F, 0xC0, 0x00, 0x00})},
      {1, "+-2", Bytes({0xC0, 0x00, 0x00, 0x00})},
      {1, Bytes({'m', 0}) + "KP", Padded("0")},
      {1, Bytes({'m', 1}) + "KP", Padded("1000")},
      {1, Bytes({'m', 0}) + "NOSUCH", Padded("-2147483648")},
      {1, Bytes({'m', 1}) + "NOSUCH", Padded("2147483647")},
      {1, Bytes({'m', 2}) + "KP", Padded("?")},
      {1, ":!KP=1.5E3", NAK},  // above its maximum
      {1, "=KP", Padded("10")},
      {1, ":!KP=KP*2", ACK},
      {1, "=KP", Padded("20")},
      {1, ":!FLT=1", NAK},      // the host may not write state
      {1, ":!NEWPAR=3", ACK},   // every other name is taken as a parameter
      {1, "=NEWPAR", Padded("3")},
      {1, ":!KP=", NAK},
      {1, ":BOGUS", NAK},
      {1, "=CONFIG(1)", Padded("24")},
      {1, Bytes({0x10, 3}) + "-7", ACK},
      {1, "=CONFIG(3)", Padded("-7")},
      {1, Bytes({0x10, 10}) + "1", NAK},
      {1, ":!CONFIG(9)=5", ACK},
      {1, "=CONFIG(9)", Padded("5")},
      {1, "=0.1234567891", Padded("0.1234568")},
  });
}

// Every parameter of the library's catalogue answers a value on the families
// it names, as a drive does for every name the host may show or copy.
TEST_F(Commands, EveryCatalogueParameterAnswersAValue) {
  std::ifstream sql(std::string(TALVERO_SOURCE_DIR) + "/data/library/parameters.sql");
  ASSERT_TRUE(sql) << "catalogue source not found";
  const std::regex row(R"(^\s*\(\s*\d+,\s*'[A-Z]+',\s*'([A-Z ]+)',\s*'([A-Z0-9_()]+)')");
  const std::pair<int, const char*> drives[] = {{1, "RHO"}, {4, "TAU"}, {31, "PSI"}};
  int rows = 0;
  for (std::string text; std::getline(sql, text);) {
    std::smatch m;
    if (!std::regex_search(text, m, row)) continue;
    ++rows;
    for (const auto& [node, family] : drives) {
      if (m[1].str().find(family) == std::string::npos) continue;
      EXPECT_NE(Ask(line, node, "=" + m[2].str()), Padded("?")) << m[2] << " on " << family;
    }
  }
  EXPECT_GT(rows, 0);
}

TEST_F(Commands, StatusRunControlAndFaults) {
  Run({
      {1, "Q", Bytes({0x00, 0x40})},  // hardware enable only
      {1, "q", Bytes({0x04, 0x00})},
      {1, ":!SWE=1", ACK},
      {1, "\x08", ACK},
      {1, "Q", Bytes({0x09, 0x40})},
      {1, "\x03", ACK},
      {1, "Q", Bytes({0x89, 0x40})},
      {1, "\x04", ACK},
      {1, "\x09", ACK},
      {1, "Q", Bytes({0x01, 0x40})},
      {1, "\x1B", ACK},  // E-stop disables
      {1, "Q", Bytes({0x00, 0x40})},
      {1, "\x02", Bytes({0})},
      {1, Bytes({'F', 'T', 0}), "Over Current"},
      {1, Bytes({'F', 'T', 29}), "Calibration Fault"},
      {1, Bytes({0x11, 0}), " "},  // empty history record
  });
  line.Drive(1).SetValue("VEL", "120.5");
  line.Drive(1).RaiseFault(4, "10:42");
  line.Drive(1).SetFaultText(3, "");
  Run({
      {1, Bytes({'F', 'T', 3}), " "},  // a reply is never empty
      {1, "Q", Bytes({0x06, 0x40})},
      {1, "=FLT", Padded("16")},
      {1, Bytes({0x11, 0}), "16,0,0,120.5,0,-1,10:42"},
      {1, Bytes({0x11, 1}), " "},
      {1, "\x08", NAK},  // no run while faulted
      {1, "\x17", ACK},
      {1, "Q", Bytes({0x00, 0x40})},
      {1, "ZB", ACK},  // clears the history
      {1, Bytes({0x11, 0}), " "},
      {1, "\x1C", ACK},
      {1, "\x16", ACK},
  });
  EXPECT_EQ(line.Drive(1).Calibrations(), 1);
  EXPECT_EQ(line.Drive(1).ForceSaves(), 1);
}

TEST_F(Commands, InputsOutputsAndForcing) {
  line.Drive(4).SetInputs(0x0A);
  Run({
      {4, "=IN", Padded("10")},
      {4, ":!IN0=2", ACK},   // input 1 forced off
      {4, ":!IN1=256", ACK}, // input 8 forced on
      {4, "=IN", Padded("264")},
      {4, "=IN&8", Padded("8")},
      {4, ":!IN1=264", ACK},  // input 8 forced both ways: off wins
      {4, ":!IN0=258", ACK},
      {4, "=IN", Padded("8")},
      {4, ":!OUT=5", ACK},
      {4, ":!OUT1=2048", ACK},
      {4, "=OUT", Padded("2053")},
      {4, "=OUTON(11)", Padded("1")},
      {4, ":!OUT=4096", NAK},
  });
}

TEST_F(Commands, UserVariablesAndEvents) {
  Run({
      {31, Bytes({'I', 4}) + "SPEED", "N"},
      {31, "VSPEED", ACK},
      {31, "VSPEED", NAK},   // already defined
      {31, "VKP", NAK},      // a parameter's name
      {31, "V1A", NAK},
      {31, Bytes({'I', 4}) + "SPEED", "Y"},
      {31, Bytes({'}', 0}), "SPEED"},
      {31, Bytes({'}', 1}), " "},
      {31, ":!SPEED=100", ACK},
      {31, "+SPEED", Bytes({0x42, 0xC8, 0x00, 0x00})},
      {31, "VDIST", ACK},
      {31, "vSPEED", ACK},
      {31, Bytes({'}', 0}), " "},
      {31, Bytes({'}', 1}), "DIST"},
      {31, "vNOSUCH", NAK},  // deleting what was never defined
      {31, "vDIST", ACK},
      {31, "vDIST", NAK},    // already gone
      {31, "v*", ACK},
      {31, Bytes({'}', 1}), " "},
      {31, Bytes({'T', 0}), " "},  // an empty event answers one blank
      {31, Bytes({'T', 9}), " "},
      {31, Bytes({'T', 4}), " "},
      {31, ":T4,IF IN1 THEN OUT2", ACK},
      {31, Bytes({'T', 4}), "IF IN1 THEN OUT2"},
      {31, ":UTE,0", ACK},
      {31, ":UTE,3", ACK},
      {31, ":UTE,9", ACK},
      {31, "\x15", Bytes({1, 0, 0, 1, 0, 0, 0, 0, 0, 1})},
      {31, ":UTD,3", ACK},
      {31, "\x15", Bytes({1, 0, 0, 0, 0, 0, 0, 0, 0, 1})},
  });
}

TEST_F(Commands, UnknownOrMalformedRequestsGetNoAnswer) {
  Run({
      {1, "\x05", ""},
      {1, "X", ""},
      {1, "L", ""},
      {1, Bytes({'T', 10}), ""},
      {1, Bytes({0x0D, 2}), ""},
      {1, Bytes({'P', 'D'}), ""},
  });
}

}  // namespace
