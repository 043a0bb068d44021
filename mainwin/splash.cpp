#include "mainwin/splash.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QVBoxLayout>

#include "mainwin/pop.h"
#include "mainwin/version.h"
#include "platform/ui/qt/plain_text.h"

Splash::Splash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName("Splash");
  setFixedSize(480, 280);
  auto* title = new QLabel("Talvero", this);
  QFont tf = title->font();
  tf.setPointSize(30);
  tf.setBold(true);
  title->setFont(tf);
  auto* sub = new QLabel("Drive set-up, programming and tuning", this);
  Info = new QLabel(this);
  Info->setObjectName("Info");
  talvero::SetPlainText(Info, mainwin::VersionText());  // Splash_Form_Load
  KOV = new QLabel(this);
  KOV->setObjectName("KOV");
  KOV->setWordWrap(true);
  talvero::SetPlainText(KOV, "Motion control engineering tools");
  for (QLabel* l : {title, sub, Info, KOV}) l->setStyleSheet("color: white;");
  auto* lay = new QVBoxLayout(this);
  lay->setContentsMargins(28, 28, 28, 22);
  lay->addWidget(title);
  lay->addWidget(sub);
  lay->addStretch(1);
  lay->addWidget(KOV);
  lay->addWidget(Info);
  setFocusPolicy(Qt::StrongFocus);
}

void Splash::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QLinearGradient g(0, 0, width(), height());
  g.setColorAt(0, QColor(20, 60, 110));
  g.setColorAt(1, QColor(40, 120, 170));
  p.fillRect(rect(), g);
}

void Splash::keyPressEvent(QKeyEvent* e) {
  if (IsControlC(e)) {
    if (OnControlC) OnControlC();
    return;
  }
  QWidget::keyPressEvent(e);
}
