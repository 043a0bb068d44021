#pragma once
// The tuning wizard: a modeless tool window over the main window. Three
// sliders stand for the servo loop's gains; every activation reads the
// selected axis afresh, "Change" writes KP, KI, KF and PPG through the
// servo wizard's ChP. It acts on servo axes only: on no axis or a stepper
// it reads and writes nothing.
#include <QWidget>
#include <functional>
#include <string>

#include "wizards/model/tune_gains.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class MainWin;

namespace wizards {

class ParamAccess;

class Tune : public QWidget {
  Q_OBJECT
 public:
  explicit Tune(MainWin& win, QWidget* parent = nullptr);

  void Form_Start() {}
  void Form_Activate();
  void LoadValues();
  void ComputeGains();
  void SetInertiaRange(float R);
  void Def_Click();
  void Revert_Click();
  void Set_Click();
  // The refreshes the sliders run when the operator moves them.
  void Damping_Change();
  void Response_Change();
  void FeedForward_Change();
  void XI_Change();

  // Whether the selection is an axis the wizard tunes (not a stepper).
  bool ServoAxis() const;
  // The drive did not answer the last read: nothing shows and "Change"
  // writes nothing until it is read again.
  bool Unread() const { return unread_; }

  QSlider *Damping, *Response, *FeedForward, *XI;
  QLabel *Label_D, *Label_R, *Label_FF, *XI_T, *XI_L, *XI_H, *Label_PPG;
  QLineEdit* PosGain;
  QCheckBox* SimuPL;
  QPushButton *Revert, *Def, *Set;

  // The working values "Change" writes.
  float INER = 0, KF = 0, KP = 0, KI = 0, PPG = 0;

 protected:
  bool event(QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;

 private:
  void Build();
  ParamAccess& Access();
  // A slider or the gain box set by the wizard itself runs no refresh.
  void SetSlider(QSlider* s, int value);
  void SetRange(int inertiaClass);
  void Refreshes();
  void EnableInputs(bool on);
  // A box of ours: the activation that follows its closing reads nothing.
  void Box(const std::string& text);
  void Boxed(const std::function<void()>& show);
  void ShowUnread(const std::string& notAnswering, int node);

  MainWin& win_;
  bool quiet_ = false;       // the wizard sets its controls
  bool busy_ = false;  // Form_Activate or Change runs
  bool unread_ = false;
  // The next activation is no return of the operator: it follows our own
  // showing or a box of ours closing. Cleared when another window gets focus.
  bool skipActivation_ = false;
  struct Snapshot {
    QString posGain;
    int simuPL = 0, damping = 0, feedForward = 0, response = 0;
  } saved_;
};

// Whether the tuning window shows; while it does, parameters are not edited.
bool TuneVisible();

}  // namespace wizards
