// Programs, events, capture, non-volatile memory, flash and service functions.
#include <cmath>

#include "link/isp.h"
#include "link/link_text.h"
#include "runtime/rounding.h"
#include "runtime/text.h"
#include "runtime/val.h"

using linktext::Byte;
using linktext::FromDrive;

bool ISP::PgmRun(int node) { return Ack(node, "\x08", 0, Tries()); }
bool ISP::PgmStop(int node) { return Ack(node, "\x09", 0, Tries(5)); }
bool ISP::PgmPause(int node, int flag) { return Ack(node, (flag & 1) ? "\x03" : "\x04", 0, Tries()); }
bool ISP::Pgm1Step(int node) { return Ack(node, "\x0A", 0, Tries()); }

int16_t ISP::WhatStep(int node) {
  std::string r = Ask(node, "\x02", 0, 1, Tries());
  return r.empty() ? int16_t(-1) : int16_t(uint8_t(r[0]));
}

std::string ISP::GetPgmLine(int node, uint8_t line, const std::string& name) {
  const auto bytes = Outgoing(name);
  if (!bytes) return "";
  std::string data = name.empty() ? "L" + Byte(line) : "l" + Byte(line) + *bytes;
  std::string reply = Ask(node, data, 0, 0, Tries(5));
  // A skip reply (a blank, then the next line's number as a byte) stays bytes.
  return !reply.empty() && reply[0] == ' ' ? reply : FromDrive(reply);
}

bool ISP::SetPgmLine(int node, const std::string& name, uint8_t line, const std::string& text) {
  const auto nameBytes = Outgoing(name);
  if (!nameBytes) return false;
  const auto textBytes = Outgoing(text);
  if (!textBytes) return false;
  std::string data = (name.empty() ? "E" : "e") + Byte(line) + *textBytes;
  if (!Ack(node, data, 20, Tries(5))) return false;
  std::string trimmed = rt::Trim(name);
  // A named line lands in the library edit buffer, which is then stored.
  return trimmed.empty() ? true : SaveTEB(node, name);
}

std::string ISP::GetPgmName(int node, uint8_t slot) { return FromDrive(Ask(node, "PD" + Byte(slot), 30, 8, Tries())); }

bool ISP::DeletePgm(int node, const std::string& name) {
  const auto b = Outgoing(name);
  return b && Ack(node, "PX" + *b, 30, Tries());
}
bool ISP::LoadEB(int node, const std::string& name) {
  const auto b = Outgoing(name);
  return b && Ack(node, "PL" + *b, 30, Tries());
}
bool ISP::LoadTEB(int node, const std::string& name) {
  const auto b = Outgoing(name);
  return b && Ack(node, "Pl" + *b, 30, Tries());
}
bool ISP::SaveEB(int node, const std::string& name) {
  const auto b = Outgoing(name);
  return b && Ack(node, "PS" + *b, 60, Tries(5));
}
bool ISP::SaveTEB(int node, const std::string& name) {
  const auto b = Outgoing(name);
  return b && Ack(node, "Ps" + *b, 60, Tries(5));
}
bool ISP::ClearEB(int node) { return Ack(node, "PC", 30, Tries()); }
bool ISP::ClearTEB(int node) { return Ack(node, "Pc", 30, Tries()); }
bool ISP::ForceSave(int node) { return Ack(node, "\x16", 20, Tries()); }

void ISP::GetPgmProp(int node, const std::string& name, int unitCount, float& ratio, int16_t& units) {
  const bool library = !name.empty();
  const float r = rt::CSng(rt::Val(ValueOf(node, library ? "TTR" : "TR")));
  ratio = std::isfinite(r) ? r : 0.0f;
  const double u = rt::RoundHalfEven(rt::Val(ValueOf(node, library ? "TUU" : "UU")));
  units = (u >= 0 && u < unitCount) ? int16_t(u) : int16_t(0);
}

