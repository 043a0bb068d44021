#include "reports/rtf_document.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include "reports/model/rtf_reader.h"

namespace reports {
namespace {

QTextCharFormat Format(const RtfCharFormat& rtf) {
  QTextCharFormat f;
  if (!rtf.font.empty()) f.setFontFamilies({QString::fromStdString(rtf.font)});
  f.setFontPointSize(rtf.halfPoints / 2.0);
  f.setFontWeight(rtf.bold ? QFont::Bold : QFont::Normal);
  f.setFontItalic(rtf.italic);
  return f;
}

}  // namespace

void SetRtf(QTextDocument& doc, std::string_view rtf) {
  const RtfDocument read = ReadRtf(rtf);
  doc.clear();
  QTextCursor cursor(&doc);
  bool first = true;
  for (const RtfParagraph& p : read.paragraphs) {
    QTextBlockFormat block;
    block.setAlignment(p.centred ? Qt::AlignHCenter : Qt::AlignLeft);
    if (first) {
      cursor.setBlockFormat(block);
      cursor.setBlockCharFormat(Format(p.end));
    } else {
      cursor.insertBlock(block, Format(p.end));
    }
    first = false;
    for (const RtfRun& r : p.runs) cursor.insertText(QString::fromStdString(r.text), Format(r.format));
  }
}

}  // namespace reports
