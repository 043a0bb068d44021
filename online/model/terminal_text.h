#pragma once
// What the ASCII terminal sends and lists: the node check, the line that goes
// out, the message counter and how an entry is drawn. Qt-free.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace online {

// A drive that keeps talking is read for at most this many lines or this long per message.
constexpr int kTerminalReplyLines = 256;
constexpr int64_t kTerminalReplyMs = 10000;
constexpr int kTerminalCounterMax = 32767;

// The node of the node box: one or two digits, not 0; nullopt otherwise.
std::optional<int> TerminalNode(std::string_view text);
// "[" + node as at least two digits + "]" + message; the link adds the CR.
std::string TerminalLine(int node, std::string_view message);
// The counter as the entries show it: at least four digits and a blank.
std::string CounterText(int counter);
// One more message, held at the largest value.
int NextCounter(int counter);
// The text with each control character drawn as its visible symbol
// (LF as U+240A, DEL as U+2421); UTF-8 in and out.
std::string VisibleControls(std::string_view utf8);

}  // namespace online
