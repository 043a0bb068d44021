// Filling the picture list box: 256 rows with a picture and three tab
// columns under NoRedraw, then one redraw; the same rows in a plain
// QListWidget are the floor. Last line: ratio: <control / QListWidget>.
#include <QApplication>
#include <QListWidget>
#include <QPainter>
#include <cstdio>

#include "listbox/tivolen_ctrl.h"
#include "listbox/variant_args.h"
#include "platform/clock/clock.h"

using namespace tivolen;

namespace {

constexpr int kRows = 256;
constexpr int kRounds = 40;

QImage Picture16(QColor c) {
  QImage img(16, 16, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter(&img).fillRect(3, 3, 10, 10, c);
  return img;
}

QString RowText(int i) { return QString("%1\tStep %2\tOperand %3").arg(i).arg(i * 7).arg(i * 13); }

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  auto& clock = talvero::TheClock();
  const QImage images[] = {Picture16(Qt::red), Picture16(Qt::darkGreen), Picture16(Qt::blue)};
  PicturePtr pictures[3];
  QIcon icons[3];
  for (int i = 0; i < 3; ++i) {
    pictures[i] = Picture::Bitmap(images[i]);
    icons[i] = QIcon(QPixmap::fromImage(images[i]));
  }

  TivolenCtrl ctrl;
  ctrl.ResetToDefaults();
  ctrl.CreateListWindow();
  ctrl.PutProperty(kDispNumTabs, ShortValue(4));
  ctrl.resize(400, 300);
  ctrl.show();
  QListWidget plain;
  plain.resize(400, 300);
  plain.show();
  app.processEvents();

  int64_t controlMs = 0, plainMs = 0;
  for (int round = 0; round < kRounds; ++round) {
    int64_t t0 = clock.NowMs();
    ctrl.Invoke(kDispClear);
    ctrl.PutProperty(kDispNoRedraw, ShortValue(-1));
    for (int i = 0; i < kRows; ++i)
      ctrl.Invoke(kDispAddItem, {RowText(i), QVariant::fromValue(pictures[i % 3])});
    ctrl.PutProperty(kDispNoRedraw, ShortValue(0));  // repaints at once
    controlMs += clock.NowMs() - t0;

    t0 = clock.NowMs();
    plain.clear();
    plain.setUpdatesEnabled(false);
    for (int i = 0; i < kRows; ++i) plain.addItem(new QListWidgetItem(icons[i % 3], RowText(i)));
    plain.setUpdatesEnabled(true);
    plain.viewport()->repaint();
    plainMs += clock.NowMs() - t0;
  }
  if (ctrl.GetProperty(kDispListCount).value.toInt() != kRows || plain.count() != kRows) {
    std::fprintf(stderr, "row counts differ\n");
    return 1;
  }
  std::printf("rows: %d, rounds: %d\n", kRows, kRounds);
  std::printf("picture list box: %.3f ms per fill\n", double(controlMs) / kRounds);
  std::printf("QListWidget:      %.3f ms per fill\n", double(plainMs) / kRounds);
  std::printf("ratio: %.2f\n", plainMs > 0 ? double(controlMs) / double(plainMs) : 0.0);
  return 0;
}
