// Drive values, status words, faults, user variables and identity.
#include <cstring>

#include "link/isp.h"
#include "link/link_text.h"
#include "runtime/rounding.h"
#include "runtime/text.h"
#include "runtime/val.h"
#include "platform/clock/clock.h"

using linktext::Byte;

namespace {
// A status word, low byte first; 0 when the reply is not two bytes.
uint16_t Word(const std::string& r) { return r.size() == 2 ? uint16_t(uint8_t(r[0]) | uint8_t(r[1]) << 8) : 0; }
}  // namespace

using linktext::FromDrive;

bool ISP::Exec(int node, const std::string& command) {
  // Upper-cased as bytes, after the conversion, so "é" becomes "É" and not a broken sequence.
  const auto bytes = Outgoing(command);
  if (!bytes) return false;
  return Ack(node, ":" + linktext::UpperCase(rt::Trim(*bytes)), 20, Tries());
}

void ISP::ChangeValue(int node, const std::string& name, const std::string& value) {
  Exec(node, "!" + name + "=" + value);
}

std::string ISP::ValueOf(int node, const std::string& name) {
  const auto bytes = Outgoing(name);
  if (!bytes) return "0";
  std::string reply = Ask(node, "=" + *bytes, 0, 12, Tries());
  return reply.empty() ? "0" : FromDrive(reply);
}

float ISP::NewValueOf(int node, const std::string& name) {
  const auto bytes = Outgoing(name);
  if (!bytes) return 0.0f;
  std::string r = Ask(node, "+" + *bytes, 30, 4, Tries());
  if (r.size() != 4) return 0.0f;
  uint32_t bits = uint32_t(uint8_t(r[0])) << 24 | uint32_t(uint8_t(r[1])) << 16 |
                  uint32_t(uint8_t(r[2])) << 8 | uint32_t(uint8_t(r[3]));
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

float ISP::MinMax(int node, uint8_t k, const std::string& name) {
  const auto bytes = Outgoing(name);
  if (!bytes) return 0.0f;
  std::string r = Ask(node, "m" + Byte(k) + *bytes, 0, 12, Tries());
  return r.empty() ? 0.0f : rt::CSng(rt::Val(r));
}

uint16_t ISP::Status(int node) {
  return Word(Ask(node, "Q", 0, 2, Tries()));
}

uint16_t ISP::Status2(int node) {
  Status2Bits = Word(Ask(node, "q", 0, 2, Tries()));
  return Status2Bits;
}

std::string ISP::FaultText(int node, uint8_t code) { return FromDrive(Ask(node, "FT" + Byte(code), 0, 0, Tries())); }

std::string ISP::GetDiag(int node, uint8_t k) {
  std::string r = Ask(node, "\x11" + Byte(k), 0, 0, Tries());
  return r.size() == 1 ? "" : FromDrive(r);  // one byte: an empty record
}

bool ISP::Reset(int node) { return Ack(node, "\x17", 20, Tries()); }
bool ISP::EStop(int node, int tries) { return Ack(node, "\x1B", 5, tries > 0 ? tries : Tries()); }
bool ISP::EStopFirstTry(int node) { return !Transact(node, "\x1B", 5, 1, 1).empty(); }
bool ISP::Cal(int node) { return Ack(node, "\x1C", 20, Tries()); }

bool ISP::AddUVName(int node, const std::string& name) {
  const auto bytes = Outgoing(name);
  return bytes && Ack(node, "V" + *bytes, 0, Tries());
}
bool ISP::DelUVName(int node, const std::string& name) {
  const auto bytes = Outgoing(name);
  return bytes && Ack(node, "v" + *bytes, 0, Tries());
}

std::string ISP::GetUVName(int node, uint8_t slot) {
  std::string r = Ask(node, "}" + Byte(slot), 0, 0, Tries());
  return r == " " ? "" : FromDrive(r);  // one blank: a free slot
}

std::string ISP::WhoAmI(int node, const std::function<bool()>& stop) {
  // An empty node is the normal answer of a search, never a failure.
  return FromDrive(Transact(node, "\x01", 50, 0, 3, stop));
}

std::string ISP::Info(int node, uint8_t k, const std::string& text) {
  const auto bytes = Outgoing(text);
  if (!bytes) return "";
  return FromDrive(Ask(node, "I" + Byte(k) + *bytes, 10, 0, 5));
}

std::string ISP::GetSerial(int node) { return FromDrive(Ask(node, "I\x05", 10, 0, Tries())); }
bool ISP::SetSerial(int node, const std::string& text) {
  const auto bytes = Outgoing(text);
  return bytes && Ack(node, "\x1F" + *bytes, 20, Tries());
}
std::string ISP::GetDriveName(int node) { return FromDrive(Ask(node, "\x1E", 10, 0, Tries())); }
bool ISP::SetDriveName(int node, const std::string& name) {
  const auto bytes = Outgoing(name);
  return bytes && Ack(node, "\x1D" + *bytes, 20, Tries());
}

bool ISP::SetTime(int node) {
  const talvero::LocalDateTime now = talvero::TheClock().Now();  // once, for every try
  std::string data = "\x0F";
  for (int v : {now.year % 100, now.weekday, now.month, now.day, now.hour, now.minute})
    data.push_back(char(BCD(v)));
  return Ack(node, data, 10, Tries());
}

bool ISP::SetConfig(int node, uint8_t k, const std::string& text) {
  const auto bytes = Outgoing(text);
  return bytes && Ack(node, "\x10" + Byte(k) + *bytes, 0, Tries());
}

bool ISP::BigReset(int node, const std::string& text) {
  const auto bytes = Outgoing(text);
  return bytes && Ack(node, "R" + *bytes, 10, Tries());
}

uint8_t ISP::BCD(int n) { return uint8_t((n / 10) * 16 + n % 10); }
