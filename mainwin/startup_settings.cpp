#include "mainwin/startup_settings.h"

#include <cctype>
#include <climits>

namespace mainwin {

const int32_t kDefaultPlotColours[6] = {0, 16777215, 0, 12500670, 65535, 9639167};

std::optional<long> SettingNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool neg = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) neg = text[i++] == '-';
  if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
  long v = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    if (v > (LONG_MAX - 9) / 10) return neg ? LONG_MIN : LONG_MAX;  // saturate
    v = v * 10 + (text[i] - '0');
  }
  return neg ? -v : v;
}

namespace {

long Clamp(long v, long lo, long hi) { return v < lo ? lo : (v > hi ? hi : v); }

long ReadNumber(const SettingsIO& io, const char* section, const char* key, long def) {
  return SettingNumber(io.get(section, key, std::to_string(def))).value_or(def);
}

}  // namespace

std::vector<int> ProbeRange(const SettingsIO& io) {
  long p = ReadNumber(io, "Setup", "CPS", 0);
  std::vector<int> range;
  if (p == 0)
    for (int i = 0; i < 8; ++i) range.push_back(i);
  else if (p >= 1 && p <= 8)
    range.push_back(int(p - 1));
  return range;
}

int32_t ReadPlotColour(const SettingsIO& io, int k) {
  std::string key = std::to_string(k);
  long def = kDefaultPlotColours[k];
  long v = ReadNumber(io, "Plot", key.c_str(), def);
  if (v < 0 || v > 16777215) v = def;
  io.save("Plot", key, std::to_string(v));
  return int32_t(v);
}

bool ReadFirstRun(const SettingsIO& io) {
  if (io.get("Help", "GS", "0") != "0") return false;
  io.save("Help", "GS", "1");
  return true;
}

bool ReadTips(const SettingsIO& io) {
  std::string tt = io.get("Setup", "TT", "1");
  io.save("Setup", "TT", tt);
  return tt == "1";
}

int ReadSavedPort(const SettingsIO& io) {
  long n = ReadNumber(io, "Setup", "COM", 1);
  return n < 0 ? 0 : int(Clamp(n, 0, INT_MAX));
}

LinkSettings ReadLinkSettings(const SettingsIO& io) {
  LinkSettings s;
  s.firstByteTimeout = int(Clamp(ReadNumber(io, "Setup", "B1T", 750), kMinFirstByte, kMaxTimeout));
  s.nextByteTimeout = int(Clamp(ReadNumber(io, "Setup", "BNT", 300), kMinNextByte, kMaxTimeout));
  s.retries = int(Clamp(ReadNumber(io, "Setup", "Retry", 8), kMinRetries, kMaxRetries));
  io.save("Setup", "B1T", std::to_string(s.firstByteTimeout));
  io.save("Setup", "BNT", std::to_string(s.nextByteTimeout));
  io.save("Setup", "Retry", std::to_string(s.retries));
  return s;
}

std::string CommandLine(const std::vector<std::string>& argv) {
  std::string line;
  for (size_t i = 1; i < argv.size(); ++i) {
    if (i > 1) line += ' ';
    line += argv[i];
  }
  return line;
}

namespace {
std::string Unescape(const std::string& item) {
  std::string out;
  for (size_t i = 0; i < item.size(); ++i) {
    if (item.compare(i, 3, "%3B") == 0 || item.compare(i, 3, "%3b") == 0) {
      out += ';';
      i += 2;
    } else if (item.compare(i, 3, "%25") == 0) {
      out += '%';
      i += 2;
    } else {
      out += item[i];
    }
  }
  return out;
}
}  // namespace

std::vector<std::string> SplitOpenApps(const std::string& list) {
  std::vector<std::string> items;
  size_t start = 0;
  for (size_t semi; (semi = list.find(';', start)) != std::string::npos; start = semi + 1) {
    std::string item = list.substr(start, semi - start);
    if (!item.empty()) items.push_back(Unescape(item));
  }
  return items;
}

std::string JoinOpenApps(const std::vector<std::string>& items) {
  std::string list;
  for (const std::string& item : items) {
    for (char c : item) list += c == ';' ? "%3B" : c == '%' ? "%25" : std::string(1, c);
    list += ';';
  }
  return list;
}

}  // namespace mainwin
