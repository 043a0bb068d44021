#pragma once
// The drive's named values: parameters, state variables and user variables.
// Values are held as the drive's number text; writes respect limits and
// read-only variables.
#include <map>
#include <optional>
#include <string>

#include "sim/drive_family.h"

namespace talvero::sim {

// The drive's number text: up to 7 significant digits, no trailing zeros.
std::string FormatNumber(double v);

class VariableTable {
 public:
  struct Variable {
    std::string text = "0";
    double min = -2147483648.0;
    double max = 2147483647.0;
    bool readOnly = false;  // for the host; the drive itself may still set it
  };

  enum class WriteResult { Ok, Unknown, ReadOnly, OutOfRange };

  void LoadDefaults(Family f);

  bool Has(const std::string& name) const { return vars_.count(name) != 0; }
  std::optional<std::string> Text(const std::string& name) const;
  std::optional<double> Number(const std::string& name) const;
  const Variable* Find(const std::string& name) const;

  // A write from the host: checked against limits and the read-only flag.
  // Unknown plain names are created, as the drive accepts every parameter of
  // the library; create = false refuses them.
  WriteResult Write(const std::string& name, double value, bool create = true);

  // The drive's own write (tests, state changes): no checks, creates the name.
  void Set(const std::string& name, const std::string& text);
  void SetNumber(const std::string& name, double v) { Set(name, FormatNumber(v)); }
  void SetLimits(const std::string& name, double min, double max);
  void SetReadOnly(const std::string& name, bool ro);
  void Erase(const std::string& name) { vars_.erase(name); }

 private:
  std::map<std::string, Variable> vars_;
};

}  // namespace talvero::sim
