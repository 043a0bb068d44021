#include "store/applic.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "platform/ui/prompter.h"
#include "store/application_tables.h"
#include "runtime/text.h"
#include "runtime/val.h"

using talvero::dao::Database;
using talvero::dao::Recordset;
using talvero::dao::Result;
using talvero::dao::Transaction;
using talvero::dao::Value;
using Status = Applic::Status;

namespace {

const char kNewAxis[] = "Can't create new axis: ";
const char kNewPgm[] = "Can't create new program: ";

// Names compare trimmed and in upper case.
bool SameName(std::string_view a, std::string_view b) { return rt::SameText(rt::Trim(a), rt::Trim(b)); }

using talvero::store::AxisTable;
using talvero::store::PgmTable;

// Whether a trimmed axis or program name fits its row and its table's name.
Status CheckStorable(std::string_view name, const std::string& table) {
  if (name.empty()) return Status::Fail("empty name");
  if (talvero::dao::CharCount(name) > Applic::kMaxNameLength)
    return Status::Fail("name too long (32 character limit).");
  if (Status s = talvero::dao::CheckName(table); !s) return Status::Fail("name not allowed (" + s.error + ").");
  return Status::Ok();
}

Status Refuse(const std::string& text) {
  talvero::ThePrompter().Critical(text);
  return Status::Fail(text);
}


}  // namespace

Applic::Applic() = default;
Applic::~Applic() { AClose(); }

bool Applic::ReadOnly() const { return db_ && db_->ReadOnly(); }

Status Applic::Writable() const {
  if (!db_ || !IsOpen()) return Status::Fail("the application is not open");
  if (db_->ReadOnly()) return Status::Fail("the application file is read-only: " + path_);
  return Status::Ok();
}

Applic::Slot* Applic::AxisSlot(int16_t slot) { return slot >= 1 && slot <= kMaxAxis ? &axes_[size_t(slot - 1)] : nullptr; }
const Applic::Slot* Applic::AxisSlot(int16_t slot) const {
  return slot >= 1 && slot <= kMaxAxis ? &axes_[size_t(slot - 1)] : nullptr;
}
Applic::Slot* Applic::PgmSlot(int16_t slot) { return slot >= 1 && slot <= kMaxPgm ? &pgms_[size_t(slot - 1)] : nullptr; }
const Applic::Slot* Applic::PgmSlot(int16_t slot) const {
  return slot >= 1 && slot <= kMaxPgm ? &pgms_[size_t(slot - 1)] : nullptr;
}

// ---- file ------------------------------------------------------------------

Status Applic::Create(const std::string& path) {
  auto fail = [](const std::string& why) { return Refuse("Can't create new application: " + why); };
  auto db = Database::Create(path);
  if (!db) return fail(db.error);
  {
    Transaction t(**db);
    Status s = (*db)->CreateTable(talvero::store::AxisListDef());
    if (s) s = (*db)->CreateTable(talvero::store::ProgramListDef());
    if (s) s = t.Commit();
    if (!s) {
      (*db)->Close();
      ::unlink(path.c_str());
      return fail(s.error);
    }
  }
  (*db)->Close();
  if (Status s = AOpen(path); !s) return fail(s.error);
  return Status::Ok();
}

namespace {

// A name as its slot shows it: one longer than its field is cut to the field,
// ending in "…", so it can be seen and deleted but never written back longer.
std::string Shown(const std::string& name) {
  if (talvero::dao::CharCount(name) <= Applic::kMaxNameLength) return name;
  size_t bytes = 0;
  for (size_t chars = 0; bytes < name.size() && chars + 1 < Applic::kMaxNameLength; ++chars) {
    ++bytes;
    while (bytes < name.size() && (static_cast<unsigned char>(name[bytes]) & 0xC0) == 0x80) ++bytes;
  }
  return name.substr(0, bytes) + "\xE2\x80\xA6";
}

// Rows are addressed by rowid, so a table without one is no application table.
bool HasRowids(Database& db, const std::string& table) {
  return db.Execute("SELECT rowid FROM " + talvero::dao::Quote(table) + " LIMIT 0").ok();
}

}  // namespace

