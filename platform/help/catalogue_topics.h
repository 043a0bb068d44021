#pragma once
// The help topics of the library database: one for every step type (1000 +
// its code), parameter (1200 + its id) and event type (1400 + its code), in
// the help file's text format, so the help contexts the editors open show
// the catalogue's own words.
#include <ostream>
#include <string>

struct sqlite3;

namespace talvero {

// False when the database lacks a table or a field the topics need.
bool WriteCatalogueTopics(sqlite3* db, std::ostream& out);

// How a parameter's value is shown, in words, from its Format code: a numeric
// picture ("###0.0") or the code of an enumeration.
std::string ShownAs(const std::string& format);

}  // namespace talvero
