#include <gtest/gtest.h>

#include "platform/settings/ini_document.h"

namespace {

using talvero::IniDocument;

struct ReadCase {
  const char* text;
  const char* section;
  const char* key;
  std::optional<std::string> value;
};

TEST(IniDocument, ReadsWhatItCanFromAnyText) {
  using namespace std::string_literals;
  const std::string binary = "\x00\xff\xfe[\x01]\n\x00=\x00\n[S]\nk=1\n"s;
  const ReadCase cases[] = {
      {"[Setup]\nCOM=3\n", "Setup", "COM", "3"},
      {"[setup]\n  com = 3 \t\n", "SETUP", "Com", "3"},
      {"[OpenApps]\nList=a.APP;b.APP;\n", "OpenApps", "List", "a.APP;b.APP;"},
      {"[S]\nExpr=x=1 ; y\n", "S", "Expr", "x=1 ; y"},
      {"[S]\nk=\n", "S", "k", ""},
      {"[S]\nk=1\nk=2\n", "S", "k", "1"},
      {"[S]\nk=1\n[T]\nk=9\n[S]\nk=2\nj=5\n", "S", "k", "1"},
      {"[S]\nk=1\n[T]\nk=9\n[S]\nk=2\nj=5\n", "S", "j", "5"},
      {"[S]\nk=1\n[T]\nk=9\n[S]\nk=2\nj=5\n", "T", "k", "9"},
      {"k=1\n[S]\n", "S", "k", std::nullopt},
      {"[S]\r\nk=1\r\n", "S", "k", "1"},
      {"[S]\n;k=1\n#k=2\nk=3", "S", "k", "3"},
      {"[S]\njunk line\n=novalue\nk=1", "S", "k", "1"},
      {"[S\nk=1\n", "S", "k", std::nullopt},
      {"[S]\nk=1\n", "S", "j", std::nullopt},
      {"[S]\nk=1\n", "T", "k", std::nullopt},
      {"", "S", "k", std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IniDocument::Parse(c.text).Get(c.section, c.key), c.value) << c.text;
  EXPECT_EQ(IniDocument::Parse(binary).Get("S", "k"), "1");
}

struct EditCase {
  const char* before;
  const char* section;
  const char* key;
  const char* value;
  const char* after;
};

TEST(IniDocument, SetChangesOnlyTheLineItMust) {
  const EditCase cases[] = {
      {"; mine\n[Setup]\nCOM=1\n\n[Plot]\n1=0\n", "Setup", "TT", "1",
       "; mine\n[Setup]\nCOM=1\nTT=1\n\n[Plot]\n1=0\n"},
      {"[Setup]\nCOM=1\nx\n", "setup", "com", "3", "[Setup]\nCOM=3\nx\n"},
      {"[Setup]\nCOM=1", "Help", "GS", "1", "[Setup]\nCOM=1\n\n[Help]\nGS=1\n"},
      {"", "Help", "GS", "1", "[Help]\nGS=1\n"},
      {"[S]\r\nk=1\r\n", "S", "j", "2", "[S]\r\nk=1\r\nj=2\r\n"},
      {"[S]\nk=1\nk=2\n", "S", "k", "3", "[S]\nk=3\nk=2\n"},
      {"[S]\n[T]\n[S]\n", "S", "k", "v", "[S]\nk=v\n[T]\n[S]\n"},
  };
  for (const auto& c : cases) {
    IniDocument doc = IniDocument::Parse(c.before);
    doc.Set(c.section, c.key, c.value);
    EXPECT_EQ(doc.Text(), c.after) << c.before;
    EXPECT_EQ(doc.Get(c.section, c.key), c.value);
  }
}

TEST(IniDocument, RemoveTakesEveryCopyOfAKeyOrAWholeSection) {
  const EditCase cases[] = {
      {"[S]\nk=1\nj=2\n[S]\nK=3\n", "s", "k", "", "[S]\nj=2\n[S]\n"},
      {"[S]\nk=1\n[T]\nk=2\n", "S", "", "", "[T]\nk=2\n"},
      {"[S]\nk=1\n", "S", "j", "", "[S]\nk=1\n"},
  };
  for (const auto& c : cases) {
    IniDocument doc = IniDocument::Parse(c.before);
    EXPECT_EQ(doc.Remove(c.section, c.key), std::string(c.before) != c.after) << c.before;
    EXPECT_EQ(doc.Text(), c.after) << c.before;
  }
}

}  // namespace
