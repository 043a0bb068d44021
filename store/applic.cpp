#include "store/applic.h"

#include <unistd.h>

#include <algorithm>

#include "platform/ui/prompter.h"
#include "runtime/text.h"
#include "runtime/val.h"

using talvero::dao::Database;
using talvero::dao::FieldDef;
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

std::string AxisTable(std::string_view name) { return "AXIS:" + std::string(name); }
std::string PgmTable(std::string_view name) { return "PGM:" + std::string(name); }

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
    Status s = (*db)->CreateTable(
        {"Axis", {FieldDef::Counter("ID"), FieldDef::Text("Name", 32), FieldDef::Text("AxisType", 32)}});
    if (s) s = (*db)->CreateTable({"Programs", {FieldDef::Counter("ID"), FieldDef::Text("Name", 32)}});
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

Status Applic::AOpen(const std::string& path, bool readOnly) {
  auto db = Database::Open(path, readOnly);
  if (!db) return Status::Fail(db.error);
  for (const char* table : {"Axis", "Programs"}) {
    auto def = (*db)->GetTableDef(table);
    if (!def) return Status::Fail("not an application file (no table " + std::string(table) + "): " + path);
    if (!def->Find("Name") || (std::string_view(table) == "Axis" && !def->Find("AxisType")))
      return Status::Fail("not an application file (table " + std::string(table) + " lacks a field): " + path);
  }
  auto axisRS = (*db)->OpenRecordset("Axis");
  if (!axisRS) return Status::Fail(axisRS.error);
  auto programsRS = (*db)->OpenRecordset("Programs");
  if (!programsRS) return Status::Fail(programsRS.error);

  std::array<Slot, kMaxAxis> axes;
  Recordset& ax = **axisRS;
  for (size_t i = 0; i < axes.size() && !ax.Eof(); ++i) {
    axes[i].name = ax.Text("Name");
    axes[i].family = ax.Text("AxisType");
    // A row whose table is missing (left by an older program that failed
    // half-way) still takes its slot, so it can be seen and deleted.
    if (auto rs = (*db)->OpenRecordset(AxisTable(axes[i].name))) axes[i].rs = std::move(*rs);
    if (Status s = ax.MoveNext(); !s) return s;
  }
  std::array<Slot, kMaxPgm> pgms;
  Recordset& pg = **programsRS;
  for (size_t i = 0; i < pgms.size() && !pg.Eof(); ++i) {
    pgms[i].name = pg.Text("Name");
    if (auto rs = (*db)->OpenRecordset(PgmTable(pgms[i].name))) pgms[i].rs = std::move(*rs);
    if (Status s = pg.MoveNext(); !s) return s;
  }

  // Only a file that opened whole replaces what this object held.
  AClose();
  db_ = std::move(*db);
  axisRS_ = std::move(*axisRS);
  programsRS_ = std::move(*programsRS);
  axes_ = std::move(axes);
  pgms_ = std::move(pgms);
  path_ = path;
  Name = rt::LCase(path.size() > 4 ? std::string_view(path).substr(0, path.size() - 4) : std::string_view());
  if (Name.empty()) Name = rt::LCase(path);  // a name is what marks the object open
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
    if (SameName(axes_[size_t(i)].name, trimmed)) return Refuse(std::string(kNewAxis) + "Axis name already used.");
    if (freeSlot < 0 && axes_[size_t(i)].name.empty()) freeSlot = i;
  }
  if (freeSlot < 0) return Refuse(std::string(kNewAxis) + "Too many axes in this application.");
  if (Status s = CheckStorable(trimmed, AxisTable(trimmed)); !s) return Refuse(kNewAxis + s.error);
  if (talvero::dao::CharCount(family) > 32) return Refuse(std::string(kNewAxis) + "family code too long.");
  if (Status s = Writable(); !s) return Refuse(kNewAxis + s.error);

  std::unique_ptr<Recordset> rs;
  Status s = [&]() -> Status {
    Transaction t(*db_);
    if (!t.Started()) return t.Started();
    Recordset& ax = *axisRS_;
    if (Status s = ax.AddNew(); !s) return s;
    if (Status s = ax.Set("Name", trimmed); !s) return s;
    if (Status s = ax.Set("AxisType", family); !s) return s;
    if (Status s = ax.Update(); !s) return s;
    if (Status s = db_->CreateTable({AxisTable(trimmed), {FieldDef::Counter("ID"), FieldDef::Text("Name", 8),
                                                          FieldDef::Text("Value", 32)}});
        !s)
      return s;
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
  slot.name = trimmed;
  slot.family = std::string(family);
  slot.rs = std::move(rs);
  NewAxisSlot = int16_t(freeSlot + 1);
  return Status::Ok();
}

// Deletes the table and the first list row of that name, as one change.
static Status DeleteEntry(Database& db, Recordset& list, const std::string& table, const std::string& name) {
  Transaction t(db);
  if (!t.Started()) return t.Started();
  if (db.HasTable(table))
    if (Status s = db.DeleteTable(table); !s) return s;
  if (Status s = list.Seek("Name", name); !s) return s;
  if (!list.NoMatch())
    if (Status s = list.Delete(); !s) return s;
  return t.Commit();
}

