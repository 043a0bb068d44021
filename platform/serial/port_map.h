#pragma once
// COMn -> device path: the environment (TALVERO_COMn) first, then the hook the
// main window installs (its settings section "Ports", key "COMn"), then
// /dev/ttyS<n-1>.
#include <functional>
#include <string>

#include "platform/serial/serial_port.h"

namespace talvero {

// The hook answers "" when it has no mapping for COMn.
using PortResolver = std::function<std::string(int n)>;
void SetPortResolver(PortResolver resolver);  // an empty function removes it

// "" for n < 1.
std::string DeviceForPort(int n);

// Opens and closes the device COMn maps to; reason None when it could be opened.
PortFailure ProbePort(int n);

}  // namespace talvero
