#pragma once
// SerialPortObject: a serial line over termios. 19200 8N1 raw by default, no
// flow control, exclusive (TIOCEXCL and flock), per-byte time-outs by poll(2).
#include <cstdint>
#include <string>

#include "platform/serial/serial_port.h"

namespace talvero {

class SerialPortObject : public SerialPort {
 public:
  SerialPortObject() = default;
  ~SerialPortObject() override;
  SerialPortObject(const SerialPortObject&) = delete;
  SerialPortObject& operator=(const SerialPortObject&) = delete;

  void SetPortNumber(int n) override { port_ = n; }
  void SetSpeed(int baud) override { baud_ = baud; }
  void SetDataBits(int bits) override { dataBits_ = bits; }
  void SetLineSetting(LineSetting which, int value) override;

  // Opens the device COMn maps to (closing any line still open first).
  int32_t Open() override;
  void Close() override;
  int ReadByte(int32_t timeoutMs) override;
  void WriteByte(uint8_t byte) override;
  void WriteString(const std::string& bytes) override;
  std::string ReadString(int maxLen, int32_t timeoutMs) override;
  PortFailure LastFailure() const override { return failure_; }
  bool LineGone() const override { return gone_; }
  std::string DevicePath() const override { return device_; }

  // Opens a given path instead of a COM number (the probe and tests use it).
  int32_t OpenDevice(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Device() const { return device_; }

 private:
  bool ApplyLineSettings();
  bool FillBuffer(int32_t timeoutMs);
  bool WaitWritable();
  // The device is gone: let go of it at once.
  void Lost();

  int port_ = 1;
  int baud_ = 19200;
  int dataBits_ = 8;
  int settings_[4] = {0, 0, 0, 0};

  int fd_ = -1;
  bool exclusive_ = false;
  bool gone_ = false;
  std::string device_;
  PortFailure failure_;
  uint8_t buffer_[256];
  int bufferPos_ = 0;
  int bufferLen_ = 0;
};

}  // namespace talvero
