#pragma once
// The status tab strip of the main window and its controls. The drive
// panel fills their contents; here they only exist, with their captions.
#include <QTabWidget>
#include <QWidget>
#include <array>
#include <string>

#include "mainwin/model/main_layout.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// A round I/O lamp or a square colour sample.
class Lamp : public QWidget {
  Q_OBJECT
 public:
  explicit Lamp(bool round, QWidget* parent = nullptr);
  void SetColour(const QColor& c);
  QColor Colour() const { return colour_; }
  QSize sizeHint() const override { return {18, 18}; }
  // A lamp's colour before anything is known of its point.
  static QColor Unlit() { return {170, 170, 170}; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  bool round_;
  QColor colour_ = Unlit();
};

class StatStrip : public QTabWidget {
  Q_OBJECT
 public:
  explicit StatStrip(QWidget* parent = nullptr);
  // The caption of the current tab ("General", "Faults", "IO", "Variables").
  QString CurrentCaption() const { return tabText(currentIndex()); }
  // A control by the layout rule's name ("GS_stat", "IN(3)", "Label2", ...).
  QWidget* Control(const std::string& name) const;
  // The sizes the layout rule keeps, in twips at the given DPI.
  talvero::LayoutDesign Design(double dpi) const;

 signals:
  void TabChanged();

 public:

  // "General"
  QLabel* GS_stat;
  QPushButton* DriveReset;
  // "IO"
  QGroupBox* LegendFrame;
  Lamp *isoff, *ison, *isforcedoff, *isforcedon;
  QLabel *Label1, *Label2, *Label3, *Label4;
  QGroupBox* InputsFrame;
  std::array<Lamp*, 9> IN{};
  QGroupBox* OutputsFrame;
  std::array<Lamp*, 12> OUT{};
  // "Faults"
  QListWidget* FaultList;
  // "Variables"
  QListWidget* UV_Select;
  QPushButton *AddUV, *DeleteUV;
  QGroupBox* Frame1;
  QLabel* UV_PV;
  QGroupBox* Frame2;
  QLineEdit* UV_NV;
  QPushButton* UV_Change;
};