void ISP::UpdateSettings(int node, const std::string& name, const std::string& ratioText, int units) {
  const bool library = !name.empty();
  Exec(node, (library ? "!TTR=" : "!TR=") + ratioText);
  GoSleep(5);
  Exec(node, (library ? "!TUU=" : "!UU=") + std::to_string(units));
  GoSleep(5);
  if (library) SaveTEB(node, name);
  else SaveEB(node, "$$SAVE$$");
}

std::string ISP::GetThread(int node, uint8_t n) {
  return FromDrive(rt::Trim(Ask(node, "T" + Byte(n), 10, 0, Tries())));
}

bool ISP::SetThread(int node, int n, const std::string& text) {
  return Exec(node, "T" + std::to_string(n) + "," + text);
}

int32_t ISP::GetThreadStat(int node) {
  std::string r = Ask(node, "\x15", 0, 10, Tries());
  int32_t mask = 0;
  for (size_t i = 0; i < r.size() && i < 10; ++i)
    if (uint8_t(r[i]) >= 1) mask |= int32_t(1) << i;
  return mask;
}

bool ISP::GoCap(int node, int timebase, int upper, int lower, int trigger) {
  std::string data = (trigger != 0 ? "\x18" : "\x0B") + Byte(timebase) + Byte(upper) + Byte(lower);
  return Ack(node, data, 0, Tries());
}

bool ISP::StopCap(int node) { return Ack(node, "\x0E", 0, Tries()); }

std::string ISP::Cap(int node, uint8_t block) { return Ask(node, "\x0D" + Byte(block), 100, 250, Tries()); }

bool ISP::Yscale(int node, uint8_t channel, int16_t& type, float& scale, float& offset) {
  scale = 1.0f;
  offset = 0.0f;
  std::string r = Ask(node, "\x0C" + Byte(channel), 50, 0, Tries());
  if (r.empty()) return false;
  type = int16_t(int(uint8_t(r[0])) - 1);
  std::string rest = r.substr(1);
  size_t comma = rest.find(',');
  if (comma == std::string::npos) return false;
  scale = rt::CSng(rt::Val(rest.substr(0, comma)));
  offset = rt::CSng(rt::Val(rest.substr(comma + 1)));
  return true;
}

std::string ISP::SpecialCap(int node) {
  constexpr int kBlocks = 200;
  constexpr int16_t kBlockSize = 16;
  if (Unframeable(node, "ZC")) {
    isBad(node);
    return "";
  }
  SendPacket(node, "ZC");
  GoSleep(5000);
  std::string out;
  out.reserve(kBlocks * kBlockSize);
  // Every block answers the one request and carries its sequence number.
  for (int i = 0; i < kBlocks; ++i) {
    int16_t len = kBlockSize;
    std::string block = GetPacket(len);
    if (block.size() != size_t(kBlockSize)) {
      isBad(node);
      return out;
    }
    out += block;
  }
  return out;
}

std::string ISP::ReadNV(int node, int32_t address) {
  return Ask(node, "\x12" + std::to_string(address), 20, 128, Tries());
}

bool ISP::WriteNV(int node, int32_t address, const std::string& data) {
  const std::string where = "\x13" + std::to_string(address);
  const std::string what = "\x14" + data;
  if (Unframeable(node, where) || Unframeable(node, what)) {
    isBad(node);
    return false;
  }
  for (int t = 1; t <= Tries(); ++t) {
    SendPacket(node, where);
    int16_t len = 1;
    if (GetPacket(len).empty()) continue;
    SendPacket(node, what);
    GoSleep(20);
    len = 1;
    if (!GetPacket(len).empty()) return true;
  }
  isBad(node);
  return false;
}

bool ISP::Flash(int node, const std::string& text) { return Ack(node, "F" + text, 40, 1); }

bool ISP::Special(int node, const std::string& text) {
  const std::string data = "Z" + text;
  if (Unframeable(node, data)) {
    isBad(node);
    return false;
  }
  for (int t = 1; t <= 5; ++t) {
    SendPacket(node, data);
    GoSleep(10);
    // "D" gets no answer worth waiting for.
    if (text == "D") return false;
    int16_t len = 0;
    if (!GetPacket(len).empty()) return true;
  }
  isBad(node);
  return false;
}
