// A small host of the picture list box: loads libtivole32 beside itself the
// way the program does, fills two controls and rolls one up. Control >
// Properties... opens the property sheet of the control last clicked.
// tivole32_demo [--shot file.png] [--sheet-shots prefix]: with --shot, saves
// a grab and exits; with --sheet-shots, grabs the screen with each page of
// the first control's sheet in front as prefix-1.png to prefix-4.png.
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <dlfcn.h>

#include "listbox/tivolen_interface.h"

using namespace tivolen;

namespace {

QVariant S(int v) { return QVariant::fromValue<short>(short(v)); }
QVariant F(double v) { return QVariant::fromValue<float>(float(v)); }

// 16 x 16 pictures on white, the transparent colour.
PicturePtr MakePicture(int kind) {
  QImage img(16, 16, QImage::Format_RGB32);
  img.fill(Qt::white);
  QPainter p(&img);
  switch (kind) {
    case 0:
      p.setBrush(QColor(0, 160, 0));
      p.setPen(Qt::NoPen);
      p.drawEllipse(2, 2, 12, 12);
      break;
    case 1:
      p.fillRect(2, 2, 12, 12, QColor(200, 0, 0));
      p.fillRect(5, 5, 6, 6, Qt::white);
      break;
    default: {
      p.setBrush(QColor(0, 0, 200));
      p.setPen(Qt::NoPen);
      const QPoint arrow[] = {{3, 2}, {13, 8}, {3, 14}};
      p.drawPolygon(arrow, 3);
    }
  }
  return Picture::Bitmap(img);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QString shot, sheetShots;
  for (int i = 1; i + 1 < argc; ++i) {
    if (QString(argv[i]) == "--shot") shot = argv[i + 1];
    if (QString(argv[i]) == "--sheet-shots") sheetShots = argv[i + 1];
  }

  const QString lib = QCoreApplication::applicationDirPath() + "/libtivole32.so";
  void* handle = dlopen(lib.toLocal8Bit().constData(), RTLD_NOW);
  if (!handle) {
    std::fprintf(stderr, "cannot load %s: %s\n", qPrintable(lib), dlerror());
    return 1;
  }
  auto getClass = reinterpret_cast<TivolenDllGetClassObject>(dlsym(handle, "DllGetClassObject"));
  void* raw = nullptr;
  if (!getClass || getClass(kCtrlProgId, &raw) != kSOk) return 1;
  auto* factory = static_cast<ITivolenFactory*>(raw);

  QMainWindow frame;
  frame.setWindowTitle("Picture list box");
  auto* central = new QWidget;
  QWidget& window = *central;
  frame.setCentralWidget(central);
  frame.resize(640, 360 + frame.menuBar()->sizeHint().height());
  window.setAutoFillBackground(true);
  QPalette pal = window.palette();
  pal.setColor(QPalette::Window, QColor(0, 128, 128));
  window.setPalette(pal);

  ITivolen* steps = factory->CreateInstance(&window, nullptr);
  steps->Widget()->setGeometry(10, 10, 400, 300);
  steps->PutProperty(kDispCaption, QString("Program steps"));
  steps->PutProperty(kDispNumTabs, S(4));
  steps->PutProperty(kDispNoRedraw, S(-1));
  steps->PutProperty(kDispTabWidth, F(20 * 15), {S(0)});
  steps->PutProperty(kDispTabWidth, F(40 * 15), {S(1)});
  steps->PutProperty(kDispTabWidth, F(150 * 15), {S(2)});
  const char* rows[][3] = {{"0", "Set speed", "VEL = 200"}, {"1", "Move absolute", "POS = 1000"},
                           {"2", "Wait", "200 ms"},       {"3", "Output on", "O3"},
                           {"4", "Jump if", "I2 = 1 -> 0"}, {"5", "End", ""}};
  int n = 0;
  for (const auto& r : rows) {
    steps->Invoke(kDispAddItem, {QString("%1\t%2\t%3").arg(r[0], r[1], r[2]), QVariant::fromValue(MakePicture(n % 3))});
    ++n;
  }
  QFont bold = steps->GetProperty(kDispFont).value.value<QFont>();
  bold.setBold(true);
  steps->PutProperty(kDispListFont, bold, {S(4)});
  steps->PutProperty(kDispListIndex, S(1));
  steps->PutProperty(kDispNoRedraw, S(0));

  ITivolen* events = factory->CreateInstance(&window, nullptr);
  events->Widget()->setGeometry(420, 10, 210, 160);
  events->PutProperty(kDispCaption, QString("Events"));
  for (int i = 0; i < 4; ++i) events->Invoke(kDispAddItem, {QString("Event %1").arg(i)});
  events->PutProperty(kDispRollUp, S(-1));

  ITivolen* io = factory->CreateInstance(&window, nullptr);
  io->Widget()->setGeometry(420, 40, 210, 150);
  io->PutProperty(kDispCaption, QString("Inputs"));
  io->PutProperty(kDispNumTabs, S(2));
  io->PutProperty(kDispTBarHeight, F(22 * 15));
  for (int i = 1; i <= 6; ++i)
    io->Invoke(kDispAddItem, {QString("Input %1 - enable").arg(i), QVariant::fromValue(MakePicture(i % 2))});
  io->PutProperty(kDispListIndex, S(2));

  // The control whose sheet Properties... opens: the one last clicked.
  ITivolen* current = steps;
  QObject::connect(&app, &QApplication::focusChanged, [&](QWidget*, QWidget* now) {
    for (ITivolen* c : {steps, events, io})
      if (now && (now == c->Widget() || c->Widget()->isAncestorOf(now))) current = c;
  });
  QMenu* menu = frame.menuBar()->addMenu("&Control");
  QAction* properties = menu->addAction("&Properties...");
  QObject::connect(properties, &QAction::triggered, [&] { current->ShowPropertySheet(&frame); });
  menu->addSeparator();
  QObject::connect(menu->addAction("E&xit"), &QAction::triggered, &app, &QApplication::quit);

  frame.show();
  if (!sheetShots.isEmpty()) {
    QTimer::singleShot(100, [&] {
      QTimer::singleShot(200, [&] {
        auto* tabs = QApplication::activeModalWidget()->findChild<QTabWidget*>();
        for (int i = 0; i < tabs->count(); ++i) {
          tabs->setCurrentIndex(i);
          for (int k = 0; k < 5; ++k) QApplication::processEvents();
          QGuiApplication::primaryScreen()->grabWindow(0).save(QString("%1-%2.png").arg(sheetShots).arg(i + 1));
        }
        QApplication::activeModalWidget()->close();
        app.quit();
      });
      properties->trigger();
    });
  }
  if (!shot.isEmpty()) {
    QTimer::singleShot(50, [&] {
      window.grab().save(shot);
      steps->Widget()->grab().save(QString(shot).replace(".png", "_steps.png"));
      app.quit();
    });
  }
  return app.exec();
}
