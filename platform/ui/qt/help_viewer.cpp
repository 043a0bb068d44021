#include "platform/ui/qt/help_viewer.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <map>

#include "platform/ui/qt/plain_text.h"

namespace talvero {

HelpViewer::HelpViewer(QWidget* parent, HelpWindow kind) : QDialog(parent) {
  setObjectName(kind == HelpWindow::Main ? "HelpMain" : kind == HelpWindow::Step ? "HelpStep" : "HelpPopup");
  setModal(false);
  title_ = new QLabel(this);
  title_->setTextFormat(Qt::PlainText);
  QFont f = title_->font();
  f.setBold(true);
  f.setPointSize(f.pointSize() + 2);
  title_->setFont(f);
  text_ = new QTextBrowser(this);
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::hide);
  auto* lay = new QVBoxLayout(this);
  lay->addWidget(title_);
  lay->addWidget(text_, 1);
  lay->addWidget(close);
  resize(kind == HelpWindow::Popup ? QSize(380, 220) : QSize(560, 440));
}

void HelpViewer::ShowTopic(const HelpTopic& topic) {
  setWindowTitle(ToQ(HelpWindowTitle(topic)));
  title_->setText(ToQ(topic.title));
  text_->setPlainText(ToQ(topic.text));
  show();
  raise();
  activateWindow();
}

QString HelpViewer::TopicTitle() const { return title_->text(); }
QString HelpViewer::TopicText() const { return text_->toPlainText(); }

void InstallQtHelpDisplay(HelpService& help, QWidget* parent) {
  auto viewers = std::make_shared<std::map<HelpWindow, QPointer<HelpViewer>>>();
  QPointer<QWidget> owner(parent);
  help.SetDisplay([viewers, owner](const HelpTopic& topic, HelpWindow window) {
    QPointer<HelpViewer>& v = (*viewers)[window];
    if (!v) v = new HelpViewer(owner, window);
    v->ShowTopic(topic);
  });
}

}  // namespace talvero
