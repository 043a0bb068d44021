#include "platform/ui/qt/qt_prompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "platform/ui/qt/file_filter.h"
#include "platform/ui/qt/plain_text.h"
#include "platform/ui/qt/print_target.h"
#include "platform/ui/qt/title_width.h"

namespace talvero {

namespace {

struct ButtonMap {
  QMessageBox::StandardButton qt;
  Answer answer;
};

std::vector<ButtonMap> ButtonsOf(Buttons b) {
  using B = QMessageBox;
  switch (b) {
    case Buttons::Ok: return {{B::Ok, Answer::Ok}};
    case Buttons::OkCancel: return {{B::Ok, Answer::Ok}, {B::Cancel, Answer::Cancel}};
    case Buttons::YesNo: return {{B::Yes, Answer::Yes}, {B::No, Answer::No}};
    case Buttons::YesNoCancel:
      return {{B::Yes, Answer::Yes}, {B::No, Answer::No}, {B::Cancel, Answer::Cancel}};
    case Buttons::RetryCancel: return {{B::Retry, Answer::Retry}, {B::Cancel, Answer::Cancel}};
    case Buttons::AbortRetryIgnore:
      return {{B::Abort, Answer::Abort}, {B::Retry, Answer::Retry}, {B::Ignore, Answer::Ignore}};
  }
  return {{B::Ok, Answer::Ok}};
}

QMessageBox::Icon IconOf(Icon i) {
  switch (i) {
    case Icon::None: return QMessageBox::NoIcon;
    case Icon::Critical: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
    case Icon::Exclamation: return QMessageBox::Warning;
    case Icon::Information: return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

// What closing the box with Escape or its close button means.
Answer EscapeAnswer(Buttons b) {
  switch (b) {
    case Buttons::Ok: return Answer::Ok;
    case Buttons::YesNo: return Answer::No;
    case Buttons::AbortRetryIgnore: return Answer::Abort;
    default: return Answer::Cancel;
  }
}

}  // namespace

QtPrompter::QtPrompter() = default;
QtPrompter::~QtPrompter() = default;

QWidget* QtPrompter::Parent() const {
  if (QWidget* w = QApplication::activeModalWidget()) return w;
  if (QWidget* w = QApplication::activeWindow()) return w;
  return fallbackParent_;
}

Answer QtPrompter::Message(const MessageBox& box) {
  QMessageBox mb(Parent());
  mb.setWindowTitle(ToQ(box.title));
  mb.setTextFormat(Qt::PlainText);
  mb.setText(ToQ(BoxText(box.text)));
  mb.setIcon(IconOf(box.icon));
  std::vector<ButtonMap> map = ButtonsOf(box.buttons);
  std::vector<QPushButton*> buttons;
  for (const ButtonMap& m : map) buttons.push_back(mb.addButton(m.qt));
  size_t def = box.defaultButton >= 0 && size_t(box.defaultButton) < buttons.size()
                   ? size_t(box.defaultButton) : 0;
  mb.setDefaultButton(buttons[def]);
  // The box sizes itself to its text and buttons alone; a strut across its
  // layout keeps it as wide as its title needs, however it resizes.
  if (auto* grid = qobject_cast<QGridLayout*>(mb.layout()))
    grid->addItem(new QSpacerItem(WidthForTitle(mb.windowTitle(), mb.font()), 0, QSizePolicy::Fixed,
                                  QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
  mb.exec();
  QAbstractButton* clicked = mb.clickedButton();
  for (size_t i = 0; i < buttons.size(); ++i)
    if (clicked == buttons[i]) return map[i].answer;
  return EscapeAnswer(box.buttons);
}

std::optional<std::string> QtPrompter::Input(const std::string& prompt, const std::string& title,
                                             const std::string& defaultText) {
  QInputDialog dialog(Parent());
  dialog.setWindowTitle(ToQ(title));
  dialog.setLabelText(ToQ(prompt));
  dialog.setTextValue(ToQ(defaultText));
  // Its layout holds it to its contents' size; the prompt sets the width.
  if (auto* label = dialog.findChild<QLabel*>()) label->setMinimumWidth(WidthForTitle(dialog.windowTitle(), dialog.font()));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return FromQ(dialog.textValue());
}

std::optional<std::string> QtPrompter::RunFileDialog(const FileDialog& d, bool save) {
  QFileDialog fd(Parent(), ToQ(d.title));
  fd.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  fd.setFileMode(save ? QFileDialog::AnyFile
                      : (d.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile));
  if (save && !d.confirmOverwrite) fd.setOption(QFileDialog::DontConfirmOverwrite, true);
  QStringList filters;
  for (const std::string& e : ConvertFileFilter(d.filter).entries) filters << ToQ(e);
  if (!filters.isEmpty()) {
    fd.setNameFilters(filters);
    int idx = d.filterIndex - 1;
    if (idx >= 0 && idx < filters.size()) fd.selectNameFilter(filters[idx]);
  }
  if (!d.defaultExt.empty()) fd.setDefaultSuffix(ToQ(d.defaultExt));
  // A wildcard "file name" is the legacy way to preset the filter; it is no name.
  if (!d.fileName.empty() && d.fileName.find('*') == std::string::npos) {
    QFileInfo fi(ToQ(d.fileName));
    if (fi.isDir()) fd.setDirectory(fi.absoluteFilePath());
    else fd.selectFile(ToQ(d.fileName));
  }
  if (fd.exec() != QDialog::Accepted) return std::nullopt;
  QStringList files = fd.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return FromQ(files.first());
}

std::optional<std::string> QtPrompter::OpenFile(const FileDialog& dialog) {
  return RunFileDialog(dialog, false);
}

std::optional<std::string> QtPrompter::SaveFile(const FileDialog& dialog) {
  return RunFileDialog(dialog, true);
}

std::optional<uint32_t> QtPrompter::PickColour(uint32_t initialRgb) {
  QColor initial(int(initialRgb & 0xFF), int((initialRgb >> 8) & 0xFF), int((initialRgb >> 16) & 0xFF));
  QColor c = QColorDialog::getColor(initial, Parent());
  if (!c.isValid()) return std::nullopt;
  return uint32_t(c.red()) | (uint32_t(c.green()) << 8) | (uint32_t(c.blue()) << 16);
}

bool QtPrompter::PrinterSetup() {
  QPrintDialog dlg(&SetupPrinter(), Parent());
  return dlg.exec() == QDialog::Accepted;
}

}  // namespace talvero
