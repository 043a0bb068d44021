#pragma once
#include <QDialog>
#include <string>

class QLabel;

// The about box: the main window's title, the version text, the publisher.
class About : public QDialog {
  Q_OBJECT
 public:
  About(QWidget* parent, const std::string& mainTitle, const std::string& versionText);
  QLabel* AM;  // the publisher's block
  QLabel* SI;  // the version text
};
