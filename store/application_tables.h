#pragma once
// The tables of an application file, one place for their shape.
#include <string>
#include <string_view>

#include "platform/dao/table_def.h"

namespace talvero::store {

inline std::string AxisTable(std::string_view name) { return "AXIS:" + std::string(name); }
inline std::string PgmTable(std::string_view name) { return "PGM:" + std::string(name); }

inline dao::TableDef AxisListDef() {
  return {"Axis", {dao::FieldDef::Counter("ID"), dao::FieldDef::Text("Name", 32), dao::FieldDef::Text("AxisType", 32)}};
}
inline dao::TableDef ProgramListDef() {
  return {"Programs", {dao::FieldDef::Counter("ID"), dao::FieldDef::Text("Name", 32)}};
}
inline dao::TableDef AxisTableDef(std::string_view name) {
  return {AxisTable(name), {dao::FieldDef::Counter("ID"), dao::FieldDef::Text("Name", 8), dao::FieldDef::Text("Value", 32)}};
}
inline dao::TableDef PgmTableDef(std::string_view name) {
  return {PgmTable(name), {dao::FieldDef::Long("Line"), dao::FieldDef::Text("Text", 64)}};
}

}  // namespace talvero::store
