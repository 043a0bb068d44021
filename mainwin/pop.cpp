#include "mainwin/pop.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "mainwin/splash.h"
#include "platform/clock/clock.h"
#include "platform/ui/qt/plain_text.h"

bool IsControlC(QKeyEvent* e) {
  return (e->key() == Qt::Key_C && (e->modifiers() & Qt::ControlModifier)) ||
         e->text() == QString(QChar(3));
}

POP::POP(QWidget* mainWindow, Splash* splash)
    : QDialog(mainWindow, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint),
      main_(mainWindow), splash_(splash) {
  setObjectName("POP");
  setWindowTitle("Talvero");
  setModal(false);
  QFont arial("Arial");
  PS1 = new QLabel(this);
  PS1->setObjectName("PS1");
  PS2 = new QLabel(this);
  PS2->setObjectName("PS2");
  for (QLabel* l : {PS1, PS2}) {
    l->setFont(arial);
    l->setAlignment(Qt::AlignCenter);
    l->setTextFormat(Qt::PlainText);
  }
  Stop = new QPushButton("Stop", this);
  Stop->setObjectName("Stop");
  Stop->setToolTip("Ends the search (Control-C)");
  connect(Stop, &QPushButton::clicked, this, [this]() { clicked_ = true; });
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(PS1);
  lay->addWidget(PS2);
  lay->addWidget(Stop, 0, Qt::AlignCenter);
  setMinimumWidth(300);
}

void POP::StatOn(const std::string& caption) {
  if (!popupMode_) {
    caption_ = caption;
    return;
  }
  if (main_) main_->setEnabled(false);
  talvero::SetPlainText(PS1, "\n" + caption);
  talvero::SetPlainText(PS2, "");
  clicked_ = false;
  talvero::TheClock().ProcessEvents();
  show();
  raise();
  activateWindow();
  // The dialog is a child of the disabled main window; it must take keys.
  setEnabled(true);
}

void POP::Stat(const std::string& text) {
  if (!popupMode_) {
    if (splash_) talvero::SetPlainText(splash_->KOV, caption_ + text + "\n(Control-C ends search)");
  } else if (!clicked_) {
    talvero::SetPlainText(PS2, text);
  }
  talvero::TheClock().ProcessEvents();
}

void POP::StatOff() {
  if (!popupMode_) {
    popupMode_ = true;
    return;
  }
  if (main_) main_->setEnabled(true);
  hide();
  talvero::TheClock().ProcessEvents();
}

void POP::SetClicked() {
  if (splash_) talvero::SetPlainText(splash_->KOV, "Ending search...");
  talvero::TheClock().ProcessEvents();
  clicked_ = true;
}

void POP::POP_Form_KeyPress(int keyAscii) {
  if (keyAscii == 3) clicked_ = true;
}

void POP::keyPressEvent(QKeyEvent* e) {
  if (IsControlC(e)) {
    POP_Form_KeyPress(3);
    return;
  }
  QDialog::keyPressEvent(e);
}

void POP::reject() { clicked_ = true; }
