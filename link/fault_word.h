#pragma once
// A drive's whole-number words (faults, inputs, outputs) as its value texts
// carry them: the status tab, the fault history and the drive report read
// them by this one rule.
#include <cstdint>
#include <string_view>
#include <vector>

// The 32 bits a drive's reading stands for: its leading number, whole
// (halves to even), a negative one in two's complement. A reading outside
// 32 bits is no word at all and gives 0.
uint32_t DriveWord(std::string_view text);

// The fault codes 0..29 set in a fault word, in increasing order.
std::vector<int> FaultCodes(uint32_t word);
inline std::vector<int> FaultCodes(std::string_view text) { return FaultCodes(DriveWord(text)); }
