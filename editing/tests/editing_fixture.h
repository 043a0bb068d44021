#pragma once
// The main window with the editing subsystem installed, over an in-memory
// line of simulated drives, on a small library: a few parameters of each
// kind (enumerations, pictures, Null units, one read-only), three step types
// and the event types.
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>

#include "editing/editor.h"
#include "mainwin/edit_list_box.h"
#include "mainwin/tests/sim_window_fixture.h"
#include "platform/dao/database.h"
#include "store/applic.h"

namespace editing_test {

inline const char kLibrarySql[] = R"SQL(
CREATE TABLE Parameters (id INTEGER NOT NULL UNIQUE, DT TEXT NOT NULL, Type TEXT NOT NULL,
  Name TEXT NOT NULL UNIQUE, fullname TEXT NOT NULL, Format TEXT NOT NULL, units TEXT, rw TEXT);
INSERT INTO Parameters VALUES
  (1, 'SU', 'RHO TAU PHI PSI', 'CM',    'Command Mode',      '3',      NULL,      NULL),
  (2, 'SU', 'RHO TAU PHI PSI', 'SWE',   'Software Enable',   '5',      NULL,      NULL),
  (3, 'SU', 'RHO TAU PHI',     'KVF',   'Feed Forward',      '#0.000', 'percent', NULL),
  (4, 'SU', 'RHO TAU PHI PSI', 'SUREV', 'Setup Revision',    '#0.00',  NULL,      'N'),
  (5, 'SU', 'PSI',             'LOOP',  'Stepper Loop Mode', '12',     NULL,      NULL),
  (6, 'SM', 'RHO TAU PHI PSI', 'IPEAK', 'Peak Current',      '#0.00',  'amps',    NULL),
  (7, 'TU', 'RHO TAU PHI PSI', 'KP',    'Position Gain',     '#0.000', NULL,      NULL);
CREATE TABLE Steps (id INTEGER NOT NULL UNIQUE, Typ TEXT NOT NULL, des TEXT NOT NULL, GUI TEXT NOT NULL,
  Prototype TEXT NOT NULL, P1 TEXT, P2 TEXT);
INSERT INTO Steps VALUES
  (1, 'Motion', 'Move to a position', 'Move to ~1 ~u', 'MA ~1', 'Position', NULL),
  (2, 'Motion', 'Set the speed', 'Speed ~1 ~u/sec', 'V ~1', 'Speed', NULL),
  (3, 'Flow', 'End of program', 'End', 'END', NULL, NULL);
CREATE TABLE Threads (id INTEGER NOT NULL UNIQUE, des TEXT NOT NULL, GUI TEXT NOT NULL,
  Prototype TEXT NOT NULL, P1 TEXT, P2 TEXT);
INSERT INTO Threads VALUES
  (1, 'On a condition, run a command', 'If ~1 then do ~2', 'IF ~1 DO ~2', 'Condition', 'Command'),
  (2, 'On a condition, call a routine', 'If ~1 then call ~2', 'IF ~1 GS ~2', 'Condition', 'Label'),
  (3, 'At a position, run a command', 'At ~1 ~u do ~2', 'AT ~1 DO ~2', 'Position', 'Command'),
  (4, 'Every period, run a command', 'Every ~1 sec do ~2', 'EVERY ~1 DO ~2', 'Period (sec)', 'Command'),
  (5, 'On a fault, stop', 'On a fault, stop', 'FAULT STOP', NULL, NULL);
CREATE TABLE Motors (Type TEXT NOT NULL, APN TEXT NOT NULL, inertia REAL, kt_bspd REAL, P1 REAL, P2 REAL,
  p3 REAL, p4 REAL, p5 REAL, ic REAL, feedp INTEGER, mpol INTEGER, feedback TEXT NOT NULL);
INSERT INTO Motors VALUES ('BL', 'SM-23-05-Y', 0.000012, 0.045, 0, 0, 4000, 0, 0, 2.1, 2000, 4, 'Y');
CREATE TABLE IO (id INTEGER NOT NULL UNIQUE, Name TEXT NOT NULL, fullname TEXT NOT NULL, Bit INTEGER NOT NULL,
  Kill INTEGER NOT NULL DEFAULT 0);
INSERT INTO IO VALUES (1, 'RHO', 'IN 1', 1, 0);
)SQL";

// Acts on the modal dialogs as they open, one action per opening, from
// inside their own loops. An action that leaves its dialog open hands the
// same opening on to the next action.
class ModalScript : public QObject {
 public:
  ModalScript() {
    qApp->installEventFilter(this);
    timer_.setInterval(1);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    timer_.start();
  }
  ~ModalScript() override {
    qApp->removeEventFilter(this);
    EXPECT_TRUE(actions_.empty()) << actions_.size() << " dialog action(s) never ran";
  }
  void Then(std::function<void(QWidget*)> act) { actions_.push_back(std::move(act)); }
  template <class D>
  void On(std::function<void(D&)> act) {
    Then([act](QWidget* w) {
      D* d = qobject_cast<D*>(w);
      ASSERT_NE(d, nullptr) << "another dialog opened: " << w->objectName().toStdString();
      act(*d);
    });
  }
  int Opened() const { return opened_; }

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Show) {
      auto* d = qobject_cast<QDialog*>(o);
      if (d && d->isModal()) {
        open_ = d;
        ++opened_;
      }
    }
    return false;
  }

 private:
  void Tick() {
    QWidget* w = open_;
    if (!w || !w->isVisible()) return;
    if (actions_.empty()) {
      ADD_FAILURE() << "unexpected dialog " << w->objectName().toStdString();
      open_ = nullptr;
      w->close();
      return;
    }
    auto act = std::move(actions_.front());
    actions_.pop_front();
    act(w);
    if (!w->isVisible()) open_ = nullptr;
  }
  QTimer timer_;
  std::deque<std::function<void(QWidget*)>> actions_;
  QPointer<QWidget> open_;
  int opened_ = 0;
};

class EditingTest : public SimWindowTest {
 protected:
  void SetUp() override {
    SimWindowTest::SetUp();
    libraryPath = (dir.path() + "/KOVdata.KOV").toStdString();
    auto db = talvero::dao::Database::Create(libraryPath);
    ASSERT_TRUE(db.ok()) << db.error;
    auto s = (*db)->Execute(kLibrarySql);
    ASSERT_TRUE(s) << s.error;
  }
  void Install(MainWin& w) override { editing::Install(w); }

  // Makes the application file "Cell.APP", filled by fill, and opens it in the window.
  void OpenApp(const std::function<void(Applic&)>& fill) {
    const std::string path = (dir.path() + "/Cell.APP").toStdString();
    {
      Applic app;
      ASSERT_TRUE(app.Create(path));
      fill(app);
      app.AClose();
    }
    ASSERT_TRUE(win->OpenAnApp(path));
  }

  EditListBox& List() { return *win->EditList; }
  std::vector<std::string> Rows() {
    std::vector<std::string> rows;
    for (int i = 0; i < List().ListCount(); ++i) rows.push_back(List().ItemText(i));
    return rows;
  }
  editing::Editor& Ed() { return *editing::Editor::Of(*win); }
  // Double-clicks row r as the user does.
  void DblClick(int r) {
    for (int i = 0; i < List().ListCount(); ++i) List().SetSelected(i, i == r);
    win->EditList_DblClick();
  }
};

}  // namespace editing_test
