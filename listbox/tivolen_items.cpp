// Items of the control: adding, removing and changing them, their widths
// and heights, and drawing them in the list box.
#include <QFontMetrics>
#include <QPainter>
#include <QScrollBar>
#include <climits>

#include "listbox/item_text.h"
#include "listbox/string_table.h"
#include "listbox/tivolen_ctrl.h"

namespace tivolen {

namespace {

bool IsShort(const QVariant& v) { return v.typeId() == QMetaType::Short; }
bool IsFloat(const QVariant& v) { return v.typeId() == QMetaType::Float; }

AutomationError InsertError(int answer) {
  return MakeError(kErrListBoxFailure, answer == ListBoxView::kErrSpace ? 114 : 113);
}

}  // namespace

DispResult TivolenCtrl::AddItem(const QVariantList& args) {
  const QString given = args.value(0).toString();
  const QVariant picture = args.value(1), font = args.value(2), height = args.value(3), row = args.value(4);
  // Compared and stored in the same form, so sorted lists stay in order.
  const QString text = InsertPictureColumn(given, pictureTab_);
  const int count = int(items_.size());
  int pos = count;
  if (sort_) {
    pos = SortedPosition(count, text, [this](int i) { return items_[i]->FullText(); });
  } else if (IsShort(row)) {
    pos = row.value<short>();
  }
  if (pos < 0 || pos > count) return DispResult::Fail(MakeError(kErrInvalidIndex, 146, 1002));

  auto item = std::make_unique<ListItem>();
  if (IsShort(height) || IsFloat(height)) {
    item->SetHeight(HeightPixels(height.toDouble()));
  }
  if (font.canConvert<QFont>() && font.typeId() == QMetaType::QFont) item->SetFont(font.value<QFont>());
  item->SetText(text);
  if (picture.canConvert<PicturePtr>()) {
    if (auto p = picture.value<PicturePtr>()) {
      item->SetPicture(p);
      BuildItemVariants(*item);
    }
  }
  items_.insert(items_.begin() + pos, std::move(item));
  int answer = pos;
  if (list_) {
    answer = list_->InsertString(pos, items_[pos]->FullText());
    if (answer < 0) {
      // The list box refused it: keep the records at the list box's indexes.
      items_.erase(items_.begin() + pos);
      modified_ = true;
      return DispResult::Fail(InsertError(answer));
    }
  }
  pendingWidth_ = 0;
  GrowMaxWidthForItem(pos);
  ApplyExtent();
  newIndex_ = int16_t(answer);
  modified_ = true;
  RepaintAll();
  return DispResult::Ok();
}

DispResult TivolenCtrl::RemoveItem(int index) {
  if (index < 0 || index >= int(items_.size())) return DispResult::Fail(MakeError(kErrInvalidIndex, 146));
  items_.erase(items_.begin() + index);
  if (list_) list_->DeleteString(index);
  ItemsRemoved();
  return DispResult::Ok();
}

void TivolenCtrl::Clear() {
  if (items_.empty()) return;
  items_.clear();
  if (list_) list_->ResetContent();
  ItemsRemoved();
}

void TivolenCtrl::ItemsRemoved() {
  newIndex_ = -1;
  ComputeMaxWidth();
  ApplyExtent();
  modified_ = true;
  RepaintAll();
}

DispResult TivolenCtrl::ReplaceListString(int index, const QString& text) {
  if (!list_) return DispResult::Ok();
  const bool selected = list_->Sel(index);
  const int32_t data = list_->ItemData(index);
  const QString old = list_->Text(index);
  list_->DeleteString(index);
  int answer = list_->InsertString(index, text);
  if (answer < 0) {
    // Put the old string back so the list box keeps an entry for the record.
    if (list_->InsertString(index, old) < 0) items_.erase(items_.begin() + index);
    else list_->SetItemData(index, data);
    return DispResult::Fail(InsertError(answer));
  }
  list_->SetItemData(index, data);
  if (selected) {
    if (list_->SelectionMode() == ListBoxView::Mode::Single) list_->SetCurSel(index);
    else list_->SetSel(index, true);
  }
  return DispResult::Ok();
}

DispResult TivolenCtrl::SetListText(int index, const QString& text) {
  ShrinkCheckForItem(index);
  ListItem& item = *items_[index];
  const QString before = item.FullText();
  item.SetText(InsertPictureColumn(text, pictureTab_));
  return StoreItemText(index, before, item.FullText(), kDispList);
}

DispResult TivolenCtrl::SetListTabText(int index, int column, const QString& text) {
  ShrinkCheckForItem(index);
  ListItem& item = *items_[index];
  const QString before = item.FullText();
  if (!item.SetColumnText(text, column)) {
    pendingWidth_ = -1;
    return DispResult::Fail(MakeError(kErrInvalidPropertyValue, 139));
  }
  return StoreItemText(index, before, LimitText(item.FullText()), kDispListTabText);
}

DispResult TivolenCtrl::StoreItemText(int index, const QString& before, const QString& stored,
                                      int member) {
  const size_t count = items_.size();
  DispResult r = ReplaceListString(index, stored);
  if (!r.ok()) {
    // The record may have gone with its list box string; then nothing is restored.
    if (items_.size() == count) {
      items_[index]->SetText(before);
    } else {
      ComputeMaxWidth();
      ApplyExtent();
    }
    pendingWidth_ = -1;
    return r;
  }
  GrowMaxWidthForItem(index);
  ApplyExtent();
  RepaintAll();
  Changed(member);
  return r;
}

void TivolenCtrl::SetValue(const QString& given) {
  const QString text = InsertPictureColumn(given, pictureTab_);
  int found = -1;
  for (int i = 0; i < int(items_.size()) && found < 0; ++i)
    if (items_[i]->GetText() == text) found = i;
  list_->SetCurSel(found);
}

// Widths -------------------------------------------------------------------

int TivolenCtrl::PictureWidth(const ListItem& item) const {
  const PicturePtr& p = ShownPicture(item);
  if (!p) return 0;
  return units_.HimetricToPixelsX(p->himetricWidth ? p->himetricWidth : 32);
}

int TivolenCtrl::ItemWidth(int index) const {
  const ListItem& item = *items_[index];
  int width = 0;
  if (pictureTab_ < numTabs_) width = ColumnStart(pictureTab_) + PictureWidth(item) + 2;
  for (int c = numTabs_ - 1; c >= 0; --c) {
    if (c == pictureTab_) continue;
    const QString t = item.GetColumnText(c);
    if (t.isEmpty()) continue;
    width = std::max(width, ColumnStart(c) + QFontMetrics(ItemFont(item)).horizontalAdvance(t) + 2);
    break;
  }
  return width;
}

void TivolenCtrl::ComputeMaxWidth() {
  int w = 0;
  if (!userDraw_ && list_)
    for (int i = 0; i < int(items_.size()); ++i) w = std::max(w, ItemWidth(i));
  maxWidth_ = int16_t(std::min(w, 32767));
}

void TivolenCtrl::ShrinkCheckForItem(int index) {
  pendingWidth_ = int16_t(list_ && !userDraw_ ? std::min(ItemWidth(index), 32767) : 0);
}

void TivolenCtrl::GrowMaxWidthForItem(int index) {
  if (pendingWidth_ == -1) return;
  if (userDraw_ || !list_) {
    maxWidth_ = 0;
  } else {
    const int w = std::min(ItemWidth(index), 32767);
    if (w >= maxWidth_) maxWidth_ = int16_t(w);
    else if (pendingWidth_ >= maxWidth_) ComputeMaxWidth();
  }
  pendingWidth_ = -1;
}

void TivolenCtrl::ApplyExtent() {
  if (list_ && autoHorizExtent_) list_->SetHorizontalExtent(maxWidth_);
}

// Heights ------------------------------------------------------------------

int TivolenCtrl::GetItemTextHeight(const ListItem& item) const {
  if (item.GetText().isEmpty()) return 0;
  return QFontMetrics(ItemFont(item)).height();
}

int TivolenCtrl::GetItemPictureHeight(const ListItem& item) const {
  const PicturePtr& p = ShownPicture(item);
  if (!p) return 0;
  return units_.HimetricToPixelsY(p->himetricHeight);
}

int TivolenCtrl::ItemHeight(int index) const {
  const ListItem& item = *items_[index];
  if (item.Height()) return item.Height();
  int h = std::max(GetItemTextHeight(item), GetItemPictureHeight(item)) + 4;
  h = std::max<int>(h, defHeight_.pixels);
  return std::max(h, 16);
}

int TivolenCtrl::MeasureItem(int index) {
  if (index < 0 || index >= int(items_.size())) return -1;
  return ItemHeight(index);
}

void TivolenCtrl::RemeasureItem(int index, int height) {
  if (!list_ || index < 0 || index >= int(items_.size())) return;
  list_->SetItemHeight(index, height ? height : ItemHeight(index));
}

void TivolenCtrl::RemeasureAllItems() {
  if (!list_) return;
  const bool redraw = list_->Redraw();
  list_->SetRedraw(false);
  for (int i = 0; i < int(items_.size()); ++i) RemeasureItem(i);
  list_->SetRedraw(redraw);
}

// Recoloured pictures -------------------------------------------------------

void TivolenCtrl::BuildDefPictureSelected() {
  defSelected_ = MakeTransparentVariant(defPicture_, TranslateColor(picTransColor_), TranslateColor(selectedBackColor_));
}

void TivolenCtrl::BuildDefPictureNormal() {
  defNormal_ = MakeTransparentVariant(defPicture_, TranslateColor(picTransColor_), TranslateColor(backColor_));
}

void TivolenCtrl::RebuildVariants(bool selected, bool normal) {
  if (selected) BuildDefPictureSelected();
  if (normal) BuildDefPictureNormal();
  for (auto& item : items_) BuildItemVariants(*item, selected, normal);
}

void TivolenCtrl::BuildItemVariants(ListItem& item, bool selected, bool normal) const {
  const QColor trans = TranslateColor(picTransColor_);
  if (selected) item.BuildSelectedVariant(trans, TranslateColor(selectedBackColor_));
  if (normal) item.BuildNormalVariant(trans, TranslateColor(backColor_));
}

// Drawing --------------------------------------------------------------------

void TivolenCtrl::DrawItem(QPainter& p, int index, const QRect& rect, int state, int action) {
  if (index < 0 || index >= int(items_.size())) return;
  if (userDraw_) {
    if (sink_)
      sink_->UserDrawItem(int16_t(index), int16_t(rect.left()), int16_t(rect.top()),
                          int16_t(rect.left() + rect.width()), int16_t(rect.top() + rect.height()),
                          int16_t(state), int16_t(action), &p);
    return;
  }
  if (action == kOdaFocus) {
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(rect.adjusted(0, 0, -1, -1));
    return;
  }
  const ListItem& item = *items_[index];
  const bool selected = state & kOdsSelected;
  const bool enabled = enabled_;
  QColor textColor, background;
  const QImage* image = nullptr;
  const PicturePtr& own = item.GetPicture();
  auto pick = [&](const std::optional<QImage>& ownVariant, const std::optional<QImage>& defVariant) {
    if (ownVariant) image = &*ownVariant;
    else if (own) image = &own->image;
    else if (defVariant) image = &*defVariant;
    else if (defPicture_ && !defPicture_->image.isNull()) image = &defPicture_->image;
  };
  if (selected) {
    textColor = enabled ? TranslateColor(selectedForeColor_) : TranslateColor(SystemColor(kColorGrayText));
    pick(item.SelectedVariant(), defSelected_);
    background = TranslateColor(selectedBackColor_);
  } else {
    textColor = enabled ? TranslateColor(foreColor_) : TranslateColor(SystemColor(kColorGrayText));
    pick(item.NormalVariant(), defNormal_);
    background = TranslateColor(backColor_);
  }
  p.fillRect(rect, background);
  const QFont f = ItemFont(item);
  p.setFont(f);
  p.setPen(textColor);
  const int ascent = QFontMetrics(f).ascent();
  const PicturePtr& source = ShownPicture(item);
  for (int c = 0; c < numTabs_; ++c) {
    const int x = rect.left() + ColumnStart(c), y = rect.top() + 2;
    if (c == pictureTab_) {
      if (image && source) {
        int hw = source->himetricWidth, hh = source->himetricHeight;
        if (!hw || !hh) hw = hh = 32;  // a picture without a size gets a nominal square
        p.drawImage(QRect(x, y, units_.HimetricToPixelsX(hw), units_.HimetricToPixelsY(hh)), *image);
      }
      continue;
    }
    const QString t = item.GetColumnText(c);
    if (t.isEmpty()) continue;
    const int limit = ColumnLimit(item, c);
    if (limit == INT_MAX) {
      p.drawText(QPoint(x, y + ascent), t);
      continue;
    }
    p.save();
    p.setClipRect(QRect(x, rect.top(), std::max(0, rect.left() + limit - x), rect.height()), Qt::IntersectClip);
    p.drawText(QPoint(x, y + ascent), t);
    p.restore();
  }
  if (state & kOdsFocus) {
    p.setPen(QPen(Qt::black, 1, Qt::DotLine));
    p.drawRect(rect.adjusted(0, 0, -1, -1));
  }
}

// Columns that do not fit ------------------------------------------------------

int TivolenCtrl::ColumnLimit(const ListItem& item, int column) const {
  for (int next = column + 1; next < numTabs_; ++next) {
    const bool shows = next == pictureTab_ ? ShownPicture(item) != nullptr : !item.GetColumnText(next).isEmpty();
    if (shows) return ColumnStart(next) - kColumnGap;
  }
  return INT_MAX;
}

bool TivolenCtrl::ItemClipped(int index) const {
  if (userDraw_ || index < 0 || index >= int(items_.size())) return false;
  const ListItem& item = *items_[index];
  const QFontMetrics fm(ItemFont(item));
  for (int c = 0; c < numTabs_; ++c) {
    if (c == pictureTab_) continue;
    const QString t = item.GetColumnText(c);
    if (!t.isEmpty() && ColumnStart(c) + fm.horizontalAdvance(t) > ColumnLimit(item, c)) return true;
  }
  return false;
}

QString TivolenCtrl::ItemTooltipText(int index) const {
  if (index < 0 || index >= int(items_.size())) return {};
  QStringList shown;
  for (int c = 0; c < numTabs_; ++c) {
    const QString t = c == pictureTab_ ? QString() : items_[index]->GetColumnText(c).trimmed();
    if (!t.isEmpty()) shown << t;
  }
  return shown.join("   ");
}

int TivolenCtrl::ItemAtViewport(QPoint p) const { return list_ ? list_->IndexAt(p) : -1; }

// Hit test of items -----------------------------------------------------------

int16_t TivolenCtrl::ItemFromPoint(double x, double y, const QVariant& nonClient) const {
  if (!list_) return -1;
  const int px = units_.ToPixelsX(x), py = units_.ToPixelsY(y);
  int top = 0;
  const bool frameTests = !nonClient.isValid() || nonClient.typeId() != QMetaType::Bool || nonClient.toBool();
  if (frameTests) {
    top = showTitle_ ? TitleHeight() : kBorder;
    if (py < top || px < kBorder) return -1;
    const int cx = width(), cy = height();
    const QScrollBar* v = list_->verticalScrollBar();
    const QScrollBar* h = list_->horizontalScrollBar();
    // A shown bar covers the border on its side: the items end where it begins.
    if (v->isVisible()) {
      if (px > cx - v->width()) return -1;
    } else if (px > cx - kBorder) {
      return -1;
    }
    if (h->isVisible()) {
      if (py > cy - h->height()) return -1;
    } else if (py > cy - kBorder) {
      return -1;
    }
  }
  int i = list_->TopIndex();
  while (py >= top && i < int(items_.size())) {
    top += ItemHeight(i);
    ++i;
  }
  return int16_t(i - 1);
}

}  // namespace tivolen
