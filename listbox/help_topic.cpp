#include "listbox/help_topic.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QRegularExpression>
#include <QStringList>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace tivolen {

HelpLookup ReadHelpTopic(const QString& helpFile, int context) {
  const QString what = QString("Help topic %1 cannot be shown: ").arg(context);
  QFile f(helpFile);
  if (!f.open(QIODevice::ReadOnly)) return {std::nullopt, what + "the help file " + helpFile + " is not installed."};
  const QStringList lines = QString::fromUtf8(f.readAll()).split('\n');
  static const QRegularExpression header(R"(^\[(\d{1,9})\]\s*(.*?)\s*$)");
  std::optional<HelpTopicText> found;
  QStringList body;
  bool heading = false;
  for (QString line : lines) {
    if (line.endsWith('\r')) line.chop(1);
    const QRegularExpressionMatch m = header.match(line);
    if (m.hasMatch()) {
      if (found) break;
      if (m.captured(1).toInt() != context) continue;
      found = HelpTopicText{m.captured(2).isEmpty() ? QString("Topic %1").arg(context) : m.captured(2), {}};
      heading = true;
      continue;
    }
    if (!found) continue;
    if (heading && line.startsWith("keywords:", Qt::CaseInsensitive)) continue;
    heading = false;
    body << (line.startsWith('\\') ? line.mid(1) : line);
  }
  if (!found) return {std::nullopt, what + "it is not in the help file " + helpFile + "."};
  while (!body.isEmpty() && body.back().trimmed().isEmpty()) body.removeLast();
  while (!body.isEmpty() && body.front().trimmed().isEmpty()) body.removeFirst();
  found->text = body.join('\n');
  return {found, {}};
}

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("TivolenHelp");
  setModal(false);
  title_ = new QLabel(this);
  title_->setTextFormat(Qt::PlainText);
  QFont f = title_->font();
  f.setBold(true);
  f.setPointSizeF(f.pointSizeF() + 2);
  title_->setFont(f);
  text_ = new QTextBrowser(this);
  // Fixed pitch and no wrapping keep the field descriptions lined up.
  text_->setFont(QFont("Courier New"));
  text_->setLineWrapMode(QTextEdit::NoWrap);
  auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(close, &QDialogButtonBox::rejected, this, &QDialog::hide);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(title_);
  layout->addWidget(text_, 1);
  layout->addWidget(close);
  resize(QFontMetrics(text_->font()).horizontalAdvance(QString(80, 'x')) + 60, 640);
}

void HelpWindow::Show(const HelpTopicText& topic) {
  setWindowTitle("Tivolen Help - " + topic.title);
  title_->setText(topic.title);
  text_->setPlainText(topic.text);
  show();
  raise();
  activateWindow();
}

QString HelpWindow::TopicTitle() const { return title_->text(); }
QString HelpWindow::TopicText() const { return text_->toPlainText(); }

}  // namespace tivolen
