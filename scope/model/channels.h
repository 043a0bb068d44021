#pragma once
// What a trace can show and how long a capture lasts: the channel captions
// with their unit suffixes, the timebase list and the drive's unit name.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace scope {

inline constexpr int kChannels = 15;
inline constexpr int kSamples = 250;

inline constexpr std::array<std::string_view, kChannels> kChannelCaptions = {
    "Analog Command",    "Target Position", "Target Velocity", "Target Acceleration",
    "Feedback Position", "Feedback Velocity", "Position Error", "Current Reference",
    "Velocity Error",    "PID Reference",   "PID Error",       "PID Feedback",
    "PID Output",        "GRF1",            "GRF2"};

// The channel's caption; channel 0's for a code outside the table.
std::string ChannelCaption(int channel);
// The suffix of a trace's value-axis title ("" for channels without one).
std::string UnitSuffix(int channel, const std::string& unit);

// Capture lengths in seconds, each followed by a comma.
inline constexpr std::string_view kTimebaseList =
    "0.1,0.2,0.3,0.5,0.8,1.0,1.5,2.0,2.5,3.0,5.0,10.0,15.0,20.0,25.0,";
// The items of a comma-terminated list; the last comma starts no item.
std::vector<std::string> SplitList(std::string_view list);
// The byte the drive takes: the caption's seconds x 10, rounded.
int TimebaseCode(const std::string& caption);

// The unit name for the drive's unit index: rounded, and entry 0 of the
// units list when the result lies outside it.
std::string UnitNameFromIndex(float index);

}  // namespace scope
