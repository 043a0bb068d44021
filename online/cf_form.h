#pragma once
// "Configure...": the drive's factory configuration words, its serial number
// and the four special functions. Made once and hidden, not destroyed, so the
// chosen special function stays chosen between openings.
#include <QDialog>
#include <array>
#include <string>

#include "online/model/config_words.h"

class MainWin;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace online {

class CF_Form : public QDialog {
  Q_OBJECT
 public:
  CF_Form(MainWin& win, QWidget* parent = nullptr);

  // Reads the drive at the node into the controls, before the dialog shows.
  // After a failed read "Set Configuration" stays off and a box says why.
  void Open(int node);

  void CF_OK_Click();
  void CF_Cancel_Click();
  void DoSpec_Click();

  // The ten words to send after "Set Configuration", else "".
  std::string ConfigList;
  // Whether the last opening read the whole configuration.
  bool ReadComplete() const { return readOk_; }

  std::array<QCheckBox*, kConfigChecks> CF_Check{};
  std::array<QLineEdit*, kConfigBoxes> CF_Box{};
  std::array<QLabel*, kConfigBoxes> CF_Label{};
  QLineEdit* SerialNumber;
  QComboBox* Spec;
  QPushButton *DoSpec, *CF_OK, *CF_Cancel;

  static constexpr const char* kReadFailed =
      "The drive did not answer while its configuration was read. Set Configuration is off; "
      "close the dialog and open it again.";

 public slots:
  // Closing the window is "Exit Configure".
  void reject() override;

 private:
  void Capture();
  // After a write that failed: another name, as often as the user asks.
  void SaveCaptureElsewhere(std::string path, std::string why, const std::string& text);
  ConfigView View() const;

  MainWin& win_;
  int node_ = 0;
  bool readOk_ = false;
  ConfigWords read_;
};

}  // namespace online
