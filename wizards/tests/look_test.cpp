// How the wizards look: every caption whole, every box beside its caption,
// no gap where boxes hide, and the dialog within a 1024x768 screen. With
// TALVERO_SHOTS set to a folder, each state is saved there as it would
// stand over the main window at 1024x768 and 1920x1080.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QRadioButton>

#include <QPushButton>
#include <QSlider>

#include "mainwin/edit_list_box.h"
#include "wizards/io_config.h"
#include "wizards/tests/wizard_fixture.h"
#include "wizards/tune.h"

namespace {

class LookTest : public WizardTest {
 protected:
  // Captions are not cut, boxes sit on their captions' lines.
  // stack: rows of one column, top to bottom.
  void CheckLayout(QDialog& d, const std::vector<std::pair<QWidget*, QWidget*>>& rows,
                   const std::vector<QWidget*>& stack, const std::string& what) {
    QCoreApplication::processEvents();  // the layout follows the rows shown
    EXPECT_LE(d.width(), 1024) << what;
    EXPECT_LE(d.height(), 740) << what;
    for (auto* label : d.findChildren<QLabel*>()) {
      if (label->isHidden() || label->wordWrap()) continue;
      EXPECT_GE(label->width(), label->sizeHint().width()) << what << ": " << label->text().toStdString();
    }
    for (auto* box : d.findChildren<QCheckBox*>())
      EXPECT_GE(box->width(), box->sizeHint().width()) << what << ": " << box->text().toStdString();
    for (auto [label, box] : rows) {
      if (box->isHidden()) continue;
      EXPECT_FALSE(label->isHidden()) << what;
      const QPoint l = label->mapTo(&d, label->rect().center());
      const QPoint b = box->mapTo(&d, box->rect().center());
      EXPECT_LE(std::abs(l.y() - b.y()), 2) << what << ": row at " << b.y();
    }
    // Shown rows follow closely: no hole for a hidden one.
    int lastBottom = -1;
    for (QWidget* box : stack) {
      if (box->isHidden()) continue;
      const int top = box->mapTo(&d, QPoint(0, 0)).y();
      if (lastBottom >= 0) {
        EXPECT_LE(top - lastBottom, 12) << what << ": row at " << top;
      }
      lastBottom = top + box->height();
    }
    Save(d, what);
  }
  void Save(QWidget& d, const std::string& what) {
    const char* folder = std::getenv("TALVERO_SHOTS");
    if (!folder) return;
    const QPixmap dialog = d.grab();
    for (QSize screen : {QSize(1024, 768), QSize(1920, 1080)}) {
      win->resize(screen);
      QPixmap shot = win->grab();
      QPainter p(&shot);
      p.drawPixmap((screen.width() - dialog.width()) / 2, (screen.height() - dialog.height()) / 2, dialog);
      p.end();
      shot.save(QString("%1/%2_%3x%4.png").arg(folder).arg(QString::fromStdString(what))
                    .arg(screen.width()).arg(screen.height()));
    }
  }
};

TEST_F(LookTest, ServoPagesAndStepperPage) {
  ASSERT_TRUE(Begin());
  Click("#1");
  wizards::AxisSetup& d = Servo();
  std::vector<std::pair<QWidget*, QWidget*>> rows;
  for (int i = 0; i < 9; ++i) rows.push_back({d.MPL[i], d.MP[i]});
  for (int i = 0; i < 5; ++i) rows.push_back({d.ASL[i], d.ASI[i]});
  std::vector<QWidget*> stack(d.MP.begin(), d.MP.begin() + 8);
  d.show();
  CheckLayout(d, rows, stack, "servo_dc");
  for (auto [row, what] : {std::pair{1, "servo_brushless"}, {5, "servo_induction"}}) {
    d.MtrSelection->setCurrentIndex(row);
    d.MtrSelection_Click();
    CheckLayout(d, rows, stack, what);
  }
  d.ASW_Cancel_Click();

  Click("#5");
  wizards::StepperSetup& s = Stepper();
  s.show();
  std::vector<std::pair<QWidget*, QWidget*>> srows;
  for (int i = 0; i < 8; ++i) srows.push_back({s.MPL[i], s.MP[i]});
  srows.push_back({s.MPL[9], s.MP[8]});
  srows.push_back({s.MPL[8], s.MP[9]});
  std::vector<QWidget*> sstack(s.MP.begin(), s.MP.begin() + 9);
  CheckLayout(s, srows, sstack, "stepper");
  s.ASW_Cancel_Click();

  // A drive that does not answer: the notice whole, between the page and the buttons.
  sim.AddFault(talvero::sim::FaultRule::Silent(0));
  for (wizards::WizardDialog* w : std::initializer_list<wizards::WizardDialog*>{&s, &d}) {
    Click(w == &s ? "#5" : "#1");
    w->show();
    ASSERT_TRUE(w->Notice->isVisible());
    EXPECT_LE(w->Notice->geometry().bottom(), w->ASW_OK->geometry().top());
    CheckLayout(*w, {}, {}, w == &s ? "stepper_silent" : "servo_silent");
    w->ASW_Cancel_Click();
  }
}

// Every text of the window whole, and the window within 1024x768.
void CheckWhole(QWidget& w, const std::string& what) {
  QCoreApplication::processEvents();
  EXPECT_LE(w.width(), 1024) << what;
  EXPECT_LE(w.height(), 740) << what;
  for (auto* label : w.findChildren<QLabel*>())
    if (label->isVisible()) {
      EXPECT_GE(label->width(), label->sizeHint().width()) << what << ": " << label->text().toStdString();
      EXPECT_GE(label->height(), label->fontMetrics().height()) << what << ": " << label->text().toStdString();
    }
  for (auto* button : w.findChildren<QPushButton*>())
    EXPECT_GE(button->width(), button->sizeHint().width()) << what << ": " << button->text().toStdString();
}

TEST_F(LookTest, TuneAndIOConfig) {
  ASSERT_TRUE(Begin());
  Click("AX-1,1");
  Store(1, {{"INER", "0.001"}, {"KP", "0.043982"}, {"KI", "2.35619"}, {"KF", "0.8"}, {"PPG", "5"}});
  wizards::Tune& t = *wizards::TheTune();
  t.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(t.XI->value(), 0);
  CheckWhole(t, "tune_class0");
  Save(t, "tune_class0");
  Store(1, {{"KP", "0.87965"}, {"KI", "942.48"}});
  t.Form_Activate();
  EXPECT_EQ(t.XI->value(), 3);
  EXPECT_EQ(t.Response->value(), 3000);
  CheckWhole(t, "tune_class3");
  Save(t, "tune_class3");
  t.hide();

  wizards::IOConfig& io = *wizards::TheIOConfig();
  for (auto [axis, what] : {std::pair{"AX-1,1", "ioconfig_rho"}, {"AX-3,1", "ioconfig_psi"}}) {
    Click(axis);
    Store(axis[3] - '0', {{"IOCW", "216"}});
    io.Load_IOCW();
    io.show();
    CheckWhole(io, what);
    // The list and the note inside the client area, the buttons below them.
    EXPECT_LE(io.IOL->geometry().bottom(), io.Label1->geometry().top()) << what;
    EXPECT_LE(io.Label1->geometry().bottom(), io.IOSet->geometry().top()) << what;
    EXPECT_LE(io.IOExit->geometry().right(), io.width()) << what;
    EXPECT_LE(io.IOSet->geometry().bottom(), io.height()) << what;
    Save(io, what);
    io.hide();
  }

  // A drive that does not answer.
  sim.AddFault(talvero::sim::FaultRule::Silent(1));
  Click("#1");
  t.show();
  CheckWhole(t, "tune_silent");
  Save(t, "tune_silent");
  t.hide();
  win->IOConfigLoadHook();
  io.show();
  ASSERT_TRUE(io.Notice->isVisible());
  EXPECT_EQ(io.Notice->geometry(), io.IOL->geometry()) << "where the list would be";
  CheckWhole(io, "ioconfig_silent");
  Save(io, "ioconfig_silent");
  io.hide();
}

}  // namespace