Status Applic::DelAxis(int16_t slot) {
  Slot* s = AxisSlot(slot);
  if (!s || s->name.empty()) return Status::Fail("no axis in slot " + std::to_string(slot));
  if (Status w = Writable(); !w) return w;
  if (Status d = DeleteEntry(*db_, *axisRS_, AxisTable(s->name), s->name); !d) return d;
  *s = Slot{};
  return Status::Ok();
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
  Slot* s = AxisSlot(slot);
  if (!s || !s->rs) return Status::Fail("no axis in slot " + std::to_string(slot));
  if (Status w = Writable(); !w) return w;
  Recordset& rs = *s->rs;
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
    if (SameName(pgms_[size_t(i)].name, trimmed)) return Refuse(std::string(kNewPgm) + "name already used.");
    if (freeSlot < 0 && pgms_[size_t(i)].name.empty()) freeSlot = i;
  }
  if (freeSlot < 0) return Refuse(std::string(kNewPgm) + "Too many programs in this application.");
  if (Status s = CheckStorable(trimmed, PgmTable(trimmed)); !s) return Refuse(kNewPgm + s.error);
  if (Status s = Writable(); !s) return Refuse(kNewPgm + s.error);

  std::unique_ptr<Recordset> rs;
  Status s = [&]() -> Status {
    Transaction t(*db_);
    if (!t.Started()) return t.Started();
    Recordset& pg = *programsRS_;
    if (Status s = pg.AddNew(); !s) return s;
    if (Status s = pg.Set("Name", trimmed); !s) return s;
    if (Status s = pg.Update(); !s) return s;
    if (Status s = db_->CreateTable({PgmTable(trimmed), {FieldDef::Long("Line"), FieldDef::Text("Text", 64)}}); !s)
      return s;
    auto opened = db_->OpenRecordset(PgmTable(trimmed));
    if (!opened) return Status::Fail(opened.error);
    rs = std::move(*opened);
    return t.Commit();
  }();
  if (!s) return Refuse(kNewPgm + s.error);
  Slot& slot = pgms_[size_t(freeSlot)];
  slot.name = trimmed;
  slot.rs = std::move(rs);
  CurrentPgm = int16_t(freeSlot + 1);
  return Status::Ok();
}

Status Applic::DelPgm(int16_t slot) {
  Slot* s = PgmSlot(slot);
  if (!s || s->name.empty()) return Status::Fail("no program in slot " + std::to_string(slot));
  if (Status w = Writable(); !w) return w;
  if (Status d = DeleteEntry(*db_, *programsRS_, PgmTable(s->name), s->name); !d) return d;
  *s = Slot{};
  return Status::Ok();
}

Status Applic::PgmRename(int16_t slot, std::string_view newName) {
  const std::string refusal = "Can't rename program: ";
  Slot* s = PgmSlot(slot);
  if (!s || s->name.empty()) return Status::Fail(refusal + "no program in slot " + std::to_string(slot));
  std::string to = rt::Trim(newName);
  if (Status c = CheckStorable(to, PgmTable(to)); !c) return Status::Fail(refusal + c.error);
  if (Status w = Writable(); !w) return Status::Fail(refusal + w.error);
  if (to == s->name) return Status::Ok();
  Status r = [&]() -> Status {
    Transaction t(*db_);
    if (!t.Started()) return t.Started();
    if (Status k = db_->RenameTable(PgmTable(s->name), PgmTable(to)); !k) return k;
    Recordset& pg = *programsRS_;
    if (Status k = pg.Seek("Name", s->name); !k) return k;
    if (!pg.NoMatch()) {
      if (Status k = pg.Edit(); !k) return k;
      if (Status k = pg.Set("Name", to); !k) return k;
      if (Status k = pg.Update(); !k) return k;
    }
    return t.Commit();
  }();
  if (!r) return Status::Fail(refusal + r.error);
  auto opened = db_->OpenRecordset(PgmTable(to));
  if (!opened) return Status::Fail(refusal + opened.error);
  s->name = to;
  s->rs = std::move(*opened);
  return Status::Ok();
}

bool Applic::Pexist(std::string_view name) {
  for (int i = 0; i < kMaxPgm; ++i)
    if (SameName(pgms_[size_t(i)].name, name)) {
      CurrentPgm = int16_t(i + 1);
      return true;
    }
  return false;
}

std::string Applic::GetPgmName(int16_t slot) const {
  const Slot* s = PgmSlot(slot);
  return s ? s->name : std::string();
}

std::string Applic::GetPgmStep(int16_t slot, int32_t line) {
  Slot* s = PgmSlot(slot);
  if (!s || !s->rs) return {};
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
  Slot* s = PgmSlot(slot);
  if (!s || !s->rs) return Status::Fail("no program in slot " + std::to_string(slot));
  if (Status w = Writable(); !w) return w;
  return WriteLine(*s->rs, line, text);
}

int16_t Applic::GetMaxLineNumber(int16_t slot) {
  Slot* s = PgmSlot(slot);
  if (!s || !s->rs) return 0;
  Recordset& rs = *s->rs;
  int64_t most = 0;
  for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) most = std::max(most, rs.Field("Line").Long());
  return int16_t(std::min<int64_t>(most, INT16_MAX));
}

std::string Applic::GetPD(int16_t slot) { return GetPgmStep(slot, -4); }

float Applic::GetTrans(int16_t slot) {
  std::string t = GetPgmStep(slot, -3);
  float v = float(rt::Val(t));
  return t.empty() || v == 0 ? 1.0f : v;
}

std::string Applic::GetUnits(int16_t slot) {
  std::string u = GetPgmStep(slot, -2);
  return u.empty() ? "system-rev" : u;
}

Status Applic::UpdateSettings(int16_t slot, std::string_view description, std::string_view transmission,
                              std::string_view units) {
  const std::string refusal = "Can't save the program settings: ";
  Slot* s = PgmSlot(slot);
  if (!s || !s->rs) return Status::Fail(refusal + "no program in slot " + std::to_string(slot));
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
    if (Status k = WriteLine(*s->rs, r.line, r.text); !k) return Status::Fail(refusal + k.error);
  if (Status k = t.Commit(); !k) return Status::Fail(refusal + k.error);
  return Status::Ok();
}
