#include "mainwin/qt_edit_list.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QStyledItemDelegate>
#include <cmath>

#include "listbox/key_codes.h"

namespace {

constexpr int kTextRole = Qt::UserRole;
constexpr int kPictureRole = Qt::UserRole + 1;
constexpr int kDataRole = Qt::UserRole + 2;
constexpr int kHeightRole = Qt::UserRole + 3;  // twips, absent = the default height

double Dpi(bool x) {
  const QScreen* s = QGuiApplication::primaryScreen();
  return s ? std::round(x ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY()) : 96.0;
}
int ToPixels(int twips, bool x) { return int(twips * Dpi(x) / 1440.0); }

// Draws a row as the control does: the picture in column 0, then each
// tab-separated text at its column's start.
class ColumnDelegate : public QStyledItemDelegate {
 public:
  explicit ColumnDelegate(QtEditList* list) : QStyledItemDelegate(list), list_(list) {}
  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyleOptionViewItem bg = option;
    initStyleOption(&bg, index);
    bg.text.clear();
    bg.icon = QIcon();
    const QWidget* w = option.widget;
    w->style()->drawControl(QStyle::CE_ItemViewItem, &bg, p, w);
    const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
    if (!icon.isNull()) {
      const int side = std::min(option.rect.height(), 16);
      icon.paint(p, QRect(option.rect.left() + 2, option.rect.top(), side, option.rect.height()));
    }
    p->save();
    p->setFont(bg.font);
    p->setPen(option.state & QStyle::State_Selected ? option.palette.highlightedText().color()
                                                    : option.palette.text().color());
    const QStringList columns = index.data(kTextRole).toString().split(QLatin1Char('\t'));
    for (int c = 1; c < columns.size() && c < QtEditList::kTabs; ++c) {
      const int left = option.rect.left() + list_->ColumnStart(c);
      const int right = c + 1 < columns.size() ? option.rect.left() + list_->ColumnStart(c + 1)
                                               : option.rect.right();
      p->drawText(QRect(left, option.rect.top(), std::max(0, right - left), option.rect.height()),
                  Qt::AlignVCenter | Qt::AlignLeft, columns[c]);
    }
    p->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize s = QStyledItemDelegate::sizeHint(option, index);
    const QVariant h = index.data(kHeightRole);
    const int twips = h.isValid() ? h.toInt() : list_->DefHeight();
    if (twips > 0) s.setHeight(ToPixels(twips, false));
    return s;
  }

 private:
  QtEditList* list_;
};

QIcon Icon(const tivolen::PicturePtr& picture) {
  if (!picture || picture->image.isNull()) return {};
  QPixmap pm = QPixmap::fromImage(picture->image);
  pm.setMask(pm.createMaskFromColor(Qt::white));  // the control's transparent colour
  return QIcon(pm);
}

}  // namespace

QtEditList::QtEditList(QWidget* parent) : QListWidget(parent) {
  setObjectName("EditList");
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setAlternatingRowColors(true);
  setMouseTracking(true);
  tabWidths_.fill(720);
  QFont f("MS Sans Serif");  // as the control's stored set
  f.setPointSizeF(8.25);
  setFont(f);
  setItemDelegate(new ColumnDelegate(this));
}

int QtEditList::ColumnStart(int column) const {
  int twips = 0;
  for (int c = 0; c < column && c < kTabs; ++c) twips += tabWidths_[size_t(c)];
  return ToPixels(twips, true);
}

void QtEditList::SetTabWidth(int column, int width) {
  if (column < 0 || column >= kTabs) return;
  tabWidths_[size_t(column)] = std::max(0, width);
  viewport()->update();
}
int QtEditList::TabWidth(int column) const {
  return column < 0 || column >= kTabs ? 0 : tabWidths_[size_t(column)];
}
void QtEditList::SetListHeight(int row, int height) {
  if (QListWidgetItem* it = item(row)) it->setData(kHeightRole, std::max(0, height));
  scheduleDelayedItemsLayout();  // once, however many rows change
}
int QtEditList::ListHeight(int row) const {
  QListWidgetItem* it = item(row);
  if (!it) return 0;
  const QVariant h = it->data(kHeightRole);
  if (h.isValid()) return h.toInt();
  if (defHeight_ > 0) return defHeight_;
  return int(std::lround(sizeHintForRow(row) * 1440.0 / Dpi(false)));
}
void QtEditList::SetDefHeight(int height) {
  defHeight_ = std::max(0, height);
  scheduleDelayedItemsLayout();  // once, however many rows change
}
int QtEditList::DefHeight() const { return defHeight_; }
void QtEditList::SetListFontItalic(int row, bool on) {
  QListWidgetItem* it = item(row);
  if (!it) return;
  QFont f = it->font();
  f.setItalic(on);
  it->setFont(f);
}
bool QtEditList::ListFontItalic(int row) const {
  QListWidgetItem* it = item(row);
  return it && it->font().italic();
}
void QtEditList::SetItemData(int row, int32_t data) {
  if (QListWidgetItem* it = item(row)) it->setData(kDataRole, data);
}
int32_t QtEditList::ItemData(int row) const {
  QListWidgetItem* it = item(row);
  return it ? it->data(kDataRole).toInt() : 0;
}
void QtEditList::SetList(int row, const std::string& text) {
  QListWidgetItem* it = item(row);
  if (!it) return;
  const QString t = QString::fromStdString(text);
  it->setText(QString(t).replace(QLatin1Char('\t'), QLatin1String("    ")));
  it->setData(kTextRole, t.isEmpty() ? t : QLatin1Char('\t') + t);
}
void QtEditList::SetSelected(int row, bool on) {
  if (QListWidgetItem* it = item(row)) it->setSelected(on);
}
bool QtEditList::Selected(int row) const {
  QListWidgetItem* it = item(row);
  return it && it->isSelected();
}
int QtEditList::SelCount() const { return int(selectedItems().size()); }
int QtEditList::TopIndex() const {
  const QModelIndex i = indexAt(QPoint(1, 1));
  return i.isValid() ? i.row() : (count() > 0 ? 0 : -1);
}
void QtEditList::SetTopIndex(int row) {
  if (QListWidgetItem* it = item(row)) scrollToItem(it, QAbstractItemView::PositionAtTop);
}
double QtEditList::FontSize() const { return font().pointSizeF(); }
void QtEditList::SetFontSize(double points) {
  if (points <= 0) return;
  QFont f = font();
  f.setPointSizeF(points);
  setFont(f);
}
int QtEditList::ItemFromPoint(int x, int y) const {
  const QModelIndex i = indexAt(QPoint(x, y));
  return i.isValid() ? i.row() : -1;
}

