#pragma once
// The shape of one table: its fields in order, with their types and sizes.
#include <string>
#include <string_view>
#include <vector>

#include "platform/dao/status.h"
#include "platform/dao/value.h"

namespace talvero::dao {

enum class FieldType { Long, Double, Text };

struct FieldDef {
  std::string name;
  FieldType type = FieldType::Text;
  int size = 0;                // Text only: most characters allowed; 0 = no limit
  bool autoIncrement = false;  // Long only: the row identity, numbered by the file

  static FieldDef Long(std::string n) { return {std::move(n), FieldType::Long, 0, false}; }
  static FieldDef Counter(std::string n) { return {std::move(n), FieldType::Long, 0, true}; }
  static FieldDef Double(std::string n) { return {std::move(n), FieldType::Double, 0, false}; }
  static FieldDef Text(std::string n, int size) { return {std::move(n), FieldType::Text, size, false}; }
};

struct TableDef {
  std::string name;
  std::vector<FieldDef> fields;

  // The field with that name (names compare case-blind), or nullptr.
  const FieldDef* Find(std::string_view field) const;
};

// Longest table or field name the files accept.
constexpr size_t kMaxNameLength = 64;

// Whether a table or field name can be stored: 1 to 64 characters, no control
// characters, none of . ! ` [ ] and no leading blank. The reason when not.
Status CheckName(std::string_view name);

// Names compare case-blind (ASCII letters), as the files do.
bool SameName(std::string_view a, std::string_view b);

}  // namespace talvero::dao
