#include "mainwin/tivolen_edit_list.h"

#include <QFont>

namespace {

QVariant Short(int v) { return QVariant::fromValue<short>(short(v)); }

}  // namespace

tivolen::MemoryPropertyBag MainListProperties() {
  tivolen::MemoryPropertyBag bag;
  bag.Write("MultiSelect", 2);
  bag.Write("ShowTitle", false);
  bag.Write("DragWindow", false);
  bag.Write("NumTabs", 16);
  bag.Write("PictureTab", 0);
  bag.Write("AutoHorizExtent", true);
  bag.Write("ToolTip", QString());
  QFont font("MS Sans Serif");
  font.setPointSizeF(8.25);
  bag.Write("Font", font);
  return bag;
}

TivolenEditList::TivolenEditList(tivolen::ITivolen* control)
    : control_(control), widget_(control->Widget()) {
  control_->SetContainerUnitsPerInch(1440);  // the window works in twips
  control_->Advise(this);
}

TivolenEditList::~TivolenEditList() {
  if (!widget_) return;
  control_->Advise(nullptr);
  delete control_;
}

void TivolenEditList::Clear() { control_->Invoke(tivolen::kDispClear); }

void TivolenEditList::AddItem(const std::string& text, const tivolen::PicturePtr& picture) {
  QVariantList args{QString::fromStdString(text)};
  if (picture) args.append(QVariant::fromValue(picture));
  control_->Invoke(tivolen::kDispAddItem, args);
}

int TivolenEditList::ListCount() const {
  return control_->GetProperty(tivolen::kDispListCount).value.toInt();
}

std::string TivolenEditList::ItemText(int row) const {
  const tivolen::DispResult r = control_->GetProperty(tivolen::kDispList, {Short(row)});
  return r.ok() ? r.value.toString().toStdString() : std::string();
}

void TivolenEditList::SetNoRedraw(bool on) {
  control_->PutProperty(tivolen::kDispNoRedraw, Short(on ? -1 : 0));
}

bool TivolenEditList::SetListPicture(int row, const tivolen::PicturePtr& picture) {
  return control_
      ->PutProperty(tivolen::kDispListPicture,
                    QVariant::fromValue(picture ? picture : tivolen::Picture::None()), {Short(row)})
      .ok();
}

tivolen::PicturePtr TivolenEditList::ListPicture(int row) const {
  const tivolen::DispResult r = control_->GetProperty(tivolen::kDispListPicture, {Short(row)});
  if (!r.ok() || !r.value.canConvert<tivolen::PicturePtr>()) return nullptr;
  return r.value.value<tivolen::PicturePtr>();
}

void TivolenEditList::Click() {
  if (events_.Click) events_.Click();
}
void TivolenEditList::DblClick() {
  if (events_.DblClick) events_.DblClick();
}
void TivolenEditList::KeyDown(int16_t& keyCode, int16_t shift) {
  if (events_.KeyDown) events_.KeyDown(keyCode, shift);
}
void TivolenEditList::KeyPress(int16_t& keyAscii) {
  if (events_.KeyPress) events_.KeyPress(keyAscii);
}
void TivolenEditList::KeyUp(int16_t& keyCode, int16_t shift) {
  if (events_.KeyUp) events_.KeyUp(keyCode, shift);
}
void TivolenEditList::MouseDown(int16_t button, int16_t shift, int32_t x, int32_t y) {
  if (events_.MouseDown) events_.MouseDown(button, shift, x, y);
}
void TivolenEditList::MouseMove(int16_t button, int16_t shift, int32_t x, int32_t y) {
  if (events_.MouseMove) events_.MouseMove(button, shift, x, y);
}
void TivolenEditList::MouseUp(int16_t button, int16_t shift, int32_t x, int32_t y) {
  if (events_.MouseUp) events_.MouseUp(button, shift, x, y);
}
void TivolenEditList::TbMouseMove(int16_t, int16_t, int32_t, int32_t) {
  if (events_.TbMouseMove) events_.TbMouseMove();
}
