#pragma once
// One trace of the scope: a chart drawn by one Render routine that the
// screen, the printer and the metafile writer all call. The right button
// zooms (drag a box, double-click to reset); the left and middle buttons,
// mouse moves and keys go to the window through signals.
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

#include "scope/model/chart_model.h"

namespace scope {

// The chart's colours by plot-colour index: 1 foreground, 2 background,
// 3 grid, 4 data, 5 marker. Values are 0x00BBGGRR.
enum ChartElement { kForeground = 1, kBackground = 2, kGrid = 3, kData = 4, kMarker = 5 };

class ScopeChart : public QWidget {
  Q_OBJECT
 public:
  explicit ScopeChart(QWidget* parent = nullptr);

  ChartModel& Model() { return model_; }
  const ChartModel& Model() const { return model_; }
  QString Title() const { return title_; }
  void SetTitle(const QString& title);
  uint32_t Colour(int element) const;
  void SetColour(int element, uint32_t colour);

  // While batched, changes wait for SetBatched(false), which redraws once.
  void SetBatched(bool on);
  void SetTrace(std::vector<double> x, std::vector<double> y, double seconds);
  void MoveMarker(double x);
  void Redraw();

  // Data at a widget pixel; nullopt outside the plot area.
  std::optional<DataPoint> PixelToData(QPoint p) const;
  // Draws the whole chart into the rectangle of any paint device.
  void Render(QPainter& p, const QRect& r) const;
  // Where the plot area lies within a chart drawn at r with those metrics.
  static QRect PlotArea(const QFontMetrics& fm, const QRect& r);

 signals:
  void KeyPressed(int key);
  void MouseDown(int button, QPoint pos);
  void MouseMoved(Qt::MouseButtons buttons, QPoint pos);

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  void UpdatePlotRect();
  ChartModel model_;
  QString title_;
  std::array<uint32_t, 6> colours_{};
  bool batched_ = false;
  std::optional<QPoint> dragFrom_;
  QPoint dragTo_;
};

// A key as the capture keys know it: 13 Enter, 27 Esc, 0 any other.
int CaptureKeyCode(int qtKey);

}  // namespace scope
