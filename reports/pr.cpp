#include "reports/pr.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <memory>
#include <vector>

#include "platform/files/replacing_file.h"
#include "platform/ui/prompter.h"
#include "platform/ui/qt/print_target.h"
#include "platform/ui/qt/window_place.h"
#include "reports/rtf_document.h"

namespace reports {
namespace {

constexpr int kDisplayWidth = 9360;  // 6.5 inches: a Letter page less two 1-inch margins

// Where each line of a paginated document starts, in characters and on which page.
struct LineStart {
  int position;
  int page;
};

std::vector<LineStart> PageLines(QTextDocument& doc, qreal pageHeight) {
  std::vector<LineStart> lines;
  QAbstractTextDocumentLayout* layout = doc.documentLayout();
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
    const QRectF box = layout->blockBoundingRect(b);
    const QTextLayout* tl = b.layout();
    for (int i = 0; i < tl->lineCount(); ++i) {
      const QTextLine line = tl->lineAt(i);
      lines.push_back({b.position() + line.textStart(), int((box.top() + line.y()) / pageHeight)});
    }
  }
  return lines;
}

}  // namespace

PR::PR(QWidget* parent) : QDialog(parent) {
  setObjectName("PR");
  setWindowTitle("Display...");
  MenuBar = new QMenuBar(this);
  File = MenuBar->addMenu("&Save and Copy");
  File->setObjectName("File");
  File_Save = File->addAction("Save to an RTF file...");
  File_Save->setObjectName("File_Save");
  File_Copy = File->addAction("Copy to clipboard");
  File_Copy->setObjectName("File_Copy");
  connect(File_Save, &QAction::triggered, this, [this]() { File_Save_Click(); });
  connect(File_Copy, &QAction::triggered, this, [this]() { File_Copy_Click(); });
  PRTB = new QTextEdit(this);
  PRTB->setObjectName("PRTB");
  PRTB->setReadOnly(true);
  PRTB->setLineWrapMode(QTextEdit::FixedPixelWidth);
  resize(Pixels(kDisplayWidth + 200), Pixels(8640));
  // Form_Load
  ClearText();
}

PR::~PR() = default;

int PR::ChromeWidth() const {
  return PRTB->verticalScrollBar()->sizeHint().width() + 2 * PRTB->frameWidth();
}

int PR::Pixels(int twips) const { return qRound(twips * logicalDpiX() / 1440.0); }

void PR::ClearText() {
  RtfWriter::ClearText();
  if (!DisplayMode) PRTB->clear();
}

void PR::TextOut() {
  SetRtf(*PRTB->document(), Text());
  PRTB->moveCursor(QTextCursor::Start);  // the report opens at its top
}

int PR::WYSIWYG_RTF(int leftMargin, int rightMargin) {
  if (DisplayMode) return kDisplayWidth;
  if (leftMargin == 0 || rightMargin == 0) return 0;
  // The page as Print Setup left it; no job is opened to find out.
  const QPageLayout page = talvero::ThePrintTarget().PageLayout();
  // Millimetres hold both Letter (215.9) and A4 (210) exactly; inches and
  // points are rounded for A4.
  const int pageWidth = qRound(page.fullRect(QPageLayout::Millimeter).width() * 1440 / 25.4);
  return pageWidth - leftMargin - rightMargin;
}

void PR::LayoutStep() {
  const int w = WYSIWYG_RTF(1440, 1440);
  lineWidth_ = w;
  const int menu = MenuBar->sizeHint().height();
  // The text area itself is w + 200 wide, so a line of width w fits without
  // a horizontal scroll bar.
  resize(Pixels(w + 200) + ChromeWidth(), height());
  PRTB->setGeometry(Pixels(100), menu + Pixels(100), width() - Pixels(200), height() - menu - Pixels(200));
  PRTB->setLineWrapColumnOrWidth(Pixels(w));
  talvero::CentreOnScreen(*this);
}

void PR::GoPrint() {
  LayoutStep();
  // A display run shows its document once, at its end: rendering the
  // growing document after every section would only repeat that work.
  if (DisplayMode) return;
  TextOut();
  if (!printFailed_) {
    PrintRTF(1440, 1440, 1440, 1440);
    WYSIWYG_RTF(0, 0);
  }
}

void PR::ShowIt() {
  LayoutStep();
  TextOut();
  exec();
  WYSIWYG_RTF(0, 0);
}

bool PR::PrintRTF(int leftMargin, int topMargin, int rightMargin, int bottomMargin) {
  talvero::PrintJob job(windowTitle());
  if (!job) {
    printFailed_ = true;
    talvero::ThePrompter().Critical(job.Failure());
    return false;
  }
  QPrinter& printer = *job.Printer();
  QPainter& painter = job.Painter();
  const qreal res = printer.resolution();
  auto px = [res](int twips) { return twips * res / 1440.0; };
  const QRectF paper = printer.pageLayout().fullRectPixels(int(res));
  const QRectF body(px(leftMargin), px(topMargin), paper.width() - px(leftMargin) - px(rightMargin),
                    paper.height() - px(topMargin) - px(bottomMargin));

  std::unique_ptr<QTextDocument> doc(PRTB->document()->clone());
  doc->documentLayout()->setPaintDevice(&printer);
  doc->setDocumentMargin(0);
  doc->setPageSize(body.size());
  const std::vector<LineStart> lines = PageLines(*doc, body.height());
  const int length = doc->characterCount() - 1;

  int start = 0;
  for (;;) {
    int page = 0;
    for (const LineStart& l : lines)
      if (l.position <= start) page = l.page;
    painter.save();
    painter.translate(body.left(), body.top() - page * body.height());
    doc->drawContents(&painter, QRectF(0, page * body.height(), body.width(), body.height()));
    painter.restore();
    int next = length;
    for (const LineStart& l : lines)
      if (l.page > page) {
        next = l.position;
        break;
      }
    // A page that adds nothing would be printed again and again.
    if (next >= length || next <= start) break;
    printer.newPage();
    start = next;
  }
  return true;
}

void PR::Form_Resize() {
  const int menu = MenuBar->sizeHint().height();
  MenuBar->setGeometry(0, 0, width(), menu);
  PRTB->setGeometry(0, menu, std::max(0, width()), std::max(0, height() - menu));
}

void PR::resizeEvent(QResizeEvent* e) {
  QDialog::resizeEvent(e);
  Form_Resize();
}

void PR::File_Save_Click() {
  talvero::FileDialog d;
  d.title = "Save Contents To...";
  d.defaultExt = "RTF";
  d.filter = "*.RTF|*.RTF";
  d.fileName = "*.RTF";
  d.confirmOverwrite = true;
  const std::optional<std::string> path = talvero::ThePrompter().SaveFile(d);
  if (!path) return;
  if (const std::optional<std::string> why = talvero::WriteWholeFile(*path, Text()))
    talvero::ThePrompter().Critical("Can't save the report to " + *path + "\n" + *why);
}

void PR::File_Copy_Click() {
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  const std::string text = Text();
  auto* mime = new QMimeData;
  mime->setData("text/rtf", QByteArray(text.data(), qsizetype(text.size())));
  mime->setText(PRTB->document()->toPlainText());
  clipboard->setMimeData(mime);
  QTextCursor caret(PRTB->document());
  caret.setPosition(0);
  PRTB->setTextCursor(caret);
}

}  // namespace reports
