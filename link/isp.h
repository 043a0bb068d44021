#pragma once
// ISP: the one link to the drives on the serial line. Every drive operation is
// one blocking call that frames a request, reads and checks the reply, retries,
// and on its last failed try returns the operation's failure value and counts
// the failure. Nothing here raises an error or shows a box, except the line
// check, which warns about a modem or a node-0 drive.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/serial/serial_port.h"

class ISP {
 public:
  // The serial port object is created on first use.
  ISP();
  explicit ISP(std::unique_ptr<talvero::SerialPort> port);
  ~ISP();
  ISP(const ISP&) = delete;
  ISP& operator=(const ISP&) = delete;

  // Replaces the port object (closing the line the old one held).
  void SetPort(std::unique_ptr<talvero::SerialPort> port);

  // ---- Public state ----
  int16_t Retries = 8;              // tries per drive operation
  int16_t ErrorCount = 0;           // failed operations since creation; saturates
  int32_t FirstByteTimeout = 750;   // ms, first byte of every read
  int32_t NextByteTimeout = 300;    // ms, each further byte
  std::array<int16_t, 256> NodeErrorCount{};  // failures per node, capped
  bool AxisHadTimeOuts = false;     // the last failing node has failed often
  uint16_t Status2Bits = 0;         // the last second status word read
  // Every operation that ended in its failure value; never saturates, so a
  // caller can tell a failed read from a real "0" or "" (link/failure_watch.h).
  uint64_t FailedOperations = 0;
  // The last request's tries brought bytes but no valid reply (damage on the
  // line), as against silence; set by every request that waits for a reply.
  bool LastReplyDamaged = false;

  // Asked before each further try of a request, with its node; false ends
  // the request there, as a failure. The status tick lets window events run
  // here and gives a drive it knows to be silent one try.
  std::function<bool(int node)> BeforeRetry;
  // Called once when the open line goes away (hung up, unplugged): the link
  // has closed it and is off-line. It runs inside the request that noticed.
  std::function<void()> LineGoneHook;
  // Whether the line went away since the last OpenPort, and which device it was.
  bool LineGone() const { return lineGone_; }
  const std::string& LostDevice() const { return lostDevice_; }

  static constexpr int16_t kNodeErrorCap = 16384;
  static constexpr int16_t kNodeErrorsForTimeOuts = 11;
  static constexpr size_t kMaxRequestData = 255;
  static constexpr size_t kFlushByteLimit = 4096;
  static constexpr int kFlushTimeOuts = 4;  // FirstByteTimeouts a flush may last
  static constexpr size_t kStringByteLimit = 4096;

  // ---- Transport ----
  void OpenPort(int16_t n);  // 0 = off-line (closes the line)
  void ClosePort();
  int32_t theHandle() const { return handle_; }
  // Why the last OpenPort(n > 0) left the link off-line.
  talvero::PortFailure LastOpenFailure() const;
  void GoSleep(int32_t ms);
  void SendPacket(int node, const std::string& data);
  std::string GetPacket(int16_t& expected);  // expected 0 = any length; set to the length read
  void FlushPackets();
  void SendString(const std::string& text);
  std::string GetString();
  bool CheckForNodalDrives();

  // ---- Variables and commands ----
  bool Exec(int node, const std::string& command);
  void ChangeValue(int node, const std::string& name, const std::string& value);
  std::string ValueOf(int node, const std::string& name);
  float NewValueOf(int node, const std::string& name);
  float MinMax(int node, uint8_t k, const std::string& name);

  // ---- Status and faults ----
  uint16_t Status(int node);
  uint16_t Status2(int node);
  std::string FaultText(int node, uint8_t code);
  std::string GetDiag(int node, uint8_t k);
  bool Reset(int node);
  // tries 0 = Retries; the E-stop of all drives first gives each one try.
  bool EStop(int node, int tries = 0);
  // One E-stop try that counts no failure: the caller's later tries decide
  // whether the stop failed, so a silent drive counts once.
  bool EStopFirstTry(int node);
  bool Cal(int node);

  static bool IsEnabled(uint16_t word) { return word & (1u << 0); }
  static bool IsFaulted(uint16_t word) { return word & (1u << 1); }
  static bool IsRunning(uint16_t word) { return word & (1u << 3); }
  static bool IsPaused(uint16_t word) { return word & (1u << 7); }
  static bool RunFault(uint16_t word) { return word & (1u << 13); }
  static bool IsHWEnabled(uint16_t word) { return word & (1u << 14); }
  bool Enabled(int node) { return IsEnabled(Status(node)); }
  bool Faulted(int node) { return IsFaulted(Status(node)); }
  bool Running(int node) { return IsRunning(Status(node)); }
  bool Paused(int node) { return IsPaused(Status(node)); }
  bool FinishedCap(int node) { return Status(node) & (1u << 8); }

