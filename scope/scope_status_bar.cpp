#include "scope/scope_status_bar.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>

namespace scope {

ScopeStatusBar::ScopeStatusBar(QWidget* parent) : QWidget(parent) {
  setObjectName("SB");
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(2, 2, 2, 2);
  row->setSpacing(2);
  // The read-out panels share what the three capture panels leave.
  const int stretch[6] = {2, 3, 3, 0, 0, 0};
  for (int i = 0; i < 6; ++i) {
    auto* l = new QLabel(this);
    l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    l->setAlignment(i < 3 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
    if (i >= 3) l->setMinimumWidth(l->fontMetrics().horizontalAdvance("Triggered") + 16);
    l->setObjectName(QString("SB%1").arg(i + 1));
    l->installEventFilter(this);
    row->addWidget(l, stretch[i]);
    panels_[i] = l;
  }
  setFixedHeight(fontMetrics().height() + 10);
}

QString ScopeStatusBar::Text(int panel) const { return panels_[panel - 1]->text(); }

void ScopeStatusBar::SetText(int panel, const QString& text) {
  if (panels_[panel - 1]->text() != text) panels_[panel - 1]->setText(text);
}

void ScopeStatusBar::SetPanelEnabled(int panel, bool on) { panels_[panel - 1]->setEnabled(on); }

bool ScopeStatusBar::PanelEnabled(int panel) const { return panels_[panel - 1]->isEnabled(); }

bool ScopeStatusBar::eventFilter(QObject* o, QEvent* e) {
  if (e->type() == QEvent::MouseButtonPress) {
    for (int i = 0; i < 6; ++i)
      if (o == panels_[i]) {
        if (panels_[i]->isEnabled()) emit PanelClick(i + 1);
        return true;
      }
  }
  return QWidget::eventFilter(o, e);
}

}  // namespace scope
