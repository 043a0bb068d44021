#include "sim/variable_table.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace talvero::sim {

std::string FormatNumber(double v) {
  if (v == 0) return "0";  // also -0
  if (std::fabs(v - std::round(v)) < 1e-9 && std::fabs(v) < 1e15) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lld", static_cast<long long>(std::llround(v)));
    return buf;
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.7G", v);
  return buf;
}

std::optional<std::string> VariableTable::Text(const std::string& name) const {
  auto it = vars_.find(name);
  if (it == vars_.end()) return std::nullopt;
  return it->second.text;
}

std::optional<double> VariableTable::Number(const std::string& name) const {
  auto t = Text(name);
  if (!t) return std::nullopt;
  char* end = nullptr;
  double v = std::strtod(t->c_str(), &end);
  if (end == t->c_str()) return 0.0;
  return v;
}

const VariableTable::Variable* VariableTable::Find(const std::string& name) const {
  auto it = vars_.find(name);
  return it == vars_.end() ? nullptr : &it->second;
}

VariableTable::WriteResult VariableTable::Write(const std::string& name, double value,
                                                bool create) {
  auto it = vars_.find(name);
  if (it == vars_.end()) {
    if (!create) return WriteResult::Unknown;
    vars_[name].text = FormatNumber(value);
    return WriteResult::Ok;
  }
  Variable& v = it->second;
  if (v.readOnly) return WriteResult::ReadOnly;
  if (value < v.min || value > v.max) return WriteResult::OutOfRange;
  v.text = FormatNumber(value);
  return WriteResult::Ok;
}

void VariableTable::Set(const std::string& name, const std::string& text) {
  vars_[name].text = text;
}

void VariableTable::SetLimits(const std::string& name, double min, double max) {
  Variable& v = vars_[name];
  v.min = min;
  v.max = max;
}

void VariableTable::SetReadOnly(const std::string& name, bool ro) { vars_[name].readOnly = ro; }

void VariableTable::LoadDefaults(Family f) {
  vars_.clear();
  struct Def {
    const char* name;
    const char* value;
    double min, max;
    bool ro;
  };
  // State the drive reports; the host may read but not write these.
  static const Def kState[] = {
      {"FLT", "0", 0, 1073741823, true},  {"RERR", "0", 0, 255, true},
      {"VEL", "0", -100000, 100000, true}, {"FPOS", "0", -1e9, 1e9, true},
      {"THET", "0", 0, 65535, true},      {"IRA", "0", -100, 100, true},
      {"IREF", "0", -1250, 1250, true},   {"ADC1", "0", -10, 10, true},
      {"TPS", "1000", 0, 1e6, true},      {"TDPS", "250", 0, 1e6, true},
      {"IN", "0", 0, 511, true},          {"HWE", "1", 0, 1, true},
      {"FOLD", "0", 0, 1, true},          {"RSTI", "0", 0, 1, true},
  };
  // Parameters and writable variables with their limits.
  static const Def kParams[] = {
      {"SWE", "0", 0, 1, false},           {"TPOS", "0", -1e9, 1e9, false},
      {"RUNV", "0", -1e6, 1e6, false},     {"OUT", "0", 0, 4095, false},
      {"IN0", "0", 0, 511, false},         {"IN1", "0", 0, 511, false},
      {"OUT0", "0", 0, 4095, false},       {"OUT1", "0", 0, 4095, false},
      {"TR", "1", -1e6, 1e6, false},       {"UU", "5", 0, 6, false},
      {"TTR", "1", -1e6, 1e6, false},      {"TUU", "5", 0, 6, false},
      {"KP", "10", 0, 1000, false},        {"KI", "0.5", 0, 1000, false},
      {"KD", "0", 0, 1000, false},         {"KV", "1", 0, 1000, false},
      {"IRMS", "2.5", 0, 50, false},       {"IPEAK", "7.5", 0, 150, false},
      {"MRES", "1.2", 0, 100, false},      {"MIND", "2.4", 0, 1000, false},
      {"EPPR", "4000", 0, 1048576, false}, {"PPG", "4", 2, 64, false},
      {"ACC", "1000", 0, 1e7, false},      {"DEC", "1000", 0, 1e7, false},
      {"MAXV", "3000", 0, 100000, false},  {"IOCW", "0", 0, 65535, false},
      {"CM", "0", 0, 7, false},            {"FEED", "0", 0, 3, false},
      // Motor, feedback and loop set-up.
      {"MPOL", "8", 2, 64, false},         {"INER", "0.0001", 0, 100, false},
      {"BSPD", "3000", 0, 100000, false},  {"RRES", "0.5", 0, 1000, false},
      {"RFLX", "0.1", 0, 100, false},      {"MFLX", "0.1", 0, 100, false},
      {"KT", "0.5", 0, 100, false},        {"KF", "0", 0, 1000, false},
      {"REAL", "0", 0, 1, false},          {"FSV", "3000", 0, 100000, false},
      {"PET", "0.001", 0, 100, false},     {"SPPR", "200", 1, 1000000, false},
      {"OSPD", "20000", 0, 1000000, false}, {"DCM", "0", 0, 1, false},
      {"DM", "3", 0, 15, false},           {"EM", "0", 0, 15, false},
      {"FBF", "500", 0, 100000, false},    {"FBS", "1", 0.01, 1000, false},
      {"DCV", "0", -10, 10, false},        {"DCC", "0", -100, 100, false},
      {"VFF", "0", 0, 1000, false},        {"VFI", "0", 0, 1000, false},
      {"RPOL", "2", 0, 64, false},         {"COFF", "0", -360, 360, false},
      {"CDLY", "0", 0, 10000, false},      {"IMAX", "7.5", 0, 150, false},
      {"IKPD", "1", 0, 32767, false},      {"IKPQ", "1", 0, 32767, false},
      {"IKP", "1", 0, 1000, false},        {"RGNI", "0", 0, 1000, false},
      {"RGNL", "0", 0, 100000, false},     {"MCG", "0", 0, 1000, false},
      {"MCSV", "5", 0, 100000, false},     {"THC", "0", 0, 1000, false},
      {"MRSN", "200", 1, 1000000, false},  {"IC", "1", 0, 100, false},
      {"IP", "1", 0, 100, false},          {"TRK", "1", -1e6, 1e6, false},
      {"LOOP", "0", 0, 1, false},          {"HCR", "0", 0, 3, false},
      {"EFIL", "0", 0, 7, false},
  };
  for (const Def& d : kState) vars_[d.name] = Variable{d.value, d.min, d.max, d.ro};
  for (const Def& d : kParams) vars_[d.name] = Variable{d.value, d.min, d.max, d.ro};
  for (int i = 0; i < 10; ++i) vars_["CONFIG(" + std::to_string(i) + ")"] = Variable{};
  vars_["CONFIG(1)"].text = f == Family::PSI ? "34" : f == Family::PHI ? "48" : "24";
  if (f == Family::PSI) vars_["MRES"].text = "0.8";
}

}  // namespace talvero::sim
