#include "online/cf_form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <filesystem>

#include "mainwin/drive_read.h"
#include "mainwin/long_operation.h"
#include "mainwin/main_win.h"
#include "online/admin_support.h"
#include "online/model/capture_text.h"
#include "online/model/drive_text.h"
#include "platform/clock/clock.h"
#include "platform/files/replacing_file.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/plain_text.h"
#include "runtime/text.h"

namespace online {

namespace {
constexpr const char* kCaptureTitle = "Talvero: Special Capture...";
}

CF_Form::CF_Form(MainWin& win, QWidget* parent) : QDialog(parent), win_(win) {
  setObjectName("CF_Form");
  setWindowTitle("Configure...");

  auto* checks = new QGroupBox(this);
  auto* checkGrid = new QGridLayout(checks);
  for (int i = 0; i < kConfigChecks; ++i) {
    CF_Check[size_t(i)] = new QCheckBox(kConfigCheckTable[size_t(i)].caption, checks);
    CF_Check[size_t(i)]->setObjectName(QString("CF_Check%1").arg(i));
    checkGrid->addWidget(CF_Check[size_t(i)], i % 8, i / 8);
  }

  auto* numbers = new QGridLayout;
  for (int i = 0; i < kConfigBoxes; ++i) {
    CF_Label[size_t(i)] = new QLabel(kConfigBoxLabels[size_t(i)], this);
    CF_Box[size_t(i)] = new QLineEdit(this);
    CF_Box[size_t(i)]->setObjectName(QString("CF_Box%1").arg(i));
    CF_Label[size_t(i)]->setBuddy(CF_Box[size_t(i)]);
    numbers->addWidget(CF_Label[size_t(i)], 2 * (i / 2), i % 2);
    numbers->addWidget(CF_Box[size_t(i)], 2 * (i / 2) + 1, i % 2);
  }
  auto* serialLabel = new QLabel("Serial #", this);
  SerialNumber = new QLineEdit(this);
  SerialNumber->setObjectName("SerialNumber");
  serialLabel->setBuddy(SerialNumber);
  numbers->addWidget(serialLabel, 4, 0, 1, 2);
  numbers->addWidget(SerialNumber, 5, 0, 1, 2);

  Spec = new QComboBox(this);
  Spec->setObjectName("Spec");
  Spec->addItems({"A - Special Hardware Calibration", "B - Clear Fault History", "C - Capture Data",
                  "D - Init Drive"});
  Spec->setCurrentIndex(-1);
  DoSpec = new QPushButton("Perform", this);
  DoSpec->setObjectName("DoSpec");
  DoSpec->setAutoDefault(false);
  auto* specRow = new QHBoxLayout;
  specRow->addWidget(Spec, 1);
  specRow->addWidget(DoSpec);

  CF_OK = new QPushButton("Set Configuration", this);
  CF_OK->setObjectName("CF_OK");
  CF_Cancel = new QPushButton("Exit Configure", this);
  CF_Cancel->setObjectName("CF_Cancel");
  CF_OK->setAutoDefault(false);
  CF_Cancel->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(CF_OK);
  buttons->addWidget(CF_Cancel);

  auto* right = new QVBoxLayout;
  right->addLayout(numbers);
  right->addStretch(1);
  right->addLayout(specRow);

  auto* top = new QHBoxLayout;
  top->addWidget(checks);
  top->addLayout(right, 1);
  auto* all = new QVBoxLayout(this);
  all->addLayout(top);
  all->addLayout(buttons);

  connect(CF_OK, &QPushButton::clicked, this, [this]() { CF_OK_Click(); });
  connect(CF_Cancel, &QPushButton::clicked, this, [this]() { CF_Cancel_Click(); });
  connect(DoSpec, &QPushButton::clicked, this, [this]() { DoSpec_Click(); });
}

void CF_Form::Open(int node) {
  node_ = node;
  ISP& link = win_.Link;
  // The first request that fails ends the reading.
  mainwin::DriveRead read(win_, node);
  std::string serial;
  std::array<std::string, kConfigWords> replies;
  read.Ask([&]() { serial = link.GetSerial(node); });
  for (int i = 0; i < kConfigWords; ++i)
    if (!read.Ask([&]() { replies[size_t(i)] = link.ValueOf(node, ConfigWords::Name(i)); })) break;
  readOk_ = !read.Failed();

  read_ = ConfigWords::FromReplies(replies);
  // After a failed read the controls show nothing as if it had been read.
  const ConfigView view = readOk_ ? read_.Show() : ConfigView{};
  SerialNumber->setText(talvero::ToQ(readOk_ ? serial : ""));
  for (int i = 0; i < kConfigChecks; ++i) CF_Check[size_t(i)]->setChecked(view.checks[size_t(i)]);
  for (int i = 0; i < kConfigBoxes; ++i) CF_Box[size_t(i)]->setText(talvero::ToQ(view.boxes[size_t(i)]));
  CF_OK->setEnabled(readOk_);
  DoSpec->setEnabled(true);
  if (!readOk_) Inform(kReadFailed);
}

ConfigView CF_Form::View() const {
  ConfigView v;
  for (int i = 0; i < kConfigChecks; ++i) v.checks[size_t(i)] = CF_Check[size_t(i)]->isChecked();
  for (int i = 0; i < kConfigBoxes; ++i) v.boxes[size_t(i)] = talvero::FromQ(CF_Box[size_t(i)]->text());
  return v;
}

void CF_Form::CF_OK_Click() {
  if (!readOk_) return;
  // An empty serial number would erase the drive's: it is not sent.
  const std::string typed = talvero::FromQ(SerialNumber->text());
  const bool sendSerial = !rt::Trim(typed).empty();
  const DriveText serial = ToDriveText(typed, kMaxDriveTextBytes);
  if (sendSerial && !AcceptDriveText(serial, "serial number", kMaxDriveTextBytes)) return;
  ConfigList = ConfigWords::FromView(View(), read_).ConfigList();
  // Checked above; the link converts it. A drive found silent here gets one
  // try of the first word, and the caller says what was not set.
  mainwin::DriveRead read(win_, node_);
  if (sendSerial) read.Ask([&]() { win_.Link.SetSerial(node_, typed); });
  done(QDialog::Accepted);
}

void CF_Form::CF_Cancel_Click() {
  ConfigList.clear();
  done(QDialog::Rejected);
}

void CF_Form::reject() { CF_Cancel_Click(); }

void CF_Form::DoSpec_Click() {
  const int chosen = Spec->currentIndex();
  if (chosen < 0) return;
  const char letter = talvero::FromQ(Spec->itemText(chosen)).front();
  switch (letter) {
    case 'A':
      win_.Link.Special(node_, "A");
      break;
    case 'B':
      if (!ConfirmOk("The fault history of this drive will be cleared...there is NO UNDO!   Continue ?"))
        return;
      win_.Link.Special(node_, "B");
      break;
    case 'C':
      Capture();
      break;
    case 'D':
      if (!ConfirmInitialise()) return;
      win_.Link.Special(node_, "D");
      ConfigList.clear();
      done(QDialog::Rejected);
      win_.Link.GoSleep(500);
      win_.RefreshTree();
      break;
  }
}

void CF_Form::Capture() {
  mainwin::LongOperation op(win_, node_);
  if (!op) return;
  std::error_code ec;
  const std::filesystem::path dir = std::filesystem::current_path(ec);
  const std::string path = ec ? std::string(kCaptureFile) : (dir / kCaptureFile).string();
  // The drive gives its capture once: a file that can't take it is refused
  // before the drive is asked.
  talvero::ReplacingFile file(path);
  if (const std::optional<std::string> why = file.Open()) {
    Inform("The capture could not be written to " + path + ": " + *why + ". Nothing was read from the drive.",
           kCaptureTitle);
    return;
  }
  win_.MousePointer(11);
  setCursor(Qt::WaitCursor);
  DoSpec->setEnabled(false);
  // The capture's 200 replies follow one request: no status poll may come between.
  win_.TStat->stop();
  talvero::TheClock().ProcessEvents();
  const std::string data = win_.Link.SpecialCap(node_);
  win_.TStat->start();
  win_.MousePointer(0);
  unsetCursor();
  DoSpec->setEnabled(true);
  if (data.size() != kCaptureBytes) {
    Inform("Failed to capture data; got " + std::to_string(data.size()) + " bytes of 3200", kCaptureTitle);
  } else {
    const std::string text = CaptureText(data);
    std::optional<std::string> why = file.Write(text);
    if (!why) why = file.Commit();
    if (why) SaveCaptureElsewhere(path, *why, text);
  }
  talvero::TheClock().ProcessEvents();
}

void CF_Form::SaveCaptureElsewhere(std::string path, std::string why, const std::string& text) {
  talvero::Prompter& ask = talvero::ThePrompter();
  for (;;) {
    const talvero::MessageBox offer{"The capture could not be written to " + path + ": " + why +
                                        ". Save it under another name?",
                                    kCaptureTitle, talvero::Buttons::YesNo, talvero::Icon::Exclamation};
    if (ask.Message(offer) != talvero::Answer::Yes) return;
    talvero::FileDialog d;
    d.title = "Save the capture as";
    d.filter = "*.TXT|*.TXT";
    d.defaultExt = "TXT";
    d.fileName = kCaptureFile;
    d.confirmOverwrite = true;
    const std::optional<std::string> other = ask.SaveFile(d);
    if (!other) return;
    const std::optional<std::string> failed = talvero::WriteWholeFile(*other, text);
    if (!failed) return;
    path = *other;
    why = *failed;
  }
}

}  // namespace online
