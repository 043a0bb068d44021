#include "sim/program_store.h"

#include <algorithm>

#include "runtime/text.h"

namespace talvero::sim {

std::string ProgramStore::ReadReply(Buffer b, int line) const {
  const Program& p = Get(b);
  if (line < 0 || line >= kProgramLines) return " ";
  if (!p.lines[line].empty()) return p.lines[line];
  for (int n = line + 1; n < kProgramLines; ++n)
    if (!p.lines[n].empty()) return std::string(" ") + char(n);
  return " ";
}

void ProgramStore::SetLine(Buffer b, int line, const std::string& text) {
  if (line < 0 || line >= kProgramLines) return;
  // A stored text never starts with a blank: that would read as a skip reply.
  Get(b).lines[line] = rt::Trim(text);
}

std::string ProgramStore::NormalName(const std::string& name) {
  return rt::UCase(rt::Trim(name));
}

bool ProgramStore::ValidName(const std::string& name) {
  std::string n = NormalName(name);
  if (n == kSaveName) return true;
  if (n.empty() || n.size() > 8) return false;
  return std::all_of(n.begin(), n.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ' || c == '_';
  });
}

std::string ProgramStore::SlotName(int slot) const {
  if (slot < 0 || slot >= int(library_.size())) return kEmptySlotName;
  std::string n = library_[slot].name;
  n.resize(8, ' ');
  return n;
}

const StoredProgram* ProgramStore::Find(const std::string& name) const {
  std::string n = NormalName(name);
  for (const StoredProgram& s : library_)
    if (s.name == n) return &s;
  return nullptr;
}

bool ProgramStore::Save(Buffer b, const std::string& name) {
  if (!ValidName(name)) return false;
  std::string n = NormalName(name);
  for (StoredProgram& s : library_) {
    if (s.name == n) {
      s.program = Get(b);
      return true;
    }
  }
  if (int(library_.size()) >= kLibrarySlots) return false;
  library_.push_back(StoredProgram{n, Get(b)});
  return true;
}

bool ProgramStore::Load(Buffer b, const std::string& name) {
  const StoredProgram* s = Find(name);
  if (!s) return false;
  Get(b) = s->program;
  return true;
}

bool ProgramStore::Delete(const std::string& name) {
  std::string n = NormalName(name);
  auto it = std::find_if(library_.begin(), library_.end(),
                         [&](const StoredProgram& s) { return s.name == n; });
  if (it == library_.end()) return false;
  library_.erase(it);
  return true;
}

}  // namespace talvero::sim
