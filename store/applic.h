#pragma once
// One application file: up to 16 axes with their parameters and events, and
// up to 64 programs with their settings, kept in a SQLite file.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/dao/database.h"
#include "platform/dao/recordset.h"

class Applic {
 public:
  using Status = talvero::dao::Status;

  Applic();
  ~Applic();
  Applic(const Applic&) = delete;
  Applic& operator=(const Applic&) = delete;

  // The file path without its extension, in the file's own letter case; "" while closed.
  std::string Name;
  // The slot AddAxis gave the new axis, -1 after a refusal.
  int16_t NewAxisSlot = -1;
  // The program slot last made current by AddPgm or Pexist.
  int16_t CurrentPgm = -1;

  // Creates the file with its two tables and opens it. A failure shows
  // "Can't create new application: " and the reason.
  Status Create(const std::string& path);
  // Opens an existing file, silently; the reason comes back. A file that is
  // write-protected (or readOnly) opens for viewing only.
  Status AOpen(const std::string& path, bool readOnly = false);
  void AClose();
  bool IsOpen() const { return !Name.empty(); }
  // The path as it was given, for any further file work.
  const std::string& Path() const { return path_; }
  bool ReadOnly() const;

  // Axes. AddAxis adds one row per record of the library's Parameters table.
  // Refusals show their message and set NewAxisSlot to -1.
  Status AddAxis(std::string_view name, std::string_view family, talvero::dao::Recordset* parameters);
  Status DelAxis(int16_t slot);
  static int16_t GetMaxAxis() { return kMaxAxis; }
  std::string GetAxisName(int16_t slot) const;
  std::string WhatType(int16_t slot) const;
  std::string LongName(int16_t slot) const;

  // Parameters. GetParam gives "0" for a parameter the axis lacks, without
  // writing it into the file; FindParam tells a missing one apart.
  std::string GetParam(int16_t slot, std::string_view name);
  std::optional<std::string> FindParam(int16_t slot, std::string_view name);
  Status PutParam(int16_t slot, std::string_view name, std::string_view value);

  // Programs. AddPgm's refusals show their message and set CurrentPgm to -1.
  Status AddPgm(std::string_view name);
  Status DelPgm(int16_t slot);
  Status PgmRename(int16_t slot, std::string_view newName);
  bool Pexist(std::string_view name);
  static int16_t GetMaxPgm() { return kMaxPgm; }
  std::string GetPgmName(int16_t slot) const;
  std::string GetPgmStep(int16_t slot, int32_t line);
  // Writes one line; an empty text removes it.
  Status UpdatePgmStep(int16_t slot, int32_t line, std::string_view text);
  int16_t GetMaxLineNumber(int16_t slot);
  std::string GetPD(int16_t slot);
  float GetTrans(int16_t slot);
  std::string GetUnits(int16_t slot);
  Status UpdateSettings(int16_t slot, std::string_view description, std::string_view transmission,
                        std::string_view units);

  // The open database, for tests and tools that look at the file itself.
  talvero::dao::Database* Database() { return db_.get(); }

  static constexpr int16_t kMaxAxis = 16;
  static constexpr int16_t kMaxPgm = 64;
  // Longest axis and program names the files hold, and the limit at creation.
  static constexpr size_t kMaxNameLength = 32;
  static constexpr size_t kMaxNewPgmNameLength = 16;

 private:
  struct Slot {
    std::string name;    // "" = free; a name too long for its field is shown cut, with "…"
    std::string table;   // the name its table goes by, as the file holds it
    std::string family;  // axes only
    int64_t row = 0;     // its own row in the list table; never found again by name
    bool transTold = false;  // a bad transmission ratio was reported once
    std::unique_ptr<talvero::dao::Recordset> rs;
  };
  // The slot's table, or why there is none ("no axis in slot 3", "the table AXIS:X1 is missing").
  talvero::dao::Result<talvero::dao::Recordset*> AxisTableOf(int16_t slot);
  talvero::dao::Result<talvero::dao::Recordset*> PgmTableOf(int16_t slot);

  Slot* AxisSlot(int16_t slot);
  const Slot* AxisSlot(int16_t slot) const;
  Slot* PgmSlot(int16_t slot);
  const Slot* PgmSlot(int16_t slot) const;
  Status Writable() const;
  Status WriteLine(talvero::dao::Recordset& rs, int32_t line, std::string_view text);
  void CloseAll();

  std::unique_ptr<talvero::dao::Database> db_;
  std::unique_ptr<talvero::dao::Recordset> axisRS_;
  std::unique_ptr<talvero::dao::Recordset> programsRS_;
  std::array<Slot, kMaxAxis> axes_;
  std::array<Slot, kMaxPgm> pgms_;
  std::string path_;
};
