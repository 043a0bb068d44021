#include "mainwin/qhelp.h"

#include <QCursor>
#include <QLabel>
#include <QTimer>

#include "platform/clock/clock.h"
#include "platform/ui/qt/plain_text.h"
#include "platform/ui/qt/window_place.h"

namespace {
constexpr int kBorderPx = 1;  // 16 twips at the usual screen resolution
}

QHelp::QHelp(std::function<bool()> tipsOn, QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      tipsOn_(std::move(tipsOn)) {
  setObjectName("QHelp");
  setAttribute(Qt::WA_ShowWithoutActivating);
  setStyleSheet("QHelp { background: #ffffe1; border: 1px solid #808080; }");
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(255, 255, 225));
  setPalette(pal);
  Helptxt = new QLabel(this);
  Helptxt->setObjectName("Helptxt");
  Helptxt->setTextFormat(Qt::PlainText);
  Helptxt->move(kBorderPx, kBorderPx);
  TTtimer = new QTimer(this);
  TTtimer->setObjectName("TTtimer");
  TTtimer->setInterval(500);
  connect(TTtimer, &QTimer::timeout, this, &QHelp::TTtimer_Timer);
  TTtimer->start();
  CursorPos = []() { return QCursor::pos(); };
}

void QHelp::HideTip() {
  if (isVisible()) hide();
  talvero::TheClock().ProcessEvents();
  skip_ = true;
  TTtimer->stop();
}

void QHelp::TT(const std::string& text) {
  if (text.empty()) {
    HideTip();
    return;
  }
  if (tipsOn_ && !tipsOn_()) return;
  if (skip_) {
    skip_ = false;
    return;
  }
  countdown_ = 6;
  TTtimer->start();
  QString tip = talvero::ToQ(" " + text + " ");
  bool changed = Helptxt->text() != tip;
  if (changed) {
    Helptxt->setText(tip);
    Helptxt->adjustSize();
  }
  resize(Helptxt->width() + 2 * kBorderPx, Helptxt->height() + 2 * kBorderPx);
  if (!isVisible() || changed) {
    QPoint c = CursorPos();
    talvero::PlaceWindow(*this, QPoint(c.x() - 4 - width(), c.y() + 4));
  }
  if (!isVisible()) show();
}

void QHelp::TTtimer_Timer() {
  if (countdown_ <= 0) return;
  if (--countdown_ == 0) HideTip();
}
