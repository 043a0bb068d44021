#include "platform/serial/port_map.h"

#include <cstdlib>

#include "platform/serial/serial_port_object.h"

namespace talvero {
namespace {
PortResolver& Resolver() {
  static PortResolver resolver;
  return resolver;
}
}  // namespace

void SetPortResolver(PortResolver resolver) { Resolver() = std::move(resolver); }

std::string DeviceForPort(int n) {
  if (n < 1) return "";
  std::string key = "COM" + std::to_string(n);
  if (const char* env = std::getenv(("TALVERO_" + key).c_str()); env && *env) return env;
  if (Resolver()) {
    std::string mapped = Resolver()(n);
    if (!mapped.empty()) return mapped;
  }
  return "/dev/ttyS" + std::to_string(n - 1);
}

PortFailure ProbePort(int n) {
  SerialPortObject port;
  port.SetPortNumber(n);
  port.Open();
  PortFailure result = port.LastFailure();
  port.Close();
  return result;
}

std::string DescribePortFailure(const PortFailure& f) {
  const std::string dev = f.device.empty() ? std::string("the serial port") : f.device;
  switch (f.reason) {
    case PortFailureReason::None:
      return dev + " is open.";
    case PortFailureReason::NotFound:
      return dev + " does not exist.";
    case PortFailureReason::PermissionDenied:
      return "No permission to open " + dev +
             ". Add your user to the dialout group and log in again.";
    case PortFailureReason::Busy:
      return dev + " is in use by another program.";
    case PortFailureReason::NotASerialDevice:
      return dev + " is not a serial port.";
    case PortFailureReason::Other:
      break;
  }
  return "Cannot open " + dev + ": " + f.errnoText;
}

}  // namespace talvero
