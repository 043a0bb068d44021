#pragma once
// The scope's status bar `SB`: six text panels, 1-based; a click on an
// enabled panel is reported by its number.
#include <QString>
#include <QWidget>
#include <array>

class QLabel;

namespace scope {

class ScopeStatusBar : public QWidget {
  Q_OBJECT
 public:
  explicit ScopeStatusBar(QWidget* parent = nullptr);
  QString Text(int panel) const;
  // Written only when it differs.
  void SetText(int panel, const QString& text);
  void SetPanelEnabled(int panel, bool on);
  bool PanelEnabled(int panel) const;
  QLabel* Panel(int panel) const { return panels_[panel - 1]; }

 signals:
  void PanelClick(int panel);

 protected:
  bool eventFilter(QObject* o, QEvent* e) override;

 private:
  std::array<QLabel*, 6> panels_{};
};

}  // namespace scope
