#include "mainwin/stat_strip.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <cstdlib>

Lamp::Lamp(bool round, QWidget* parent) : QWidget(parent), round_(round) {
  setMinimumSize(14, 14);
}

void Lamp::SetColour(const QColor& c) {
  colour_ = c;
  update();
}

void Lamp::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(colour_.darker(160));
  p.setBrush(colour_);
  if (round_) {
    int d = qMin(width(), height()) - 2;
    p.drawEllipse(QRectF((width() - d) / 2.0, (height() - d) / 2.0, d, d));
  } else {
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

namespace {

template <typename W>
W* Named(W* w, const char* name) {
  w->setObjectName(name);
  return w;
}

}  // namespace

StatStrip::StatStrip(QWidget* parent) : QTabWidget(parent) {
  setObjectName("StatStrip");
  // Every control is placed by the window's layout rule; these are the
  // design places it starts from and the sizes it keeps.

  auto* general = Named(new QWidget, "General");
  GS_stat = Named(new QLabel(general), "GS_stat");
  GS_stat->setTextFormat(Qt::PlainText);
  GS_stat->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  GS_stat->setWordWrap(true);
  GS_stat->setFrameShape(QFrame::StyledPanel);
  GS_stat->setAutoFillBackground(true);
  GS_stat->setBackgroundRole(QPalette::Base);
  GS_stat->setMargin(6);
  DriveReset = Named(new QPushButton("Reset Drive", general), "DriveReset");
  DriveReset->resize(DriveReset->sizeHint().expandedTo(QSize(100, 0)));
  addTab(general, "General");

  auto* faults = Named(new QWidget, "Faults");
  FaultList = Named(new QListWidget(faults), "FaultList");
  addTab(faults, "Faults");

  auto* io = Named(new QWidget, "IO");
  LegendFrame = Named(new QGroupBox("Legend", io), "LegendFrame");
  const char* shapeNames[4] = {"isoff", "ison", "isforcedoff", "isforcedon"};
  const char* labelNames[4] = {"Label1", "Label2", "Label3", "Label4"};
  const char* captions[4] = {"I/O is off", "I/O is on", "I/O is forced off", "I/O is forced on"};
  // The legend is the lamps' palette: the panel paints each lamp with a swatch's colour.
  const QColor colours[4] = {QColor(0, 0, 0), QColor(255, 0, 0), QColor(128, 128, 128),
                             QColor(224, 224, 224)};
  Lamp* shapes[4];
  QLabel* labels[4];
  for (int k = 0; k < 4; ++k) {
    shapes[k] = Named(new Lamp(false, LegendFrame), shapeNames[k]);
    shapes[k]->SetColour(colours[k]);
  }
  // Each label stands to the right of its swatch.
  for (int k = 0; k < 4; ++k) {
    labels[k] = Named(new QLabel(captions[k], LegendFrame), labelNames[k]);
    labels[k]->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  isoff = shapes[0], ison = shapes[1], isforcedoff = shapes[2], isforcedon = shapes[3];
  Label1 = labels[0], Label2 = labels[1], Label3 = labels[2], Label4 = labels[3];

  InputsFrame = Named(new QGroupBox("Inputs", io), "InputsFrame");
  for (size_t i = 0; i < IN.size(); ++i) {
    IN[i] = new Lamp(true, InputsFrame);
    IN[i]->setObjectName(QString("IN_%1").arg(i));
  }
  OutputsFrame = Named(new QGroupBox("Outputs", io), "OutputsFrame");
  for (size_t i = 0; i < OUT.size(); ++i) {
    OUT[i] = new Lamp(true, OutputsFrame);
    OUT[i]->setObjectName(QString("OUT_%1").arg(i));
  }
  // The design places (twips): the layout rule moves them on every resize.
  const double tw = talvero::TwipsPerPixel(logicalDpiX());
  auto at = [tw](QWidget* w, double left, double top, double width, double height) {
    w->setGeometry(int(left / tw), int(top / tw), int(width / tw), int(height / tw));
  };
  at(LegendFrame, 1200, 960, 2835, 1515);
  at(InputsFrame, 1200, 2565, 2835, 855);
  at(OutputsFrame, 1200, 3465, 2835, 855);
  for (int k = 0; k < 4; ++k) {
    at(shapes[k], 900, 405 + 240 * k, 120, 120);
    at(labels[k], 1140, 360 + 240 * k, 1635, 195);
  }
  // Point 0 at the right, in groups of four.
  const int inLefts[9] = {2100, 1920, 1740, 1560, 1260, 1080, 900, 720, 420};
  const int outLefts[12] = {2460, 2280, 2100, 1920, 1620, 1440, 1260, 1080, 780, 600, 420, 240};
  for (size_t i = 0; i < IN.size(); ++i) at(IN[i], inLefts[i], 420, 120, 120);
  for (size_t i = 0; i < OUT.size(); ++i) at(OUT[i], outLefts[i], 420, 120, 120);
  addTab(io, "IO");

  auto* vars = Named(new QWidget, "Variables");
  UV_Select = Named(new QListWidget(vars), "UV_Select");
  AddUV = Named(new QPushButton("Add", vars), "AddUV");
  DeleteUV = Named(new QPushButton("Delete", vars), "DeleteUV");
  for (QPushButton* b : {AddUV, DeleteUV}) b->resize(b->sizeHint().expandedTo(QSize(80, 0)));
  Frame1 = Named(new QGroupBox("Present Value", vars), "Frame1");
  UV_PV = Named(new QLabel(Frame1), "UV_PV");
  UV_PV->setTextFormat(Qt::PlainText);
  Frame2 = Named(new QGroupBox("New Value", vars), "Frame2");
  UV_NV = Named(new QLineEdit(Frame2), "UV_NV");
  UV_Change = Named(new QPushButton("Change", Frame2), "UV_Change");
  UV_Change->resize(UV_Change->sizeHint().expandedTo(QSize(80, 0)));
  // Inside the two frames: under the frame's title, one row each.
  const int title = Frame1->fontMetrics().height() + 6;
  UV_PV->setGeometry(8, title, 100, UV_PV->sizeHint().height());
  Frame1->resize(200, title + UV_PV->height() + 8);
  UV_NV->setGeometry(8, title, 100, UV_NV->sizeHint().height());
  UV_Change->move(8, UV_NV->y() + UV_NV->height() + 4);
  Frame2->resize(200, UV_Change->y() + UV_Change->height() + 8);
  addTab(vars, "Variables");
  connect(this, &QTabWidget::currentChanged, this, [this](int) { emit TabChanged(); });
}

QWidget* StatStrip::Control(const std::string& name) const {
  auto indexed = [&](const char* prefix, auto& lamps) -> QWidget* {
    const std::string p = std::string(prefix) + "(";
    if (name.rfind(p, 0) != 0) return nullptr;
    const size_t i = size_t(std::atoi(name.c_str() + p.size()));
    return i < lamps.size() ? lamps[i] : nullptr;
  };
  if (QWidget* w = indexed("IN", IN)) return w;
  if (QWidget* w = indexed("OUT", OUT)) return w;
  if (name == objectName().toStdString()) return const_cast<StatStrip*>(this);
  return findChild<QWidget*>(QString::fromStdString(name));
}

talvero::LayoutDesign StatStrip::Design(double dpi) const {
  const double tw = talvero::TwipsPerPixel(dpi);
  talvero::LayoutDesign d;
  d.driveResetWidth = DriveReset->width() * tw;
  d.driveResetHeight = DriveReset->height() * tw;
  d.addUvHeight = AddUV->height() * tw;
  d.deleteUvWidth = DeleteUV->width() * tw;
  d.uvChangeWidth = UV_Change->width() * tw;
  d.frame1Height = Frame1->height() * tw;
  d.frame2Height = Frame2->height() * tw;
  return d;
}
