#pragma once
// The report's RTF shown in a QTextDocument, through our own reader.
#include <string_view>

class QTextDocument;

namespace reports {

// Replaces the document's content with the RTF's paragraphs and formats.
void SetRtf(QTextDocument& doc, std::string_view rtf);

}  // namespace reports
