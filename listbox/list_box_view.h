#pragma once
// The list box window: owner-drawn items of variable height, one string,
// data word, height and selection state each, three selection modes.
#include <QAbstractScrollArea>
#include <QString>
#include <cstdint>
#include <vector>

namespace tivolen {

// Draw-request flags, as an owner-drawn list box passes them.
enum DrawState : int { kOdsSelected = 0x1, kOdsDisabled = 0x4, kOdsFocus = 0x10 };
enum DrawAction : int { kOdaDrawEntire = 0x1, kOdaSelect = 0x2, kOdaFocus = 0x4 };

class ListBoxOwner {
 public:
  virtual ~ListBoxOwner() = default;
  // Height for a newly inserted item; a negative answer keeps the default.
  virtual int MeasureItem(int index) = 0;
  virtual void DrawItem(QPainter& p, int index, const QRect& rect, int state, int action) = 0;
  virtual QColor ListBackground() const = 0;
  virtual void ListScrolled() = 0;
  virtual void ListMouse(QEvent* event) = 0;
  // False swallows the key (a handler set its code to 0).
  virtual bool ListKey(QEvent* event) = 0;
};

class ListBoxView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  enum class Mode { Single, Multiple, Extended };
  static constexpr int kErr = -1, kErrSpace = -2;

  ListBoxView(ListBoxOwner* owner, Mode mode, QWidget* parent);

  Mode SelectionMode() const { return mode_; }
  int Count() const { return int(rows_.size()); }
  // Index inserted at, or kErr / kErrSpace.
  int InsertString(int index, const QString& text);
  bool DeleteString(int index);
  void ResetContent();
  QString Text(int index) const { return rows_[index].text; }

  int32_t ItemData(int index) const { return rows_[index].data; }
  void SetItemData(int index, int32_t data) { rows_[index].data = data; }
  int ItemHeight(int index) const { return rows_[index].height; }
  void SetItemHeight(int index, int height);

  bool Sel(int index) const { return index >= 0 && index < Count() && rows_[index].selected; }
  // Multiple modes only.
  void SetSel(int index, bool selected);
  // Single mode: the current item, -1 for none.
  int CurSel() const;
  void SetCurSel(int index);
  int Caret() const { return caret_; }
  int SelCount() const;

  int TopIndex() const { return top_; }
  void SetTopIndex(int index);
  void SetHorizontalExtent(int extent);
  int HorizontalExtent() const { return extent_; }
  void SetRedraw(bool on);
  bool Redraw() const { return redraw_; }
  // The most items the list box takes; insertions beyond it are refused.
  void SetItemLimit(int limit) { limit_ = limit; }

  // Index of the item at a viewport point, -1 below the last or on none.
  int IndexAt(QPoint viewportPoint) const;
  QRect ItemRect(int index) const;
  void Invalidate();

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void mouseDoubleClickEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void keyPressEvent(QKeyEvent*) override;
  void keyReleaseEvent(QKeyEvent*) override;
  void wheelEvent(QWheelEvent*) override;
  void scrollContentsBy(int dx, int dy) override;
  void focusInEvent(QFocusEvent*) override;
  void focusOutEvent(QFocusEvent*) override;

 private:
  struct Row {
    QString text;
    int32_t data = 0;
    int height = 16;
    bool selected = false;
  };
  void UpdateScrollBars();
  void MoveCaret(int index, Qt::KeyboardModifiers mods);
  void ClickAt(int index, Qt::KeyboardModifiers mods);
  void SelectRange(int from, int to);
  int MaxTop() const;
  void EnsureVisible(int index);

  ListBoxOwner* owner_;
  Mode mode_;
  std::vector<Row> rows_;
  int caret_ = -1, anchor_ = -1, top_ = 0, extent_ = 0;
  bool redraw_ = true, dirty_ = false;
  int limit_ = 32767;
  bool syncingScroll_ = false;
};

}  // namespace tivolen
