#pragma once
// Reads a line description such as "1:RHO,2:TAU,5:PSI,7:PHI/KZ" into a SimLine.
#include <string>

#include "sim/sim_line.h"

namespace talvero::sim {

// Adds each "node:FAMILY" (optionally "/XY", the model prefix) to the line.
// False with a message when an entry is malformed, a node is outside 1..31 or
// given twice.
bool AddDrives(SimLine& line, const std::string& description, std::string* error);

// "NODE[:AFTER[:MS]]": the drive on NODE lets AFTER requests through, then
// answers nothing for MS milliseconds (for good without MS).
bool AddSilence(SimLine& line, const std::string& spec, std::string* error);

// "NODE:CODE[,NODE:CODE...]": raises fault CODE (0..29) on the drive at NODE.
bool RaiseFaults(SimLine& line, const std::string& spec, std::string* error);

}  // namespace talvero::sim
