#pragma once
// The control's own help: one topic read from its help file (the program's
// text format: "[context] title", "keywords:" lines, then the text) and the
// window that shows it.
#include <QDialog>
#include <QString>
#include <optional>

class QLabel;
class QTextBrowser;

namespace tivolen {

struct HelpTopicText {
  QString title;
  QString text;
};

struct HelpLookup {
  std::optional<HelpTopicText> topic;
  QString error;  // why there is none: for the user
};

HelpLookup ReadHelpTopic(const QString& helpFile, int context);

class HelpWindow : public QDialog {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent);
  void Show(const HelpTopicText& topic);
  QString TopicTitle() const;
  QString TopicText() const;

 private:
  QLabel* title_;
  QTextBrowser* text_;
};

}  // namespace tivolen
