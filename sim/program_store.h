#pragma once
// The drive's two program buffers (the active program and the library edit
// buffer) and its library of 128 named programs, kept packed from slot 0 so
// that a scan may stop at the first empty slot.
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace talvero::sim {

constexpr int kProgramLines = 256;
constexpr int kLibrarySlots = 128;
constexpr const char* kEmptySlotName = "~~~~~~~~";
constexpr const char* kSaveName = "$$SAVE$$";

struct Program {
  std::array<std::string, kProgramLines> lines;  // "" = no step
  std::string ratio = "1";                       // TR / TTR
  std::string units = "5";                       // UU / TUU
};

struct StoredProgram {
  std::string name;  // trimmed, upper case
  Program program;
};

enum class Buffer { Active, Library };

class ProgramStore {
 public:
  Program& Get(Buffer b) { return b == Buffer::Active ? active_ : library_buffer_; }
  const Program& Get(Buffer b) const {
    return b == Buffer::Active ? active_ : library_buffer_;
  }

  // What a line read answers: the text, or a skip reply (a blank and the
  // number of the next line holding a step; a lone blank when none follows).
  std::string ReadReply(Buffer b, int line) const;
  void SetLine(Buffer b, int line, const std::string& text);
  void Clear(Buffer b) { Get(b) = Program{}; }

  // 1..8 characters of A-Z, 0-9, blank and underscore, or the save name.
  static bool ValidName(const std::string& name);
  static std::string NormalName(const std::string& name);

  // The 8-byte slot name, "~~~~~~~~" for an empty slot.
  std::string SlotName(int slot) const;
  bool Save(Buffer b, const std::string& name);  // false: bad name or library full
  bool Load(Buffer b, const std::string& name);  // false: no such program
  bool Delete(const std::string& name);
  const StoredProgram* Find(const std::string& name) const;
  const std::vector<StoredProgram>& Library() const { return library_; }
  void ClearLibrary() { library_.clear(); }

 private:
  Program active_;
  Program library_buffer_;
  std::vector<StoredProgram> library_;
};

}  // namespace talvero::sim
