#include "mainwin/tivolen_edit_list.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace {

QVariant Short(int v) { return QVariant::fromValue<short>(short(v)); }

int Whole(const QVariant& v) { return int(std::lround(v.toDouble())); }

// The control measures in twips at the screen's resolution, as it converts.
double TwipsPerPixel(bool x) {
  const QScreen* s = QGuiApplication::primaryScreen();
  const double dpi = s ? (x ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY()) : 96.0;
  return 1440.0 / std::round(dpi);
}

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

QVariant TivolenEditList::Get(int dispId, int row) const {
  const tivolen::DispResult r =
      row < 0 ? control_->GetProperty(dispId) : control_->GetProperty(dispId, {Short(row)});
  return r.ok() ? r.value : QVariant();
}

void TivolenEditList::Put(int dispId, const QVariant& value, int row) {
  if (row < 0) control_->PutProperty(dispId, value);
  else control_->PutProperty(dispId, value, {Short(row)});
}

void TivolenEditList::SetTabWidth(int column, int width) {
  control_->PutProperty(tivolen::kDispTabWidth, double(width), {Short(column)});
}
int TivolenEditList::TabWidth(int column) const {
  return Whole(control_->GetProperty(tivolen::kDispTabWidth, {Short(column)}).value);
}
void TivolenEditList::SetListHeight(int row, int height) {
  if (row >= 0) Put(tivolen::kDispListHeight, double(height), row);
}
int TivolenEditList::ListHeight(int row) const {
  return row < 0 ? 0 : Whole(Get(tivolen::kDispListHeight, row));
}
void TivolenEditList::SetDefHeight(int height) { Put(tivolen::kDispDefHeight, double(height)); }
int TivolenEditList::DefHeight() const { return Whole(Get(tivolen::kDispDefHeight)); }
void TivolenEditList::SetListFontItalic(int row, bool on) {
  if (row >= 0) Put(tivolen::kDispListFontItalic, Short(on ? -1 : 0), row);
}
bool TivolenEditList::ListFontItalic(int row) const {
  return row >= 0 && Get(tivolen::kDispListFontItalic, row).toInt() != 0;
}
void TivolenEditList::SetItemData(int row, int32_t data) {
  if (row >= 0) Put(tivolen::kDispItemData, QVariant::fromValue<qint32>(data), row);
}
int32_t TivolenEditList::ItemData(int row) const {
  return row < 0 ? 0 : Get(tivolen::kDispItemData, row).toInt();
}
int TivolenEditList::NewIndex() const { return Get(tivolen::kDispNewIndex).toInt(); }
void TivolenEditList::SetList(int row, const std::string& text) {
  if (row >= 0) Put(tivolen::kDispList, QString::fromStdString(text), row);
}
void TivolenEditList::SetSelected(int row, bool on) {
  if (row >= 0) Put(tivolen::kDispSelected, Short(on ? -1 : 0), row);
}
bool TivolenEditList::Selected(int row) const {
  return row >= 0 && Get(tivolen::kDispSelected, row).toInt() != 0;
}
int TivolenEditList::SelCount() const { return Get(tivolen::kDispSelCount).toInt(); }
int TivolenEditList::TopIndex() const { return Get(tivolen::kDispTopIndex).toInt(); }
void TivolenEditList::SetTopIndex(int row) { Put(tivolen::kDispTopIndex, Short(row)); }
double TivolenEditList::FontSize() const {
  return Get(tivolen::kDispFont).value<QFont>().pointSizeF();
}
void TivolenEditList::SetFontSize(double points) {
  QFont f = Get(tivolen::kDispFont).value<QFont>();
  if (points <= 0 || f.pointSizeF() == points) return;
  f.setPointSizeF(points);
  Put(tivolen::kDispFont, f);
}
int TivolenEditList::ItemFromPoint(int x, int y) const {
  const tivolen::DispResult r = control_->Invoke(
      tivolen::kDispItemFromPoint, {x * TwipsPerPixel(true), y * TwipsPerPixel(false), false});
  return r.ok() ? r.value.toInt() : -1;
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
