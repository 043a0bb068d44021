// The catalogue's step and event templates through the program's own codecs:
// every prototype, filled with operands, decodes back to its own type.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "data/tests/library_path.h"
#include "store/display_context.h"
#include "store/library_database.h"
#include "store/program.h"
#include "store/threads_mod.h"

namespace {

using datatest::LibraryPath;

struct TemplateRow {
  int id;
  std::string prototype, p1, p2;
};

// Read apart from the recordsets, which the codecs move as they search.
std::vector<TemplateRow> ReadTemplates(const std::string& table) {
  std::vector<TemplateRow> rows;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(LibraryPath().c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_stmt* st = nullptr;
    const std::string sql = "SELECT id, Prototype, ifnull(P1, ''), ifnull(P2, '') FROM " + table;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK) {
      auto text = [&](int i) { return std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, i))); };
      while (sqlite3_step(st) == SQLITE_ROW) rows.push_back({sqlite3_column_int(st, 0), text(1), text(2), text(3)});
    }
    sqlite3_finalize(st);
  }
  sqlite3_close(db);
  return rows;
}

// Operands a user could give for each descriptor; two sets, so that an
// operand which happens to look like a literal of another template shows up.
struct Operands {
  std::string label, variable, outputList, output, text, condition, command, number;
};
const Operands kOperandSets[] = {
    {"L1", "A1", "1,2", "3", "HELLO", "IN&4", "GS L1", "12.5"},
    {"END", "X", "7", "7", "GO", "A=1", "OS3", "-0.5"},
};

std::string Sample(const Operands& o, const std::string& descriptor, bool alone) {
  if (descriptor == "Label") return o.label;
  if (descriptor == "Variable") return o.variable;
  if (descriptor == "Text") return o.text;
  if (descriptor == "Command") return o.command;
  if (descriptor.find("Output") != std::string::npos) return alone ? o.outputList : o.output;
  if (descriptor.find("Condition") != std::string::npos) return o.condition;
  return o.number;
}

std::string Fill(std::string proto, const std::string& p1, const std::string& p2) {
  if (auto k = proto.find("~1"); k != std::string::npos) proto.replace(k, 2, p1);
  if (auto k = proto.find("~2"); k != std::string::npos) proto.replace(k, 2, p2);
  return proto;
}

class Codecs : public ::testing::Test {
 protected:
  void SetUp() override {
    auto lib = LibraryDatabase::Open(LibraryPath());
    ASSERT_TRUE(lib.ok()) << lib.error;
    lib_ = std::move(*lib);
    display_.UnitsName = "mm";
  }
  void TearDown() override { ThreadsMod::Bind(nullptr, nullptr); }

  std::unique_ptr<LibraryDatabase> lib_;
  DisplayContext display_;
};

TEST_F(Codecs, EveryStepPrototypeDecodesBackToItsOwnStep) {
  auto rows = ReadTemplates("Steps");
  ASSERT_FALSE(rows.empty());
  Program program(lib_->StepsRS.get(), &display_);
  for (const Operands& o : kOperandSets) {
    for (const TemplateRow& row : rows) {
      const bool alone = row.p2.empty();
      const std::string p1 = row.p1.empty() ? "" : Sample(o, row.p1, alone);
      const std::string p2 = row.p2.empty() ? "" : Sample(o, row.p2, false);
      const std::string text = Fill(row.prototype, p1, p2);
      SCOPED_TRACE("step " + std::to_string(row.id) + " '" + text + "'");
      EXPECT_LT(text.size(), 64u);
      program.MakeEmpty(0);
      program.Decode(0, text);
      ASSERT_EQ(program.Get_Op(0), row.id);
      if (!row.p1.empty()) {
        EXPECT_EQ(program.Get_p1(0), p1);
      }
      if (!row.p2.empty()) {
        EXPECT_EQ(program.Get_p2(0), p2);
      }
      EXPECT_EQ(program.Encode(0), text);
      const std::string shown = program.Decomp(0);
      for (const char* ph : {"~1", "~2", "~u"}) EXPECT_EQ(shown.find(ph), std::string::npos) << shown;
    }
  }
}

TEST_F(Codecs, EveryEventPrototypeDecodesBackToItsOwnEvent) {
  auto rows = ReadTemplates("Threads");
  ASSERT_FALSE(rows.empty());
  ThreadsMod::Bind(lib_->ThreadsRS.get(), &display_);
  for (const Operands& o : kOperandSets) {
    for (const TemplateRow& row : rows) {
      const std::string p1 = row.p1.empty() ? "" : Sample(o, row.p1, false);
      const std::string p2 = row.p2.empty() ? "" : Sample(o, row.p2, false);
      const std::string text = Fill(row.prototype, p1, p2);
      SCOPED_TRACE("event " + std::to_string(row.id) + " '" + text + "'");
      // An application keeps an event's text in 32 characters.
      EXPECT_LE(text.size(), 32u);
      ThreadsMod::SetEventOp(0, -1);
      ThreadsMod::DecodeEvent(0, text);
      ASSERT_EQ(ThreadsMod::GetEventOp(0), row.id);
      if (!row.p1.empty()) {
        EXPECT_EQ(ThreadsMod::GetEventP1(0), p1);
      }
      if (!row.p2.empty()) {
        EXPECT_EQ(ThreadsMod::GetEventP2(0), p2);
      }
      EXPECT_EQ(ThreadsMod::EncodeEvent(0), text);
      const std::string shown = ThreadsMod::DecompEvent(0);
      for (const char* ph : {"~1", "~2", "~u"}) EXPECT_EQ(shown.find(ph), std::string::npos) << shown;
    }
  }
  // A missing application event reads as "0": it must stay empty.
  ThreadsMod::SetEventOp(0, -1);
  ThreadsMod::DecodeEvent(0, "0");
  EXPECT_EQ(ThreadsMod::GetEventOp(0), -1);
}

}  // namespace
