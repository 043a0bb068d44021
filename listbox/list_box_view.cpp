#include "listbox/list_box_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

namespace tivolen {

ListBoxView::ListBoxView(ListBoxOwner* owner, Mode mode, QWidget* parent)
    : QAbstractScrollArea(parent), owner_(owner), mode_(mode) {
  setFrameShape(QFrame::NoFrame);
  setFocusPolicy(Qt::StrongFocus);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setMouseTracking(true);
  viewport()->setAutoFillBackground(false);
  verticalScrollBar()->setSingleStep(1);
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this, [this](int) {
    owner_->ListScrolled();
  });
}

int ListBoxView::InsertString(int index, const QString& text) {
  if (index < 0 || index > Count()) return kErr;
  if (Count() >= limit_) return kErrSpace;
  rows_.insert(rows_.begin() + index, Row{text, 0, 16, false});
  if (caret_ >= index) ++caret_;
  if (anchor_ >= index) ++anchor_;
  const int h = owner_->MeasureItem(index);
  if (h >= 0) rows_[index].height = h;
  Invalidate();
  return index;
}

bool ListBoxView::DeleteString(int index) {
  if (index < 0 || index >= Count()) return false;
  rows_.erase(rows_.begin() + index);
  if (caret_ == index) caret_ = -1;
  else if (caret_ > index) --caret_;
  if (anchor_ >= index) anchor_ = anchor_ == index ? -1 : anchor_ - 1;
  if (top_ >= Count()) top_ = std::max(0, Count() - 1);
  Invalidate();
  return true;
}

void ListBoxView::ResetContent() {
  rows_.clear();
  caret_ = anchor_ = -1;
  top_ = 0;
  Invalidate();
}

void ListBoxView::SetItemHeight(int index, int height) {
  if (index < 0 || index >= Count()) return;
  rows_[index].height = std::clamp(height, 0, 255);
  Invalidate();
}

void ListBoxView::SetSel(int index, bool selected) {
  if (mode_ == Mode::Single) return;
  if (index == -1) {
    for (auto& r : rows_) r.selected = selected;
  } else if (index >= 0 && index < Count()) {
    rows_[index].selected = selected;
  }
  Invalidate();
}

int ListBoxView::CurSel() const {
  if (mode_ != Mode::Single) return caret_;
  return caret_ >= 0 && caret_ < Count() && rows_[caret_].selected ? caret_ : -1;
}

void ListBoxView::SetCurSel(int index) {
  if (mode_ != Mode::Single) return;
  for (auto& r : rows_) r.selected = false;
  if (index >= 0 && index < Count()) {
    rows_[index].selected = true;
    caret_ = index;
    EnsureVisible(index);
  } else {
    caret_ = -1;
  }
  Invalidate();
}

int ListBoxView::SelCount() const {
  int n = 0;
  for (const auto& r : rows_) n += r.selected ? 1 : 0;
  return n;
}

void ListBoxView::SetTopIndex(int index) {
  top_ = std::clamp(index, 0, MaxTop());
  Invalidate();
}

void ListBoxView::SetHorizontalExtent(int extent) {
  extent_ = std::max(0, extent);
  Invalidate();
}

void ListBoxView::SetRedraw(bool on) {
  redraw_ = on;
  if (on && dirty_) Invalidate();
}

void ListBoxView::Invalidate() {
  if (!redraw_) {
    dirty_ = true;
    return;
  }
  dirty_ = false;
  UpdateScrollBars();
  viewport()->update();
}

int ListBoxView::MaxTop() const {
  const int avail = viewport()->height();
  int sum = 0, t = Count();
  while (t > 0 && sum + rows_[t - 1].height <= avail) sum += rows_[--t].height;
  return std::min(t, std::max(0, Count() - 1));
}

void ListBoxView::UpdateScrollBars() {
  syncingScroll_ = true;
  const int maxTop = MaxTop();
  top_ = std::clamp(top_, 0, maxTop);
  verticalScrollBar()->setRange(0, maxTop);
  verticalScrollBar()->setPageStep(std::max(1, Count() - maxTop));
  verticalScrollBar()->setValue(top_);
  horizontalScrollBar()->setRange(0, std::max(0, extent_ - viewport()->width()));
  horizontalScrollBar()->setPageStep(std::max(1, viewport()->width()));
  syncingScroll_ = false;
}

void ListBoxView::scrollContentsBy(int, int) {
  if (syncingScroll_) return;
  top_ = verticalScrollBar()->value();
  viewport()->update();
}

void ListBoxView::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  if (redraw_) UpdateScrollBars();
}

QRect ListBoxView::ItemRect(int index) const {
  if (index < top_ || index >= Count()) return {};
  int y = 0;
  for (int i = top_; i < index; ++i) y += rows_[i].height;
  const int hoff = horizontalScrollBar()->value();
  return QRect(-hoff, y, std::max(viewport()->width(), extent_) + hoff, rows_[index].height);
}

int ListBoxView::IndexAt(QPoint p) const {
  if (p.y() < 0) return -1;
  int y = 0;
  for (int i = top_; i < Count(); ++i) {
    y += rows_[i].height;
    if (p.y() < y) return i;
  }
  return -1;
}

