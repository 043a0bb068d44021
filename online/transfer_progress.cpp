#include "online/transfer_progress.h"

#include <QEvent>
#include <QProgressBar>
#include <QShortcut>
#include <QToolButton>

#include "mainwin/main_win.h"
#include "online/model/nv_transfer.h"

namespace online {

Hourglass::Hourglass(MainWin& w) : w_(w) { w_.MousePointer(11); }

void Hourglass::Release() {
  if (!on_) return;
  on_ = false;
  w_.MousePointer(0);
}

TransferProgress::TransferProgress(MainWin& w) : w_(w) {
  QProgressBar* bar = w_.Prog;
  button_ = new QToolButton(bar->parentWidget());
  button_->setObjectName("NvStop");
  button_->setText("Stop");
  button_->setToolTip("Stops the transfer (Esc)");
  button_->setAutoRaise(false);
  connect(button_, &QToolButton::clicked, this, [this]() { stop_ = true; });
  // Escape stops at once, where the button's own shortcut would wait for its click animation.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), button_);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, [this]() { stop_ = true; });
  full_ = bar->geometry();
  Place();
  button_->show();
  bar->setFormat(QString::fromStdString(NvBlockCaption(0)));
  bar->setTextVisible(true);
  bar->installEventFilter(this);
}

TransferProgress::~TransferProgress() {
  QProgressBar* bar = w_.Prog;
  bar->removeEventFilter(this);
  Reset();
  bar->setGeometry(full_);
  delete button_;
}

void TransferProgress::BlockDone(int blocksDone, int address) {
  w_.Prog->setValue(NvProgress(address));
  w_.Prog->setFormat(QString::fromStdString(NvBlockCaption(blocksDone)));
}

void TransferProgress::Reset() {
  w_.Prog->setValue(0);
  w_.Prog->setTextVisible(false);
  w_.Prog->setFormat("%p%");
}

void TransferProgress::Place() {
  if (!button_) return;
  const int gap = 4;
  const int width = button_->fontMetrics().horizontalAdvance("Stop") + 16;
  applied_ = QRect(full_.x(), full_.y(), std::max(0, full_.width() - width - gap), full_.height());
  w_.Prog->setGeometry(applied_);
  // A little taller than the thin bar, so its caption reads; it grows upwards,
  // into the gap above the bar.
  const int height = std::max(full_.height(), button_->fontMetrics().height() + 4);
  button_->setGeometry(full_.right() + 1 - width, full_.bottom() + 1 - height, width, height);
}

bool TransferProgress::eventFilter(QObject* watched, QEvent* e) {
  if (watched == w_.Prog && (e->type() == QEvent::Move || e->type() == QEvent::Resize) &&
      w_.Prog->geometry() != applied_) {
    full_ = w_.Prog->geometry();
    Place();
  }
  return QObject::eventFilter(watched, e);
}

}  // namespace online
