#pragma once
// The I/O configuration word and the family's functions from the library
// table IO: which functions a word sets, and what a switch does to it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace talvero::dao {
class Recordset;
}

namespace wizards {

class AxisPort;

// "TAUI", "PHII", "PSII" or "RHO" for the selected axis' family; "" for any
// other, which lists nothing.
std::string IOTableKey(AxisPort& axis);

struct IoRow {
  std::string fullname;
  int id = 0;
};

class IoFunctions {
 public:
  static constexpr int kMaxId = 256;

  // The rows whose Name contains the key (case counts), in table order, and
  // their masks kept by id. A row with an id outside 0..256 is left out; a
  // Null Bit or Kill is 0. An empty key gives no rows.
  std::vector<IoRow> Load(talvero::dao::Recordset& io, const std::string& key);

  // Three passes from the top: a function with any of its bits in the word
  // is on and clears the functions it excludes. One flag per row.
  std::vector<bool> Settle(int32_t& word, const std::vector<IoRow>& rows) const;
  // A function that is on clears its bits; one that is off sets them and
  // clears the functions it excludes.
  int32_t Switch(int32_t word, int id) const;

  int32_t Bit(int id) const { return bit_.at(size_t(id)); }
  int32_t Kill(int id) const { return kill_.at(size_t(id)); }

 private:
  std::array<int32_t, kMaxId + 1> bit_{};
  std::array<int32_t, kMaxId + 1> kill_{};
};

}  // namespace wizards
