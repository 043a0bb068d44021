#include "wizards/io_config.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>
#include <cmath>

#include "listbox/tivolen_interface.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/main_win.h"
#include "mainwin/tivolen_edit_list.h"
#include "mainwin/model/main_layout.h"
#include "runtime/rounding.h"
#include "wizards/axis_setup.h"
#include "wizards/install.h"

namespace wizards {

namespace {

// The list's stored property set: the main list's, with one selection.
tivolen::MemoryPropertyBag IolProperties() {
  tivolen::MemoryPropertyBag bag = MainListProperties();
  bag.Write("MultiSelect", int(tivolen::QX_SINGLE));
  return bag;
}

}  // namespace

IOConfig::IOConfig(MainWin& win, QWidget* parent) : QDialog(parent), win_(win) {
  setObjectName("IOConfig");
  setWindowTitle("IO Configuration");
  setModal(true);
  IOL = new EditListBox(this, win.ListControlPath(), IolProperties());
  IOL->setObjectName("IOL");
  Label1 = new QLabel("1. Overtravels on inputs 5/6 are ignored on Ethernet Drives", this);
  Label1->setObjectName("Label1");
  Notice = new QLabel(this);
  Notice->setObjectName("Notice");
  Notice->setAlignment(Qt::AlignCenter);
  Notice->hide();
  IOSet = new QPushButton("Set Configuration and Exit", this);
  IOSet->setObjectName("IOSet");
  IOExit = new QPushButton("Exit (Make No Changes)", this);
  IOExit->setObjectName("IOExit");

  Place();

  IOL->Events().DblClick = [this]() { IOL_DblClick(); };
  IOL->Events().KeyPress = [this](int16_t& key) { IOL_KeyPress(key); };
  connect(IOSet, &QPushButton::clicked, this, [this]() { IOSet_Click(); });
  connect(IOExit, &QPushButton::clicked, this, [this]() { IOExit_Click(); });
}

void IOConfig::Place() {
  // Twips to pixels as the main window's layout converts them, the whole
  // form grown alike where the font's texts need more than the design gave.
  const double tpp = talvero::TwipsPerPixel(logicalDpiX());
  struct Spot {
    QWidget* w;
    double left, top, width, height;
  };
  const Spot spots[] = {{IOL, 120, 120, 5295, 3975},
                        {Notice, 120, 120, 5295, 3975},
                        {Label1, 120, 4200, 5295, 195},
                        {IOSet, 120, 5520, 2175, 375},
                        {IOExit, 3240, 5520, 2175, 375}};
  double scale = 1;
  for (const Spot& s : spots) {
    if (s.w == IOL || s.w == Notice) continue;
    const QSize need = s.w->sizeHint();
    scale = std::max({scale, need.width() * tpp / s.width, need.height() * tpp / s.height});
  }
  auto px = [tpp, scale](double tw) { return int(std::lround(tw * scale / tpp)); };
  for (const Spot& s : spots) s.w->setGeometry(px(s.left), px(s.top), px(s.width), px(s.height));
  setFixedSize(px(5535), px(6015));
}

void IOConfig::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (!e->spontaneous()) Form_Activate();
}

void IOConfig::closeEvent(QCloseEvent* e) {
  if (TheAxisSetup()->Access().Reading()) e->ignore();
  else QDialog::closeEvent(e);
}

void IOConfig::Load_IOCW() {
  loadPending_ = false;
  ParamAccess& a = TheAxisSetup()->Access();
  ParamAccess::PageRead read(a, this);
  const double word = a.Number("IOCW");
  // A family the table does not know lists nothing, never the last one's.
  IOTableKey = wizards::IOTableKey(a);
  unread_ = read.Failed();
  if (!unread_) {
    IOCW = rt::CLng(word);
    return;
  }
  Notice->setText(QString::fromStdString(read.NotAnswering()));
  win_.AwaitAnswer(read.Node(), [d = QPointer<IOConfig>(this)]() {
    if (!d || !d->isVisible()) return;
    d->Load_IOCW();
    d->Form_Activate();
  });
}

void IOConfig::Form_Activate() {
  if (loadPending_) Load_IOCW();
  Label1->setVisible(!win_.AxisTypeMatch("RHO", win_.CurNode));
  IOL->Clear();
  IOL->setVisible(!unread_);
  Notice->setVisible(unread_);
  IOSet->setEnabled(!unread_);
  if (unread_) return;
  IOL->SetTabWidth(0, 280);
  std::vector<IoRow> rows;
  if (win_.IORS) rows = functions_.Load(*win_.IORS, IOTableKey);
  for (const IoRow& r : rows) {
    IOL->AddItem(r.fullname);
    IOL->SetItemData(IOL->NewIndex(), r.id);
  }
  const std::vector<bool> on = functions_.Settle(IOCW, rows);
  for (size_t i = 0; i < on.size(); ++i)
    IOL->SetListPicture(int(i), win_.StepImages.Picture(on[i] ? "on" : "off"));
}

void IOConfig::IOL_DblClick() {
  if (unread_) return;
  int row = -1;
  for (int i = 0; i < IOL->ListCount(); ++i)
    if (IOL->Selected(i)) row = i;
  if (row < 0) return;
  IOCW = functions_.Switch(IOCW, IOL->ItemData(row));
  Form_Activate();
}

void IOConfig::IOL_KeyPress(int16_t& KeyAscii) {
  if (KeyAscii == 32) IOL_DblClick();
}

void IOConfig::IOSet_Click() {
  if (unread_) return;  // never write a word that was not read
  ParamAccess& a = TheAxisSetup()->Access();
  a.BeginRun();
  a.ChP("IOCW", std::to_string(IOCW));
  hide();
  a.WarnUnwritten();
}

}  // namespace wizards
