#pragma once
// Texts that come from drives or files are shown as they are: never as rich
// text, never with "&" turned into an access key.
#include <QString>
#include <string>

class QLabel;

namespace talvero {

inline QString ToQ(const std::string& s) { return QString::fromStdString(s); }
inline std::string FromQ(const QString& s) { return s.toStdString(); }

// A menu caption that shows text literally ("&" doubled).
QString LiteralMenuText(const std::string& text);
// Sets a label's text as plain text.
void SetPlainText(QLabel* label, const std::string& text);

}  // namespace talvero
