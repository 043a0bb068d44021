#pragma once
// Applications as the earlier program wrote them, for tests and the bench:
// the tables of a model written by the test-only Jet 3 writer.
#include <string>
#include <vector>

#include "platform/jet/tests/jet3_writer.h"
#include "store/applic.h"
#include "store/application_tables.h"
#include "store/legacy_application.h"
#include "store/library_database.h"

namespace talvero::store::testing {

namespace jw = talvero::jet::testing;

// Axis and Programs first, then each axis' and each program's table.
inline std::vector<jw::Table> LegacyTables(const LegacyApplication& app) {
  using jw::Type;
  jw::Table axes{"Axis", {{"ID", Type::Long, 0, true}, {"Name", Type::Text, 32}, {"AxisType", Type::Text, 32}}};
  jw::Table pgms{"Programs", {{"ID", Type::Long, 0, true}, {"Name", Type::Text, 32}}};
  std::vector<jw::Table> own;
  for (const LegacyAxis& a : app.axes) {
    axes.rows.push_back({std::to_string(axes.rows.size() + 1), a.name, a.family});
    jw::Table t{"AXIS:" + a.name, {{"ID", Type::Long, 0, true}, {"Name", Type::Text, 8}, {"Value", Type::Text, 32}}};
    for (const auto& [name, value] : a.params) t.rows.push_back({std::to_string(t.rows.size() + 1), name, value});
    own.push_back(std::move(t));
  }
  for (const LegacyProgram& p : app.programs) {
    pgms.rows.push_back({std::to_string(pgms.rows.size() + 1), p.name});
    jw::Table t{"PGM:" + p.name, {{"Line", Type::Long}, {"Text", Type::Text, 64}}};
    for (const auto& [line, text] : p.lines) t.rows.push_back({std::to_string(line), text});
    own.push_back(std::move(t));
  }
  std::vector<jw::Table> out{axes, pgms};
  out.insert(out.end(), own.begin(), own.end());
  return out;
}

inline std::string LegacyFile(const LegacyApplication& app) { return jw::WriteJet3(LegacyTables(app)); }

// The names of the library's Parameters, in its order.
inline std::vector<std::string> CatalogueParameters(const std::string& libraryPath) {
  std::vector<std::string> out;
  auto lib = LibraryDatabase::Open(libraryPath);
  if (!lib) return out;
  auto& rs = *(*lib)->ParametersRS;
  for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) out.push_back(rs.Text("Name"));
  return out;
}

// Every catalogue parameter with a value of its own, then the 10 events.
inline LegacyAxis FullAxis(const std::string& name, const std::string& family, const std::vector<std::string>& params) {
  LegacyAxis a{name, family, {}};
  for (size_t i = 0; i < params.size(); ++i) a.params.emplace_back(params[i], std::to_string(int(i) * 37 - 100));
  for (int e = 0; e < 10; ++e)
    a.params.emplace_back(":E" + std::to_string(e), e % 3 ? "0" : "IN" + std::to_string(e + 1) + "=1:GOTO " + std::to_string(e * 10));
  return a;
}

// All 256 steps and the three settings lines.
inline LegacyProgram FullProgram(const std::string& name) {
  LegacyProgram p{name, {}};
  for (int line = 0; line < 256; ++line) p.lines.emplace_back(line, "MA " + std::to_string(line * 125 - 4000));
  p.lines.emplace_back(-4, "Füllen und Schließen");
  p.lines.emplace_back(-3, "2.5");
  p.lines.emplace_back(-2, "mm");
  return p;
}

// The contents of an application, one line a row, in the order of its slots
// and tables: a converted file compares with its model in one look.
inline std::string Dump(const LegacyApplication& app) {
  std::string out;
  for (const LegacyAxis& a : app.axes) {
    out += "axis " + a.name + " " + a.family + "\n";
    for (const auto& [name, value] : a.params) out += "  " + name + "=" + value + "\n";
  }
  for (const LegacyProgram& p : app.programs) {
    out += "program " + p.name + "\n";
    for (const auto& [line, text] : p.lines) out += "  " + std::to_string(line) + " " + text + "\n";
  }
  return out;
}

inline std::string Dump(Applic& app) {
  LegacyApplication model;
  for (int16_t slot = 1; slot <= Applic::GetMaxAxis(); ++slot) {
    if (app.GetAxisName(slot).empty()) continue;
    LegacyAxis a{app.GetAxisName(slot), app.WhatType(slot), {}};
    if (auto rs = app.Database()->OpenRecordset(AxisTable(a.name)))
      for (; !(*rs)->Eof(); (*rs)->MoveNext()) a.params.emplace_back((*rs)->Text("Name"), (*rs)->Text("Value"));
    model.axes.push_back(std::move(a));
  }
  for (int16_t slot = 1; slot <= Applic::GetMaxPgm(); ++slot) {
    if (app.GetPgmName(slot).empty()) continue;
    LegacyProgram p{app.GetPgmName(slot), {}};
    if (auto rs = app.Database()->OpenRecordset(PgmTable(p.name)))
      for (; !(*rs)->Eof(); (*rs)->MoveNext()) p.lines.emplace_back(int32_t((*rs)->Field("Line").Long()), (*rs)->Text("Text"));
    model.programs.push_back(std::move(p));
  }
  return Dump(model);
}

}  // namespace talvero::store::testing
