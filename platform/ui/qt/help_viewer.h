#pragma once
// Help topics shown in windows of their own: the main help window, the
// "step" window and a small pop-up, each reused for the next topic.
#include <QDialog>

#include "platform/help/help_service.h"

class QLabel;
class QTextBrowser;

namespace talvero {

class HelpViewer : public QDialog {
  Q_OBJECT
 public:
  HelpViewer(QWidget* parent, HelpWindow kind);
  void ShowTopic(const HelpTopic& topic);
  QString TopicTitle() const;
  QString TopicText() const;

 private:
  QLabel* title_;
  QTextBrowser* text_;
};

// Points the service at Qt windows parented to parent.
void InstallQtHelpDisplay(HelpService& help, QWidget* parent);

}  // namespace talvero