Status Applic::AOpen(const std::string& path, bool readOnly) {
  auto db = Database::Open(path, readOnly);
  if (!db) return Status::Fail(db.error);
  const auto notApplication = [&](const std::string& why) {
    return Status::Fail("not an application file (" + why + "): " + path);
  };
  for (const char* table : {"Axis", "Programs"}) {
    auto def = (*db)->GetTableDef(table);
    if (!def) return notApplication("no table " + std::string(table));
    if (!def->Find("Name") || (std::string_view(table) == "Axis" && !def->Find("AxisType")))
      return notApplication("table " + std::string(table) + " lacks a field");
    if (!HasRowids(**db, table)) return notApplication("table " + std::string(table) + " has no row ids");
  }
  auto axisRS = (*db)->OpenRecordset("Axis");
  if (!axisRS) return Status::Fail(axisRS.error);
  auto programsRS = (*db)->OpenRecordset("Programs");
  if (!programsRS) return Status::Fail(programsRS.error);

  const std::string name = path.size() > 4 ? path.substr(0, path.size() - 4) : path;
  std::vector<std::string> skipped;  // one line each for the message
  // Reads the list's rows into the slots; a name that an earlier row already
  // has is skipped and said, the file left as it is.
  const auto fill = [&](Recordset& list, auto& slots, const char* what, auto tableOf) -> Status {
    size_t i = 0;
    for (; i < slots.size() && !list.Eof(); list.MoveNext()) {
      const std::string rowName = list.Text("Name");
      const bool twice = std::any_of(slots.begin(), slots.begin() + long(i),
                                     [&](const Slot& s) { return SameName(s.table, rowName); });
      if (twice) {
        const std::string line = "The application " + name + " holds two " + what + " named " + rt::Trim(rowName) +
                                 "; the second was not opened.";
        if (std::find(skipped.begin(), skipped.end(), line) == skipped.end()) skipped.push_back(line);
        continue;
      }
      Slot& slot = slots[i++];
      slot.table = rowName;
      slot.name = Shown(rowName);
      slot.row = list.Bookmark();
      if (list.Def().Find("AxisType")) slot.family = list.Text("AxisType");
      const std::string table = tableOf(rowName);
      // A row whose table is missing (left by an older program that failed
      // half-way) still takes its slot, so it can be seen and deleted.
      if ((*db)->HasTable(table)) {
        if (!HasRowids(**db, table)) return notApplication("table " + table + " has no row ids");
        if (auto rs = (*db)->OpenRecordset(table)) slot.rs = std::move(*rs);
      }
    }
    return Status::Ok();
  };
  std::array<Slot, kMaxAxis> axes;
  if (Status s = fill(**axisRS, axes, "axes", AxisTable); !s) return s;
  std::array<Slot, kMaxPgm> pgms;
  if (Status s = fill(**programsRS, pgms, "programs", PgmTable); !s) return s;

  // Only a file that opened whole replaces what this object held.
  AClose();
  db_ = std::move(*db);
  axisRS_ = std::move(*axisRS);
  programsRS_ = std::move(*programsRS);
  axes_ = std::move(axes);
  pgms_ = std::move(pgms);
  path_ = path;
  Name = name;  // a name is what marks the object open
  if (!skipped.empty()) {
    std::string text;
    for (const std::string& line : skipped) text += (text.empty() ? "" : "\n") + line;
    talvero::ThePrompter().Message({text, "Talvero", talvero::Buttons::Ok, talvero::Icon::Exclamation});
  }
  return Status::Ok();
}

