#include "mainwin/stat_strip.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

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

  auto* general = new QWidget;
  GS_stat = Named(new QLabel(general), "GS_stat");
  GS_stat->setTextFormat(Qt::PlainText);
  GS_stat->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  GS_stat->setWordWrap(true);
  GS_stat->setFrameShape(QFrame::StyledPanel);
  GS_stat->setAutoFillBackground(true);
  GS_stat->setBackgroundRole(QPalette::Base);
  DriveReset = Named(new QPushButton("Reset Drive", general), "DriveReset");
  auto* gl = new QVBoxLayout(general);
  gl->addWidget(GS_stat, 1);
  gl->addWidget(DriveReset, 0, Qt::AlignHCenter);
  addTab(general, "General");

  auto* faults = new QWidget;
  FaultList = Named(new QListWidget(faults), "FaultList");
  (new QVBoxLayout(faults))->addWidget(FaultList);
  addTab(faults, "Faults");

  auto* io = new QWidget;
  LegendFrame = Named(new QGroupBox("Legend", io), "LegendFrame");
  auto* lg = new QGridLayout(LegendFrame);
  const char* shapeNames[4] = {"isoff", "ison", "isforcedoff", "isforcedon"};
  const char* labelNames[4] = {"Label1", "Label2", "Label3", "Label4"};
  const char* captions[4] = {"I/O is off", "I/O is on", "I/O is forced off", "I/O is forced on"};
  const QColor colours[4] = {QColor(150, 150, 150), QColor(40, 200, 60), QColor(200, 60, 40),
                             QColor(250, 200, 40)};
  Lamp* shapes[4];
  QLabel* labels[4];
  for (int k = 0; k < 4; ++k) {
    shapes[k] = Named(new Lamp(false, LegendFrame), shapeNames[k]);
    shapes[k]->SetColour(colours[k]);
    shapes[k]->setFixedSize(28, 16);
    labels[k] = Named(new QLabel(captions[k], LegendFrame), labelNames[k]);
    lg->addWidget(shapes[k], k, 0);
    lg->addWidget(labels[k], k, 1);
  }
  lg->setColumnStretch(1, 1);
  isoff = shapes[0], ison = shapes[1], isforcedoff = shapes[2], isforcedon = shapes[3];
  Label1 = labels[0], Label2 = labels[1], Label3 = labels[2], Label4 = labels[3];

  InputsFrame = Named(new QGroupBox("Inputs", io), "InputsFrame");
  auto* il = new QHBoxLayout(InputsFrame);
  for (int i = int(IN.size()) - 1; i >= 0; --i) {  // the highest point leftmost
    IN[i] = new Lamp(true, InputsFrame);
    IN[i]->setObjectName(QString("IN_%1").arg(i));
    il->addWidget(IN[i]);
  }
  OutputsFrame = Named(new QGroupBox("Outputs", io), "OutputsFrame");
  auto* ol = new QHBoxLayout(OutputsFrame);
  for (int i = int(OUT.size()) - 1; i >= 0; --i) {
    OUT[i] = new Lamp(true, OutputsFrame);
    OUT[i]->setObjectName(QString("OUT_%1").arg(i));
    ol->addWidget(OUT[i]);
  }
  auto* iol = new QVBoxLayout(io);
  iol->addWidget(LegendFrame);
  iol->addWidget(InputsFrame);
  iol->addWidget(OutputsFrame);
  iol->addStretch(1);
  addTab(io, "IO");

  auto* vars = new QWidget;
  UV_Select = Named(new QListWidget(vars), "UV_Select");
  AddUV = Named(new QPushButton("Add", vars), "AddUV");
  DeleteUV = Named(new QPushButton("Delete", vars), "DeleteUV");
  Frame1 = Named(new QGroupBox("Present Value", vars), "Frame1");
  UV_PV = Named(new QLabel(Frame1), "UV_PV");
  UV_PV->setTextFormat(Qt::PlainText);
  (new QVBoxLayout(Frame1))->addWidget(UV_PV);
  Frame2 = Named(new QGroupBox("New Value", vars), "Frame2");
  UV_NV = Named(new QLineEdit(Frame2), "UV_NV");
  UV_Change = Named(new QPushButton("Change", Frame2), "UV_Change");
  auto* f2 = new QVBoxLayout(Frame2);
  f2->addWidget(UV_NV);
  f2->addWidget(UV_Change, 0, Qt::AlignHCenter);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(AddUV);
  buttons->addStretch(1);
  buttons->addWidget(DeleteUV);
  auto* vl = new QVBoxLayout(vars);
  vl->addWidget(UV_Select, 1);
  vl->addLayout(buttons);
  vl->addWidget(Frame1);
  vl->addWidget(Frame2);
  addTab(vars, "Variables");
}
