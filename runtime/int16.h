#pragma once
// 16-bit helpers: the legacy code keeps counters and words in 16 bits.
#include <cstdint>

namespace rt {

// Adds one unless the counter has reached its ceiling (32767 by default).
int16_t SaturatingIncrement(int16_t value, int16_t ceiling = INT16_MAX);

// Low and high byte of a 16-bit word, and the word from them.
inline uint8_t LowByte(uint16_t w) { return uint8_t(w & 0xFF); }
inline uint8_t HighByte(uint16_t w) { return uint8_t(w >> 8); }
inline uint16_t MakeWord(uint8_t low, uint8_t high) { return uint16_t(low | (high << 8)); }

// The legacy Boolean: True is -1.
constexpr int16_t True = -1;
constexpr int16_t False = 0;

}  // namespace rt
