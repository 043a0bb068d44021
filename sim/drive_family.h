#pragma once
// The four drive families and the identity texts a simulated drive reports.
#include <optional>
#include <string>

namespace talvero::sim {

enum class Family { RHO, TAU, PHI, PSI };

// "RHO", "TAU", "PHI", "PSI" (exact case).
std::optional<Family> ParseFamily(const std::string& code);
std::string FamilyCode(Family f);

// The model text of the identity reply, as the program's menus name the
// family's drives ("KV110c" for RHO); its first two characters are the model
// prefix ("KV" for the PHI default, "KZ" for its other line).
std::string DefaultModelText(Family f);

// Parameter sets differ per family: inputs, outputs and the default units.
int InputCount(Family f);
int OutputCount(Family f);

}  // namespace talvero::sim
