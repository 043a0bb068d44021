#include "platform/help/catalogue_topics.h"

#include <sqlite3.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace talvero {
namespace {

using Row = std::map<std::string, std::string>;

bool Query(sqlite3* db, const char* sql, const std::function<void(const Row&)>& each) {
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) != SQLITE_OK) return false;
  int rc;
  while ((rc = sqlite3_step(st)) == SQLITE_ROW) {
    Row row;
    for (int i = 0; i < sqlite3_column_count(st); ++i) {
      const auto* text = sqlite3_column_text(st, i);
      row[sqlite3_column_name(st, i)] = text ? reinterpret_cast<const char*>(text) : "";
    }
    each(row);
  }
  sqlite3_finalize(st);
  return rc == SQLITE_DONE;
}

// A text line that would read as a topic header keeps its bracket.
std::string Line(const std::string& s) { return !s.empty() && s[0] == '[' ? "\\" + s : s; }

// "Move to ~1 ~u at ~2 ~u/sec" with its operands named.
std::string Shown(std::string gui, const std::string& p1, const std::string& p2) {
  const std::pair<std::string, std::string> marks[] = {
      {"~1", "<" + (p1.empty() ? "value" : p1) + ">"}, {"~2", "<" + (p2.empty() ? "value" : p2) + ">"},
      {"~u", "<units>"}};
  for (const auto& [mark, name] : marks)
    for (size_t at; (at = gui.find(mark)) != std::string::npos;) gui.replace(at, mark.size(), name);
  return gui;
}

std::string Operands(const Row& r) {
  std::string out;
  if (!r.at("P1").empty()) out += "  ~1  " + r.at("P1") + "\n";
  if (!r.at("P2").empty()) out += "  ~2  " + r.at("P2") + "\n";
  return out.empty() ? "Operands: none.\n" : "Operands:\n" + out;
}

const std::map<std::string, std::string> kGroups = {
    {"SU", "Modes: how the drive is commanded and enabled."},
    {"SM", "Motor: the motor the drive runs."},
    {"SF", "Feedback: the position feedback device."},
    {"SC", "Command: how commands are scaled and limited."},
    {"TU", "Tuning: the gains of the control loops."},
    {"MO", "Monitored values: what the drive reports while it runs."},
    {"OT", "Program settings: kept with each motion program."}};

const std::map<std::string, std::string> kChoices = {
    {"1", "motor type"}, {"2", "enable source"}, {"3", "command mode"}, {"4", "analog or digital"},
    {"5", "inactive or active"}, {"10", "feedback device"}, {"11", "encoder filter"},
    {"12", "stepper loop"}, {"13", "hold current ratio"}};

// The families' codes as the program's menus name the models.
const std::pair<const char*, const char*> kModels[] = {
    {"RHO", "KV110c"}, {"TAU", "KV110i/d"}, {"PHI", "KV/KZ120i/d"}, {"PSI", "KS130i/d"}};

// "RHO TAU" -> "KV110c, KV110i/d"; a code the program does not know stays as it is.
std::string Models(const std::string& codes) {
  std::istringstream in(codes);
  std::string out;
  for (std::string code; in >> code;) {
    std::string name = code;
    for (const auto& [c, model] : kModels)
      if (code == c) name = model;
    out += (out.empty() ? "" : ", ") + name;
  }
  return out;
}

void Topic(std::ostream& out, int context, const std::string& title, const std::vector<std::string>& keywords,
           const std::string& text) {
  out << "\n[" << context << "] " << title << "\n";
  std::string k;
  for (const std::string& w : keywords)
    if (!w.empty()) k += (k.empty() ? "" : "; ") + w;
  if (!k.empty()) out << "keywords: " << k << "\n";
  std::istringstream lines(text);
  for (std::string l; std::getline(lines, l);) out << Line(l) << "\n";
}

}  // namespace


std::string ShownAs(const std::string& format) {
  const auto choice = kChoices.find(format);
  if (choice != kChoices.end()) return "one of a list (" + choice->second + ")";
  if (format.empty() || format[0] != '#') return "one of a list";
  const std::size_t point = format.find('.');
  const std::string fraction = point == std::string::npos ? "" : format.substr(point + 1);
  int fixed = 0, optional = 0;
  for (char c : fraction) {
    if (c == '0') ++fixed;
    else if (c == '#') ++optional;
  }
  const int most = fixed + optional;
  auto places = [](int n) { return std::to_string(n) + (n == 1 ? " decimal place" : " decimal places"); };
  if (most == 0) return "a whole number";
  if (optional == 0) return "a number with " + places(fixed);
  if (fixed == 0) return "a number with up to " + places(most);
  return "a number with " + std::to_string(fixed) + " to " + places(most);
}

bool WriteCatalogueTopics(sqlite3* db, std::ostream& out) {
  bool ok = Query(db, "SELECT * FROM Steps ORDER BY id", [&](const Row& r) {
    Topic(out, 1000 + std::stoi(r.at("id")), r.at("des"), {r.at("des"), r.at("Prototype") + " step"},
          r.at("des") + ".\n\nKind of step: " + r.at("Typ") + "\nShown as: " +
              Shown(r.at("GUI"), r.at("P1"), r.at("P2")) + "\nDrive text: " + r.at("Prototype") + "\n" +
              Operands(r) + "\nIn the drive text, ~1 and ~2 stand for the operands.");
  });
  // A parameter's own words come from the notes table where the catalogue has one.
  std::map<std::string, std::string> notes;
  Query(db, "SELECT Name, description FROM ParameterNotes",
        [&](const Row& r) { notes[r.at("Name")] = r.at("description"); });
  ok = ok && Query(db, "SELECT * FROM Parameters ORDER BY id", [&](const Row& r) {
    const auto group = kGroups.find(r.at("DT"));
    const auto note = notes.find(r.at("Name"));
    std::string text = r.at("fullname") + " (" + r.at("Name") + ").\n\n";
    if (note != notes.end() && !note->second.empty()) text += note->second + "\n\n";
    if (group != kGroups.end()) text += "Group: " + group->second + "\n";
    text += "Units: " + (r.at("units").empty() ? std::string("none") : r.at("units")) + "\n";
    text += "Shown as: " + ShownAs(r.at("Format")) + "\n";
    text += "Read-only: " + std::string(r.at("rw") == "N" ? "yes, the drive only reports it" : "no") + "\n";
    text += "Drives: " + Models(r.at("Type"));
    Topic(out, 1200 + std::stoi(r.at("id")), r.at("Name") + " - " + r.at("fullname"), {r.at("Name"), r.at("fullname")},
          text);
  });
  ok = ok && Query(db, "SELECT * FROM Threads ORDER BY id", [&](const Row& r) {
    Topic(out, 1400 + std::stoi(r.at("id")), r.at("des"), {r.at("des"), r.at("Prototype") + " event"},
          r.at("des") + ".\n\nShown as: " + Shown(r.at("GUI"), r.at("P1"), r.at("P2")) +
              "\nDrive text: " + r.at("Prototype") + "\n" + Operands(r) +
              "\nAn event is watched while the drive's program runs.");
  });
  return ok;
}

}  // namespace talvero
