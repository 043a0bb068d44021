#include "reports/model/rtf_writer.h"

namespace reports {

void RtfWriter::ChangeFont(int font, int size) {
  buffer_ += "\\f" + std::to_string(font) + "\\fs" + std::to_string(2 * size) + " ";
}

void RtfWriter::Dashes(int n) {
  for (int i = 0; i < n; ++i) buffer_ += "\\emdash ";
  Para();
}

void RtfWriter::DumpDelimitedString(std::string_view text) {
  size_t start = 0;
  for (size_t lf = text.find('\n'); lf != std::string_view::npos; lf = text.find('\n', start)) {
    buffer_ += text.substr(start, lf - start);
    Para();
    start = lf + 1;
  }
  buffer_ += text.substr(start);
}

}  // namespace reports
