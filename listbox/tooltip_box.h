#pragma once
// The control's own hover tooltip: a framed yellow box below right of the cursor.
#include <QWidget>

namespace tivolen {

class TooltipBox : public QWidget {
  Q_OBJECT
 public:
  TooltipBox();
  void SetText(const QString& text);
  const QString& Text() const { return text_; }
  QSize BoxSize() const;
  // Where the box goes for a cursor position, kept on a screen of that size.
  static QRect Place(QPoint cursor, QSize box, QSize screen);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QString text_;
};

}  // namespace tivolen
