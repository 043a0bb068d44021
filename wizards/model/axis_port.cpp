#include "wizards/model/axis_port.h"

#include "runtime/format.h"
#include "runtime/rounding.h"
#include "runtime/val.h"

namespace wizards {

double AxisPort::Number(const std::string& name) { return rt::Val(Read(name)); }

int AxisPort::Code(const std::string& name) { return rt::CInt(Number(name)); }

std::string WritePic(double value, const char* picture) {
  std::string s = rt::Format(value, picture);
  return s.empty() || s == "." ? "0" : s;
}

}  // namespace wizards
