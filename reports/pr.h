#pragma once
// PR, the report window "Display...": the RTF writer behind it, the viewer
// PRTB, saving and copying, and printing each section as its own job.
// Lengths are twips (1/1440 inch) as the reports reckon them.
#include <QDialog>
#include <string>

#include "reports/model/rtf_writer.h"

class QAction;
class QMenu;
class QMenuBar;
class QTextEdit;

namespace reports {

class PR : public QDialog, public RtfWriter {
  Q_OBJECT
 public:
  explicit PR(QWidget* parent = nullptr);
  ~PR() override;

  // Also empties the viewer in print mode.
  void ClearText();

  // The viewer gets the buffer and its closing brace.
  void TextOut();
  // The line width for the layout: 9360 on screen, the printer's page less
  // both margins in print mode, 0 when a margin is 0.
  int WYSIWYG_RTF(int leftMargin, int rightMargin);
  // Prints the viewer's document as one job, one page at a time; false (and
  // one message) when the job could not start.
  bool PrintRTF(int leftMargin, int topMargin, int rightMargin, int bottomMargin);
  // Ends a section: layout, viewer, and in print mode the print.
  void GoPrint();
  // Ends a display run: the window shown modally.
  void ShowIt();

  void Form_Resize();
  void File_Save_Click();
  void File_Copy_Click();

  // A print run that could not print: the report dialog stops it.
  bool PrintFailed() const { return printFailed_; }
  void ClearPrintFailed() { printFailed_ = false; }
  int LineWidth() const { return lineWidth_; }
  // What the viewer's frame and scroll bar take of the window's width.
  int ChromeWidth() const;
  int Pixels(int twips) const;

  QTextEdit* PRTB;
  QMenuBar* MenuBar;
  QMenu* File;
  QAction* File_Save;
  QAction* File_Copy;

 protected:
  void resizeEvent(QResizeEvent* e) override;

 private:
  void LayoutStep();

  int lineWidth_ = 0;
  bool printFailed_ = false;
};

}  // namespace reports
