#include "sim/drive_family.h"

namespace talvero::sim {

std::optional<Family> ParseFamily(const std::string& code) {
  if (code == "RHO") return Family::RHO;
  if (code == "TAU") return Family::TAU;
  if (code == "PHI") return Family::PHI;
  if (code == "PSI") return Family::PSI;
  return std::nullopt;
}

std::string FamilyCode(Family f) {
  switch (f) {
    case Family::RHO: return "RHO";
    case Family::TAU: return "TAU";
    case Family::PHI: return "PHI";
    case Family::PSI: return "PSI";
  }
  return "RHO";
}

std::string DefaultModelText(Family f) {
  // The model names the program's menus give each family, so a user can tell
  // them apart; a PHI drive is of the "KV" line unless its prefix says "KZ".
  switch (f) {
    case Family::RHO: return "KV110c";
    case Family::TAU: return "KV110i/d";
    case Family::PHI: return "KV120i/d";
    case Family::PSI: return "KS130i/d";
  }
  return "KV110c";
}

int InputCount(Family f) {
  switch (f) {
    case Family::RHO: return 8;
    case Family::TAU: return 7;
    case Family::PHI: return 9;
    case Family::PSI: return 9;
  }
  return 8;
}

int OutputCount(Family f) {
  switch (f) {
    case Family::RHO: return 8;
    case Family::TAU: return 3;
    case Family::PHI: return 4;
    case Family::PSI: return 12;
  }
  return 8;
}

}  // namespace talvero::sim
