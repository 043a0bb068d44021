#pragma once
// The start-up window with the version text; during the first search it
// also shows the search's progress.
#include <QWidget>

class QLabel;

class Splash : public QWidget {
  Q_OBJECT
 public:
  explicit Splash(QWidget* parent = nullptr);
  QLabel* Info;  // the version text
  QLabel* KOV;   // the publisher's line, then the search progress
  // Ctrl-C on the splash screen: stop the start-up search.
  std::function<void()> OnControlC;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
};