void Applic::CloseAll() {
  for (Slot& s : axes_) s = Slot{};
  for (Slot& s : pgms_) s = Slot{};
  axisRS_.reset();
  programsRS_.reset();
  if (db_) db_->Close();
  db_.reset();
}

void Applic::AClose() {
  CloseAll();
  Name.clear();
  path_.clear();
}

// ---- axes ------------------------------------------------------------------

Status Applic::AddAxis(std::string_view name, std::string_view family, Recordset* parameters) {
  NewAxisSlot = -1;
  std::string trimmed = rt::Trim(name);
  int freeSlot = -1;
  for (int i = 0; i < kMaxAxis; ++i) {
    if (SameName(axes_[size_t(i)].table, trimmed)) return Refuse(std::string(kNewAxis) + "Axis name already used.");
    if (freeSlot < 0 && axes_[size_t(i)].name.empty()) freeSlot = i;
  }
  if (freeSlot < 0) return Refuse(std::string(kNewAxis) + "Too many axes in this application.");
  if (Status s = CheckStorable(trimmed, AxisTable(trimmed)); !s) return Refuse(kNewAxis + s.error);
  if (talvero::dao::CharCount(family) > 32) return Refuse(std::string(kNewAxis) + "family code too long.");
  if (Status s = Writable(); !s) return Refuse(kNewAxis + s.error);

  std::unique_ptr<Recordset> rs;
  int64_t row = 0;
  Status s = [&]() -> Status {
    Transaction t(*db_);
    if (!t.Started()) return t.Started();
    Recordset& ax = *axisRS_;
    if (Status s = ax.AddNew(); !s) return s;
    if (Status s = ax.Set("Name", trimmed); !s) return s;
    if (Status s = ax.Set("AxisType", family); !s) return s;
    if (Status s = ax.Update(); !s) return s;
    row = ax.Bookmark();
    if (Status s = db_->CreateTable(talvero::store::AxisTableDef(trimmed)); !s) return s;
    auto opened = db_->OpenRecordset(AxisTable(trimmed));
    if (!opened) return Status::Fail(opened.error);
    rs = std::move(*opened);
    if (parameters) {
      if (Status s = parameters->MoveFirst(); !s) return s;
      for (; !parameters->Eof(); parameters->MoveNext()) {
        if (Status s = rs->AddNew(); !s) return s;
        if (Status s = rs->Set("Name", parameters->Text("Name")); !s) return s;
        if (Status s = rs->Set("Value", "0"); !s) return s;
        if (Status s = rs->Update(); !s) return s;
      }
    }
    return t.Commit();
  }();
  if (!s) return Refuse(kNewAxis + s.error);
  rs->MoveFirst();
  Slot& slot = axes_[size_t(freeSlot)];
  slot.name = slot.table = trimmed;
  slot.row = row;
  slot.family = std::string(family);
  slot.rs = std::move(rs);
  NewAxisSlot = int16_t(freeSlot + 1);
  return Status::Ok();
}

namespace {

// Places the list on its row `row`; false when the row is gone.
bool GoToRow(Recordset& list, int64_t row) {
  for (list.MoveFirst(); !list.Eof(); list.MoveNext())
    if (list.Bookmark() == row) return true;
  return false;
}

// Deletes the entry's own list row, and its table unless another row (a
// duplicate skipped at opening) goes by the same table, as one change.
Status DeleteEntry(Database& db, Recordset& list, const std::string& table, int64_t row,
                   std::string (*tableOf)(std::string_view)) {
  Transaction t(db);
  if (!t.Started()) return t.Started();
  bool shared = false;
  for (list.MoveFirst(); !list.Eof(); list.MoveNext())
    shared = shared || (list.Bookmark() != row && rt::SameText(tableOf(list.Text("Name")), table));
  if (!shared && db.HasTable(table))
    if (Status s = db.DeleteTable(table); !s) return s;
  if (GoToRow(list, row))
    if (Status s = list.Delete(); !s) return s;
  return t.Commit();
}

}  // namespace

