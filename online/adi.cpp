#include "online/adi.h"

#include <QAction>
#include <QEvent>
#include <QFont>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>

#include "mainwin/main_win.h"
#include "mainwin/model/tree_key.h"
#include "mainwin/qt_sys_tree.h"
#include "online/admin_support.h"
#include "online/model/drive_text.h"
#include "online/model/terminal_text.h"
#include "platform/clock/clock.h"
#include "platform/ui/qt/plain_text.h"
#include "platform/ui/qt/window_factory.h"

namespace online {

namespace {

bool IsEnter(QEvent* e) {
  if (e->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(e)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

ADI::ADI(MainWin& win, QWidget* parent) : QDialog(parent), win_(win) {
  setObjectName("ADI");
  setWindowTitle("ASCII Drive Interface");
  QFont mono("Liberation Mono");
  mono.setStyleHint(QFont::Monospace);
  mono.setPointSize(10);

  Label1 = new QLabel("Node #", this);
  Label1->setObjectName("Label1");
  NODE = new QLineEdit(this);
  NODE->setObjectName("NODE");
  Label1->setBuddy(NODE);
  MSG = new QLineEdit(this);
  MSG->setObjectName("MSG");
  Results = new QListWidget(this);
  Results->setObjectName("Results");
  Results->setUniformItemSizes(true);
  for (QWidget* w : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(NODE),
                     static_cast<QWidget*>(MSG), static_cast<QWidget*>(Results)})
    w->setFont(mono);
  // Room for two digits and the frame.
  NODE->setFixedWidth(QFontMetrics(mono).horizontalAdvance("000") + 16);

  auto* grid = new QGridLayout(this);
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(NODE, 0, 1);
  grid->addWidget(MSG, 0, 2);
  grid->addWidget(Results, 1, 0, 1, 3);
  grid->setColumnStretch(2, 1);
  resize(560, 360);

  MSG->installEventFilter(this);
  Results->installEventFilter(this);
}

void ADI::Init() {
  NODE->setText("1");
  MSG->clear();
  Results->clear();
  counter_ = 0;
}

void ADI::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  if (MSG->isEnabled()) MSG->setFocus();
}

bool ADI::eventFilter(QObject* watched, QEvent* e) {
  if ((watched == MSG || watched == Results) && IsEnter(e)) {
    SendTyped();
    return true;
  }
  return QDialog::eventFilter(watched, e);
}

void ADI::SendTyped() {
  MSG->setEnabled(false);
  DoMessage();
  MSG->setEnabled(true);
  MSG->setFocus();
  // Kept for Enter to send again, selected so that typing replaces it.
  MSG->selectAll();
}

void ADI::AddEntry(const std::string& text) {
  auto* item = new QListWidgetItem(talvero::ToQ(VisibleControls(text)));
  item->setData(Qt::UserRole, talvero::ToQ(text));
  Results->addItem(item);
  Results->setCurrentItem(item);
  Results->scrollToItem(item);
}

void ADI::DoMessage() {
  const std::optional<int> node = TerminalNode(talvero::FromQ(NODE->text()));
  if (!node) {
    Inform("Illegal Node number.");
    return;
  }
  const std::string typed = talvero::FromQ(MSG->text());
  const DriveText message = ToDriveText(typed);
  if (!AcceptDriveText(message, "message", kMaxDriveTextBytes)) return;
  counter_ = NextCounter(counter_);
  const std::string count = CounterText(counter_);
  // The link converts the line to the drive's bytes, and its replies back.
  const std::string line = TerminalLine(*node, typed);
  AddEntry(count + "-> " + line);
  ISP& link = win_.Link;
  link.SendString(line);

  // A drive that keeps talking is read for a bounded number of lines and time.
  const int64_t start = talvero::TheClock().NowMs();
  std::string reply = link.GetString();
  if (reply.empty()) {
    AddEntry(count + "<- No reply.");
    return;
  }
  for (int lines = 0; !reply.empty(); reply = link.GetString()) {
    AddEntry(count + "<- " + reply);
    if (++lines >= kTerminalReplyLines || talvero::TheClock().NowMs() - start >= kTerminalReplyMs) {
      AddEntry(count + "<- (further replies not read)");
      return;
    }
  }
}

void GoASCII_Click(MainWin& win) {
  if (win.Link.theHandle() <= 0) {
    Inform("No active port selected. Cannot enter ASCII Drive Mode.");
    return;
  }
  talvero::WindowFactory& wf = talvero::TheWindowFactory();
  auto* adi = qobject_cast<ADI*>(wf.Window("ADI"));
  if (!adi) return;
  const std::string root = TreeKey::SystemRoot().Format();
  win.Sys->Select(root);
  win.Sys_NodeClick(root);
  talvero::TheClock().ProcessEvents();
  // The terminal's text is the only traffic on the line while it is open.
  win.TStat->stop();
  win.Link.GoSleep(10);
  adi->Init();
  wf.ShowModal("ADI");
  win.TStat->start();
}

void InstallTerminal(MainWin& win) {
  talvero::TheWindowFactory().Register(
      "ADI", [&win](QWidget* parent) -> QWidget* { return new ADI(win, parent); });
  QObject::connect(win.GoASCII, &QAction::triggered, &win, [&win]() { GoASCII_Click(win); });
}

}  // namespace online
