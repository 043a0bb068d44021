#pragma once
// The port interface the drive link talks to: one serial line, byte by byte.
// SerialPortObject implements it over a terminal device; tests script it.
#include <cstdint>
#include <string>

namespace talvero {

// Why a port could not be opened, so the main window can tell the user.
enum class PortFailureReason {
  None,              // opened (or nothing tried yet)
  NotFound,          // no such device
  PermissionDenied,  // the user may not open it (not in the dialout group)
  Busy,              // another program holds the line
  NotASerialDevice,  // the path is no terminal device
  Other,             // anything else; see errnoText
};

struct PortFailure {
  PortFailureReason reason = PortFailureReason::None;
  std::string device;     // the path that was tried ("" when none could be mapped)
  std::string errnoText;  // the system's own words, for Other

  bool ok() const { return reason == PortFailureReason::None; }
};

// One line for a message box: what failed and what the user can do.
std::string DescribePortFailure(const PortFailure& failure);

// The four further line settings; 0 is the value the drives need for each.
enum class LineSetting {
  Parity = 0,       // 0 none, 1 odd, 2 even
  StopBits = 1,     // 0 one stop bit, 1 two
  FlowControl = 2,  // 0 none, 1 RTS/CTS, 2 XON/XOFF
  CarrierWatch = 3, // 0 ignore the modem status lines, 1 honour carrier detect
};

class SerialPort {
 public:
  virtual ~SerialPort() = default;

  virtual void SetPortNumber(int n) = 0;  // COMn, 1..
  virtual void SetSpeed(int baud) = 0;
  virtual void SetDataBits(int bits) = 0;
  virtual void SetLineSetting(LineSetting which, int value) = 0;

  // A handle above 0 when open, a negative value when the open failed.
  virtual int32_t Open() = 0;
  virtual void Close() = 0;
  // 0..255, or a negative value when nothing came within timeoutMs.
  virtual int ReadByte(int32_t timeoutMs) = 0;
  virtual void WriteByte(uint8_t byte) = 0;
  virtual void WriteString(const std::string& bytes) = 0;
  // What arrived within timeoutMs, at most maxLen bytes, possibly nothing.
  virtual std::string ReadString(int maxLen, int32_t timeoutMs) = 0;

  // Why the last Open failed; reason None after a successful one.
  virtual PortFailure LastFailure() const = 0;

  // The device went away while open (hung up, unplugged, switched off): the
  // port has let go of it and every read fails at once until the next Open.
  virtual bool LineGone() const { return false; }
  // The device the port has (or last had) open; "" when it cannot tell.
  virtual std::string DevicePath() const { return ""; }
};

}  // namespace talvero