Status Applic::DelAxis(int16_t slot) {
  Slot* s = AxisSlot(slot);
  if (!s || s->name.empty()) return Status::Fail("no axis in slot " + std::to_string(slot));
  if (Status w = Writable(); !w) return w;
  if (Status d = DeleteEntry(*db_, *axisRS_, AxisTable(s->table), s->row, AxisTable); !d) return d;
  *s = Slot{};
  return Status::Ok();
}

talvero::dao::Result<Recordset*> Applic::AxisTableOf(int16_t slot) {
  Slot* s = AxisSlot(slot);
  if (!s || s->name.empty()) return talvero::dao::Result<Recordset*>::Fail("no axis in slot " + std::to_string(slot));
  if (!s->rs) return talvero::dao::Result<Recordset*>::Fail("the table " + AxisTable(s->table) + " is missing");
  return talvero::dao::Result<Recordset*>::Ok(s->rs.get());
}

talvero::dao::Result<Recordset*> Applic::PgmTableOf(int16_t slot) {
  Slot* s = PgmSlot(slot);
  if (!s || s->name.empty()) return talvero::dao::Result<Recordset*>::Fail("no program in slot " + std::to_string(slot));
  if (!s->rs) return talvero::dao::Result<Recordset*>::Fail("the table " + PgmTable(s->table) + " is missing");
  return talvero::dao::Result<Recordset*>::Ok(s->rs.get());
}

std::string Applic::GetAxisName(int16_t slot) const {
  const Slot* s = AxisSlot(slot);
  return s ? s->name : std::string();
}

std::string Applic::WhatType(int16_t slot) const {
  const Slot* s = AxisSlot(slot);
  return s ? s->family : std::string();
}

std::string Applic::LongName(int16_t slot) const {
  std::string f = WhatType(slot);
  if (f == "RHO") return "KV110c ";
  if (f == "TAU") return "KV110i/d ";
  if (f == "PHI") return "KV/KZ120i/d ";
  if (f == "PSI") return "KS130i/d ";
  return {};
}

// ---- parameters ------------------------------------------------------------

std::optional<std::string> Applic::FindParam(int16_t slot, std::string_view name) {
  Slot* s = AxisSlot(slot);
  if (!s || !s->rs) return std::nullopt;
  if (!s->rs->Seek("Name", name) || s->rs->NoMatch()) return std::nullopt;
  return s->rs->Text("Value");
}

std::string Applic::GetParam(int16_t slot, std::string_view name) { return FindParam(slot, name).value_or("0"); }

Status Applic::PutParam(int16_t slot, std::string_view name, std::string_view value) {
  auto table = AxisTableOf(slot);
  if (!table) return Status::Fail(table.error);
  if (Status w = Writable(); !w) return w;
  Recordset& rs = **table;
  if (Status k = rs.Seek("Name", name); !k) return k;
  if (rs.NoMatch()) {
    if (Status k = rs.AddNew(); !k) return k;
    if (Status k = rs.Set("Name", name); !k) return k;
  } else if (Status k = rs.Edit(); !k) {
    return k;
  }
  if (Status k = rs.Set("Value", value); !k) {
    rs.CancelUpdate();
    return k;
  }
  return rs.Update();
}

// ---- programs --------------------------------------------------------------

