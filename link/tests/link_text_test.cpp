// Text at the link's edge: UTF-8 in the program, Windows-1252 bytes on the line.
#include <gtest/gtest.h>

#include "link/link_text.h"
#include "link/tests/link_fixture.h"
#include "platform/ui/scripted_prompter.h"

namespace linktest {
namespace {

TEST(LinkText, UpperCasesLatinLettersAsBytes) {
  EXPECT_EQ(linktext::UpperCase("kp=1.5e3 \xE9\xFF\xF7"), "KP=1.5E3 \xC9\x9F\xF7");
  // š œ ž have their capitals 0x10 lower in the code page.
  EXPECT_EQ(linktext::UpperCase("\x9A\x9C\x9E"), "\x8A\x8C\x8E");
}

// Each case: the program's text, the bytes on the line, the upper-cased command.
struct TextCase {
  const char* utf8;
  const char* bytes;
  const char* command;
};
const TextCase kCases[] = {
    {"caf\xC3\xA9", "caf\xE9", "CAF\xC9"},          // é
    {"m\xC2\xB2", "m\xB2", "M\xB2"},                // ² has no capital
    {"5\xE2\x82\xAC", "5\x80", "5\x80"},            // €
    {"\xC5\xA1\xC5\x93\xC5\xBE", "\x9A\x9C\x9E", "\x8A\x8C\x8E"},  // š œ ž
};

class TextOnTheLine : public LinkTest {
 protected:
  talvero::ScriptedPrompter prompter;
};

TEST_F(TextOnTheLine, TextGoesOutAsItsBytesAndComesBackAsItsCharacters) {
  Open();
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.bytes);
    port->requests.clear();
    port->responder = Always("\x06");
    EXPECT_TRUE(isp->Exec(1, c.utf8));
    EXPECT_TRUE(isp->SetDriveName(1, c.utf8));
    ASSERT_EQ(port->requests.size(), 2u);
    EXPECT_EQ(port->requests[0].data, std::string(":") + c.command);
    EXPECT_EQ(port->requests[1].data, std::string("\x1D") + c.bytes);

    port->responder = Always(c.bytes);
    EXPECT_EQ(isp->GetDriveName(1), c.utf8);
    EXPECT_EQ(isp->FaultText(1, 2), c.utf8);
    EXPECT_EQ(isp->GetPgmLine(1, 0, ""), c.utf8);
  }
  EXPECT_TRUE(prompter.Failures().empty());
}

// A character with no byte is named once and nothing goes out; the caller sees a failure.
TEST_F(TextOnTheLine, ACharacterWithoutAByteIsRefusedAndNothingIsSent) {
  Open();
  port->responder = Always("\x06");
  const std::string ohm = "R=5\xE2\x84\xA6";  // Ω, U+2126
  const char* expected =
      "The character \"\xE2\x84\xA6\" (U+2126) can't be sent to a drive: drives know only the "
      "Windows-1252 characters.\n\nNothing was sent.";
  prompter.ExpectMessage(expected, talvero::Answer::Ok)
      .ExpectMessage(expected, talvero::Answer::Ok)
      .ExpectMessage(expected, talvero::Answer::Ok);
  const uint64_t before = isp->FailedOperations;
  EXPECT_FALSE(isp->Exec(1, ohm));
  EXPECT_FALSE(isp->SetPgmLine(1, "", 3, ohm));
  EXPECT_EQ(isp->ValueOf(1, ohm), "0");
  EXPECT_TRUE(port->requests.empty());
  EXPECT_EQ(isp->FailedOperations, before + 3);
  EXPECT_EQ(isp->ErrorCount, 0);  // the line did nothing wrong
  EXPECT_TRUE(prompter.Failures().empty());
  EXPECT_TRUE(prompter.AllShown());
}

// Bytes that make no character in the code page still reach the user as something.
TEST(LinkText, EveryByteFromADriveBecomesACharacter) {
  EXPECT_EQ(linktext::FromDrive("\x81\xE9"), "\xC2\x81\xC3\xA9");
  EXPECT_EQ(linktext::RefusalMessage("plain"), "");
  EXPECT_NE(linktext::RefusalMessage("\xE9").find("byte 0xE9"), std::string::npos);
}

// A skip reply carries the next line's number as a byte; it must stay that byte.
TEST_F(TextOnTheLine, ASkipReplyKeepsItsLineByte) {
  Open();
  port->responder = Always(" \xC8");
  EXPECT_EQ(isp->GetPgmLine(1, 7, ""), " \xC8");
}

}  // namespace
}  // namespace linktest