void QtEditList::Clear() {
  clear();
  newIndex_ = -1;
}

void QtEditList::AddItem(const std::string& text, const tivolen::PicturePtr& picture) {
  QString t = QString::fromStdString(text);
  // Kept as the control keeps it: the picture column first.
  auto* it = new QListWidgetItem(QString(t).replace(QLatin1Char('\t'), QLatin1String("    ")));
  it->setData(kTextRole, t.isEmpty() ? t : QLatin1Char('\t') + t);
  if (picture) {
    it->setData(kPictureRole, QVariant::fromValue(picture));
    it->setIcon(Icon(picture));
  }
  addItem(it);
  newIndex_ = count() - 1;
}

int QtEditList::ListCount() const { return count(); }

std::string QtEditList::ItemText(int row) const {
  QListWidgetItem* it = item(row);
  return it ? it->data(kTextRole).toString().toStdString() : std::string();
}

void QtEditList::SetNoRedraw(bool on) { setUpdatesEnabled(!on); }

bool QtEditList::SetListPicture(int row, const tivolen::PicturePtr& picture) {
  QListWidgetItem* it = item(row);
  if (!it) return false;
  it->setData(kPictureRole, QVariant::fromValue(picture));
  it->setIcon(Icon(picture));
  return true;
}

tivolen::PicturePtr QtEditList::ListPicture(int row) const {
  QListWidgetItem* it = item(row);
  return it ? it->data(kPictureRole).value<tivolen::PicturePtr>() : nullptr;
}

void QtEditList::mousePressEvent(QMouseEvent* e) {
  QListWidget::mousePressEvent(e);
  const QPoint p = e->position().toPoint();
  if (events_.MouseDown) events_.MouseDown(tivolen::ButtonMask(e->button()), tivolen::ShiftMask(e->modifiers()), p.x(), p.y());
}

void QtEditList::mouseReleaseEvent(QMouseEvent* e) {
  QListWidget::mouseReleaseEvent(e);
  const QPoint p = e->position().toPoint();
  if (events_.MouseUp) events_.MouseUp(tivolen::ButtonMask(e->button()), tivolen::ShiftMask(e->modifiers()), p.x(), p.y());
  if (e->button() != Qt::LeftButton) return;
  const bool dbl = dblClickPending_;
  dblClickPending_ = false;
  if (dbl && events_.DblClick) events_.DblClick();
  else if (!dbl && events_.Click) events_.Click();
}

void QtEditList::mouseDoubleClickEvent(QMouseEvent* e) {
  QListWidget::mouseDoubleClickEvent(e);
  if (e->button() == Qt::LeftButton) dblClickPending_ = true;
}

void QtEditList::mouseMoveEvent(QMouseEvent* e) {
  QListWidget::mouseMoveEvent(e);
  const QPoint p = e->position().toPoint();
  if (events_.MouseMove) events_.MouseMove(tivolen::ButtonMask(e->buttons()), tivolen::ShiftMask(e->modifiers()), p.x(), p.y());
}

void QtEditList::keyPressEvent(QKeyEvent* e) {
  int16_t code = tivolen::VirtualKeyCode(e->key());
  if (events_.KeyDown) events_.KeyDown(code, tivolen::ShiftMask(e->modifiers()));
  const QString text = e->text();
  if (!text.isEmpty() && text[0].unicode() < 256 && events_.KeyPress) {
    int16_t ascii = int16_t(text[0].unicode());
    events_.KeyPress(ascii);
    if (ascii == 0) return;  // the handler swallowed it
  }
  if (code != 0 || tivolen::VirtualKeyCode(e->key()) == 0) QListWidget::keyPressEvent(e);
}

void QtEditList::keyReleaseEvent(QKeyEvent* e) {
  int16_t code = tivolen::VirtualKeyCode(e->key());
  if (events_.KeyUp) events_.KeyUp(code, tivolen::ShiftMask(e->modifiers()));
  QListWidget::keyReleaseEvent(e);
}