Status Applic::AddPgm(std::string_view name) {
  CurrentPgm = -1;
  if (talvero::dao::CharCount(name) > kMaxNewPgmNameLength)
    return Refuse(std::string(kNewPgm) + "name too long (16 character limit).");
  std::string trimmed = rt::Trim(name);
  int freeSlot = -1;
  for (int i = 0; i < kMaxPgm; ++i) {
    if (SameName(pgms_[size_t(i)].table, trimmed)) return Refuse(std::string(kNewPgm) + "name already used.");
    if (freeSlot < 0 && pgms_[size_t(i)].name.empty()) freeSlot = i;
  }
  if (freeSlot < 0) return Refuse(std::string(kNewPgm) + "Too many programs in this application.");
  if (Status s = CheckStorable(trimmed, PgmTable(trimmed)); !s) return Refuse(kNewPgm + s.error);
  if (Status s = Writable(); !s) return Refuse(kNewPgm + s.error);

  std::unique_ptr<Recordset> rs;
  int64_t row = 0;
  Status s = [&]() -> Status {
    Transaction t(*db_);
    if (!t.Started()) return t.Started();
    Recordset& pg = *programsRS_;
    if (Status s = pg.AddNew(); !s) return s;
    if (Status s = pg.Set("Name", trimmed); !s) return s;
    if (Status s = pg.Update(); !s) return s;
    row = pg.Bookmark();
    if (Status s = db_->CreateTable(talvero::store::PgmTableDef(trimmed)); !s) return s;
    auto opened = db_->OpenRecordset(PgmTable(trimmed));
    if (!opened) return Status::Fail(opened.error);
    rs = std::move(*opened);
    return t.Commit();
  }();
  if (!s) return Refuse(kNewPgm + s.error);
  Slot& slot = pgms_[size_t(freeSlot)];
  slot.name = slot.table = trimmed;
  slot.row = row;
  slot.rs = std::move(rs);
  CurrentPgm = int16_t(freeSlot + 1);
  return Status::Ok();
}

Status Applic::DelPgm(int16_t slot) {
  Slot* s = PgmSlot(slot);
  if (!s || s->name.empty()) return Status::Fail("no program in slot " + std::to_string(slot));
  if (Status w = Writable(); !w) return w;
  if (Status d = DeleteEntry(*db_, *programsRS_, PgmTable(s->table), s->row, PgmTable); !d) return d;
  *s = Slot{};
  return Status::Ok();
}

Status Applic::PgmRename(int16_t slot, std::string_view newName) {
  const std::string refusal = "Can't rename program: ";
  Slot* s = PgmSlot(slot);
  if (auto table = PgmTableOf(slot); !table) return Status::Fail(refusal + table.error);
  std::string to = rt::Trim(newName);
  if (Status c = CheckStorable(to, PgmTable(to)); !c) return Status::Fail(refusal + c.error);
  if (Status w = Writable(); !w) return Status::Fail(refusal + w.error);
  if (to == s->table) return Status::Ok();
  for (int i = 0; i < kMaxPgm; ++i)
    if (&pgms_[size_t(i)] != s && SameName(pgms_[size_t(i)].table, to))
      return Status::Fail(refusal + "name already used.");
  Status r = [&]() -> Status {
    Transaction t(*db_);
    if (!t.Started()) return t.Started();
    if (Status k = db_->RenameTable(PgmTable(s->table), PgmTable(to)); !k) return k;
    Recordset& pg = *programsRS_;
    if (GoToRow(pg, s->row)) {
      if (Status k = pg.Edit(); !k) return k;
      if (Status k = pg.Set("Name", to); !k) return k;
      if (Status k = pg.Update(); !k) return k;
    }
    return t.Commit();
  }();
  if (!r) return Status::Fail(refusal + r.error);
  auto opened = db_->OpenRecordset(PgmTable(to));
  if (!opened) return Status::Fail(refusal + opened.error);
  s->name = s->table = to;
  s->rs = std::move(*opened);
  return Status::Ok();
}

bool Applic::Pexist(std::string_view name) {
  for (int i = 0; i < kMaxPgm; ++i)
    if (SameName(pgms_[size_t(i)].table, name)) {
      CurrentPgm = int16_t(i + 1);
      return true;
    }
  return false;
}

std::string Applic::GetPgmName(int16_t slot) const {
  const Slot* s = PgmSlot(slot);
  return s ? s->name : std::string();
}