  // ---- User variables ----
  bool AddUVName(int node, const std::string& name);
  bool DelUVName(int node, const std::string& name);  // "*" = all
  std::string GetUVName(int node, uint8_t slot);

  // ---- Identity, name, serial, clock, configuration ----
  // `stop`, when given, is asked before each further try: a search the user
  // stopped ends within the try under way.
  std::string WhoAmI(int node, const std::function<bool()>& stop = {});
  std::string Info(int node, uint8_t k, const std::string& text);
  std::string GetSerial(int node);
  bool SetSerial(int node, const std::string& text);
  std::string GetDriveName(int node);
  bool SetDriveName(int node, const std::string& name);
  bool SetTime(int node);
  bool SetConfig(int node, uint8_t k, const std::string& text);
  bool BigReset(int node, const std::string& text);
  static uint8_t BCD(int n);

  // ---- Program run control ----
  bool PgmRun(int node);
  bool PgmStop(int node);
  bool PgmPause(int node, int flag);  // odd flag (True) pauses, even continues
  bool Pgm1Step(int node);
  int16_t WhatStep(int node);

  // ---- Program text and store ----
  // name "" = the active program, otherwise the library edit buffer.
  // A program line as text; a skip reply (" " and the next line's number as a byte) as it came.
  std::string GetPgmLine(int node, uint8_t line, const std::string& name);
  bool SetPgmLine(int node, const std::string& name, uint8_t line, const std::string& text);
  std::string GetPgmName(int node, uint8_t slot);
  bool DeletePgm(int node, const std::string& name);
  bool LoadEB(int node, const std::string& name);
  bool LoadTEB(int node, const std::string& name);
  bool SaveEB(int node, const std::string& name);
  bool SaveTEB(int node, const std::string& name);
  bool ClearEB(int node);
  bool ClearTEB(int node);
  bool ForceSave(int node);
  void GetPgmProp(int node, const std::string& name, int unitCount, float& ratio, int16_t& units);
  void UpdateSettings(int node, const std::string& name, const std::string& ratioText, int units);

  // ---- Events ----
  std::string GetThread(int node, uint8_t n);
  bool SetThread(int node, int n, const std::string& text);
  int32_t GetThreadStat(int node);

  // ---- Capture ----
  bool GoCap(int node, int timebase, int upper, int lower, int trigger);
  bool StopCap(int node);
  std::string Cap(int node, uint8_t block);
  bool Yscale(int node, uint8_t channel, int16_t& type, float& scale, float& offset);
  std::string SpecialCap(int node);

  // ---- Memory, firmware, service functions ----
  std::string ReadNV(int node, int32_t address);
  bool WriteNV(int node, int32_t address, const std::string& data);
  bool Flash(int node, const std::string& text);
  bool Special(int node, const std::string& text);

 private:
  talvero::SerialPort& Port();
  std::string ReadBytes(int n);
  // After a failed read or write: the port says the device is gone.
  void CheckLine();
  void isBad(int node);
  // A request that could not be framed (too long, or a node outside 0..255).
  static bool Unframeable(int node, const std::string& data);
  int Tries(int extra = 0) const { return Retries + extra; }
  // Up to `tries` rounds of request, pause, reply; "" when none came. Counts nothing.
  std::string Transact(int node, const std::string& data, int32_t pauseMs, int16_t expected, int tries,
                       const std::function<bool()>& stop = {});
  // Text for a drive as its bytes (link/link_text.h); nullopt when a character
  // has none: the user was told, nothing is sent and the operation fails.
  std::optional<std::string> Outgoing(const std::string& text);
  // Transact, counting a failure when no reply came.
  std::string Ask(int node, const std::string& data, int32_t pauseMs, int16_t expected, int tries);
  bool Ack(int node, const std::string& data, int32_t pauseMs, int tries);

  std::unique_ptr<talvero::SerialPort> port_;
  int32_t handle_ = 0;
  uint8_t sequence_ = 0;  // of the last request sent; 32..64 once the line is open
  bool heard_ = false;    // a byte arrived during the current packet read
  bool lineGone_ = false;
  std::string lostDevice_;
};
