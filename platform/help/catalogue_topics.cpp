// Writes the help file the program reads: the hand-written topics followed by
// one topic for every step type (1000 + its code), parameter (1200 + its id)
// and event type (1400 + its code) of the library database, so the help
// contexts the editors open show real text.
//
//   talvero_help_topics KOVdata.KOV talvero.help out.help
#include <sqlite3.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

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

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s KOVdata.KOV talvero.help out.help\n", argv[0]);
    return 2;
  }
  std::ifstream base(argv[2], std::ios::binary);
  if (!base) {
    std::fprintf(stderr, "cannot read %s\n", argv[2]);
    return 1;
  }
  std::ostringstream out;
  out << base.rdbuf();
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(argv[1], &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
    std::fprintf(stderr, "cannot open %s\n", argv[1]);
    return 1;
  }
  bool ok = Query(db, "SELECT id, Typ, des, GUI, Prototype, P1, P2 FROM Steps ORDER BY id", [&](const Row& r) {
    Topic(out, 1000 + std::stoi(r.at("id")), r.at("des"), {r.at("des"), r.at("Prototype") + " step"},
          r.at("des") + ".\n\nKind of step: " + r.at("Typ") + "\nShown as: " +
              Shown(r.at("GUI"), r.at("P1"), r.at("P2")) + "\nDrive text: " + r.at("Prototype") + "\n" +
              Operands(r) + "\nIn the drive text, ~1 and ~2 stand for the operands.");
  });
  ok = ok && Query(db, "SELECT id, DT, Type, Name, fullname, Format, units, rw FROM Parameters ORDER BY id",
                   [&](const Row& r) {
                     const std::string& f = r.at("Format");
                     const auto choice = kChoices.find(f);
                     const auto group = kGroups.find(r.at("DT"));
                     Topic(out, 1200 + std::stoi(r.at("id")), r.at("Name") + " - " + r.at("fullname"),
                           {r.at("Name"), r.at("fullname")},
                           r.at("fullname") + " (" + r.at("Name") + ").\n\n" +
                               (group != kGroups.end() ? "Group: " + group->second + "\n" : std::string()) +
                               "Units: " + (r.at("units").empty() ? "none" : r.at("units")) + "\n" +
                               "Format: " +
                               (choice != kChoices.end() ? "a choice (" + choice->second + ")" : f) + "\n" +
                               "Read-only: " + (r.at("rw") == "N" ? "yes, the drive only reports it" : "no") +
                               "\nDrive families: " + r.at("Type"));
                   });
  ok = ok && Query(db, "SELECT id, des, GUI, Prototype, P1, P2 FROM Threads ORDER BY id", [&](const Row& r) {
    Topic(out, 1400 + std::stoi(r.at("id")), r.at("des"), {r.at("des"), r.at("Prototype") + " event"},
          r.at("des") + ".\n\nShown as: " + Shown(r.at("GUI"), r.at("P1"), r.at("P2")) +
              "\nDrive text: " + r.at("Prototype") + "\n" + Operands(r) +
              "\nAn event is watched while the drive's program runs.");
  });
  sqlite3_close(db);
  if (!ok) {
    std::fprintf(stderr, "the library database %s lacks a table or a field\n", argv[1]);
    return 1;
  }
  std::ofstream file(argv[3], std::ios::binary | std::ios::trunc);
  file << out.str();
  return file.good() ? 0 : 1;
}
