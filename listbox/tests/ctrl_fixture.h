#pragma once
// A control as a host creates it, with an event sink that records.
#include <QStringList>
#include <memory>

#include "listbox/tivolen_ctrl.h"
#include "listbox/variant_args.h"

namespace tivolen::test {

struct RecordingSink : TivolenEvents {
  QStringList log;
  int16_t keyAsciiReplacement = -1;
  void Vscroll() override { log << "Vscroll"; }
  void Click() override { log << "Click"; }
  void DblClick() override { log << "DblClick"; }
  void KeyPress(int16_t& k) override {
    log << QString("KeyPress %1").arg(k);
    if (keyAsciiReplacement >= 0) k = keyAsciiReplacement;
  }
  void KeyDown(int16_t& k, int16_t s) override { log << QString("KeyDown %1 %2").arg(k).arg(s); }
  void MouseDown(int16_t b, int16_t s, int32_t x, int32_t y) override {
    log << QString("MouseDown %1 %2 %3 %4").arg(b).arg(s).arg(x).arg(y);
  }
  void MouseUp(int16_t b, int16_t s, int32_t x, int32_t y) override {
    log << QString("MouseUp %1 %2 %3 %4").arg(b).arg(s).arg(x).arg(y);
  }
  void TbClick() override { log << "TbClick"; }
  void TbDblClick() override { log << "TbDblClick"; }
  void TbMouseDown(int16_t b, int16_t, int32_t, int32_t) override { log << QString("TbMouseDown %1").arg(b); }
  void TbMouseMove(int16_t, int16_t, int32_t, int32_t) override { log << "TbMouseMove"; }
  void RollUp() override { log << "RollUp"; }
  void UserDrawItem(int16_t item, int16_t l, int16_t t, int16_t r, int16_t b, int16_t state, int16_t action,
                    QPainter* dc) override {
    log << QString("UserDrawItem %1 %2 %3 %4 %5 %6 %7 %8").arg(item).arg(l).arg(t).arg(r).arg(b).arg(state)
               .arg(action).arg(dc != nullptr);
  }
};

enum class Mode { Running, Design };

inline std::unique_ptr<TivolenCtrl> MakeControl(Mode mode = Mode::Running, int multiSelect = 0,
                                                QWidget* parent = nullptr) {
  auto c = std::make_unique<TivolenCtrl>(parent);
  c->ResetToDefaults();
  c->PutProperty(kDispMultiSelect, ShortValue(multiSelect));
  if (mode == Mode::Running) c->CreateListWindow();
  c->resize(240, 200);
  return c;
}

inline void Add(TivolenCtrl& c, const QString& text, const QVariantList& more = {}) {
  QVariantList args{text};
  args += more;
  auto r = c.Invoke(kDispAddItem, args);
  if (!r.ok()) qFatal("AddItem failed: %s", qPrintable(r.error->message));
}

inline int Count(TivolenCtrl& c) { return c.GetProperty(kDispListCount).value.toInt(); }

}  // namespace tivolen::test