namespace {
// Program steps are lines 0..255; -4..-2 hold the program's settings. Rows
// outside them (another program's, or a damaged file's) are not read.
bool ReadableLine(int64_t line) { return (line >= 0 && line <= 255) || (line >= -4 && line <= -2); }
}  // namespace

std::string Applic::GetPgmStep(int16_t slot, int32_t line) {
  Slot* s = PgmSlot(slot);
  if (!s || !s->rs || !ReadableLine(line)) return {};
  if (!s->rs->Seek("Line", line) || s->rs->NoMatch()) return {};
  return s->rs->Text("Text");
}

Status Applic::WriteLine(Recordset& rs, int32_t line, std::string_view text) {
  if (Status k = rs.Seek("Line", line); !k) return k;
  if (!rs.NoMatch()) {
    if (text.empty()) return rs.Delete();
    if (Status k = rs.Edit(); !k) return k;
  } else {
    if (text.empty()) return Status::Ok();
    if (Status k = rs.AddNew(); !k) return k;
    if (Status k = rs.Set("Line", line); !k) return k;
  }
  if (Status k = rs.Set("Text", text); !k) {
    rs.CancelUpdate();
    return k;
  }
  return rs.Update();
}

Status Applic::UpdatePgmStep(int16_t slot, int32_t line, std::string_view text) {
  auto table = PgmTableOf(slot);
  if (!table) return Status::Fail(table.error);
  if (Status w = Writable(); !w) return w;
  return WriteLine(**table, line, text);
}

int16_t Applic::GetMaxLineNumber(int16_t slot) {
  Slot* s = PgmSlot(slot);
  if (!s || !s->rs) return 0;
  Recordset& rs = *s->rs;
  int64_t most = 0;
  for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
    const int64_t line = rs.Field("Line").Long();
    if (line <= 255) most = std::max(most, line);
  }
  return int16_t(most);
}

std::string Applic::GetPD(int16_t slot) { return GetPgmStep(slot, -4); }

float Applic::GetTrans(int16_t slot) {
  const std::string t = GetPgmStep(slot, -3);
  if (t.empty()) return 1.0f;
  const double v = rt::Val(t);
  const float f = float(v);
  if (std::isfinite(f) && f > 0) return f;
  // A ratio that is not a finite positive number would scale every move by it.
  if (Slot* s = PgmSlot(slot); s && !s->transTold) {
    s->transTold = true;
    talvero::ThePrompter().Message({"The program " + s->name + " of the application " + Name +
                                        " holds the transmission ratio \"" + t +
                                        "\", which is not a positive number; 1 is used.",
                                    "Talvero", talvero::Buttons::Ok, talvero::Icon::Exclamation});
  }
  return 1.0f;
}

std::string Applic::GetUnits(int16_t slot) {
  std::string u = GetPgmStep(slot, -2);
  return u.empty() ? "system-rev" : u;
}

Status Applic::UpdateSettings(int16_t slot, std::string_view description, std::string_view transmission,
                              std::string_view units) {
  const std::string refusal = "Can't save the program settings: ";
  auto table = PgmTableOf(slot);
  if (!table) return Status::Fail(refusal + table.error);
  if (Status w = Writable(); !w) return Status::Fail(refusal + w.error);
  struct Row {
    int32_t line;
    std::string_view text;
    const char* what;
  } rows[] = {{-4, description, "description"}, {-3, transmission, "transmission ratio"}, {-2, units, "units"}};
  for (const Row& r : rows)
    if (talvero::dao::CharCount(r.text) > 64)
      return Status::Fail(refusal + r.what + " longer than 64 characters.");
  Transaction t(*db_);
  if (!t.Started()) return Status::Fail(refusal + t.Started().error);
  for (const Row& r : rows)
    if (Status k = WriteLine(**table, r.line, r.text); !k) return Status::Fail(refusal + k.error);
  if (Status k = t.Commit(); !k) return Status::Fail(refusal + k.error);
  return Status::Ok();
}