void ListBoxView::paintEvent(QPaintEvent* e) {
  QPainter p(viewport());
  p.fillRect(e->rect(), owner_->ListBackground());
  const int hoff = horizontalScrollBar()->value();
  const int width = std::max(viewport()->width() + hoff, extent_);
  const bool enabled = isEnabled();
  int y = 0;
  for (int i = top_; i < Count() && y < viewport()->height(); ++i) {
    const QRect r(-hoff, y, width, rows_[i].height);
    y += rows_[i].height;
    if (!r.intersects(e->rect())) continue;
    int state = (rows_[i].selected ? kOdsSelected : 0) | (enabled ? 0 : kOdsDisabled);
    if (i == caret_ && hasFocus()) state |= kOdsFocus;
    p.save();
    p.setClipRect(r);
    owner_->DrawItem(p, i, r, state, kOdaDrawEntire);
    p.restore();
  }
}

void ListBoxView::EnsureVisible(int index) {
  if (index < 0 || index >= Count()) return;
  if (index < top_) {
    top_ = index;
  } else {
    int sum = 0;
    for (int i = top_; i <= index; ++i) sum += rows_[i].height;
    while (sum > viewport()->height() && top_ < index) sum -= rows_[top_++].height;
  }
}

void ListBoxView::SelectRange(int from, int to) {
  for (auto& r : rows_) r.selected = false;
  if (from < 0) from = to;
  for (int i = std::min(from, to); i <= std::max(from, to); ++i)
    if (i >= 0 && i < Count()) rows_[i].selected = true;
}

void ListBoxView::ClickAt(int index, Qt::KeyboardModifiers mods) {
  if (index < 0) return;
  switch (mode_) {
    case Mode::Single:
      SetCurSel(index);
      return;
    case Mode::Multiple:
      rows_[index].selected = !rows_[index].selected;
      break;
    case Mode::Extended:
      if (mods & Qt::ShiftModifier) {
        SelectRange(anchor_, index);
      } else if (mods & Qt::ControlModifier) {
        rows_[index].selected = !rows_[index].selected;
        anchor_ = index;
      } else {
        SelectRange(index, index);
        anchor_ = index;
      }
      break;
  }
  caret_ = index;
  Invalidate();
}

void ListBoxView::MoveCaret(int index, Qt::KeyboardModifiers mods) {
  if (Count() == 0) return;
  index = std::clamp(index, 0, Count() - 1);
  switch (mode_) {
    case Mode::Single:
      SetCurSel(index);
      return;
    case Mode::Multiple:
      caret_ = index;
      break;
    case Mode::Extended:
      if (mods & Qt::ShiftModifier) {
        SelectRange(anchor_ < 0 ? index : anchor_, index);
      } else {
        SelectRange(index, index);
        anchor_ = index;
      }
      caret_ = index;
      break;
  }
  EnsureVisible(index);
  Invalidate();
}

void ListBoxView::mousePressEvent(QMouseEvent* e) {
  owner_->ListMouse(e);
  if (e->button() == Qt::LeftButton) ClickAt(IndexAt(e->position().toPoint()), e->modifiers());
}

// The press just before already selected.
void ListBoxView::mouseDoubleClickEvent(QMouseEvent* e) { owner_->ListMouse(e); }

void ListBoxView::mouseReleaseEvent(QMouseEvent* e) { owner_->ListMouse(e); }

void ListBoxView::mouseMoveEvent(QMouseEvent* e) {
  owner_->ListMouse(e);
  if (!(e->buttons() & Qt::LeftButton) || mode_ == Mode::Multiple) return;
  const int i = IndexAt(e->position().toPoint());
  if (i < 0 || i == caret_) return;
  if (mode_ == Mode::Single) SetCurSel(i);
  else {
    SelectRange(anchor_, i);
    caret_ = i;
    Invalidate();
  }
}

void ListBoxView::wheelEvent(QWheelEvent* e) {
  const int steps = e->angleDelta().y() / 120 * 3;
  if (steps == 0) return;
  SetTopIndex(top_ - steps);
  owner_->ListScrolled();
}

void ListBoxView::keyPressEvent(QKeyEvent* e) {
  if (!owner_->ListKey(e)) return;
  int page = 1;
  for (int i = top_, sum = 0; i < Count() && (sum += rows_[i].height) <= viewport()->height(); ++i)
    page = std::max(1, i - top_);
  const int from = caret_ < 0 ? 0 : caret_;
  switch (e->key()) {
    case Qt::Key_Up: MoveCaret(caret_ < 0 ? 0 : from - 1, e->modifiers()); break;
    case Qt::Key_Down: MoveCaret(caret_ < 0 ? 0 : from + 1, e->modifiers()); break;
    case Qt::Key_PageUp: MoveCaret(from - page, e->modifiers()); break;
    case Qt::Key_PageDown: MoveCaret(from + page, e->modifiers()); break;
    case Qt::Key_Home: MoveCaret(0, e->modifiers()); break;
    case Qt::Key_End: MoveCaret(Count() - 1, e->modifiers()); break;
    case Qt::Key_Space:
      if (mode_ != Mode::Single && caret_ >= 0) {
        rows_[caret_].selected = !rows_[caret_].selected;
        Invalidate();
      }
      break;
    default: break;
  }
}

void ListBoxView::keyReleaseEvent(QKeyEvent* e) { owner_->ListKey(e); }

void ListBoxView::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  viewport()->update();
}

void ListBoxView::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  viewport()->update();
}

}  // namespace tivolen
