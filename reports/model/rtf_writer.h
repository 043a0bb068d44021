#pragma once
// The report's RTF text, built by small appends. The closing brace is added
// only when the text is handed on, so sections can keep appending.
#include <string>
#include <string_view>

namespace reports {

class RtfWriter {
 public:
  static constexpr std::string_view kHeader =
      "{\\rtf1\\ansi \\deff{\\fonttbl{\\f0\\froman\\fcharset0\\fprq2 Times New Roman;}"
      "{\\f1\\fswiss\\fcharset0\\fprq2 Arial;}{\\f2\\froman\\fcharset0\\fprq2 Courier New;}}";

  // True: a display run, whose sections collect in one document.
  bool DisplayMode = false;

  void Add(std::string_view text) { buffer_ += text; }  // raw RTF
  void Bold() { buffer_ += "\\b "; }
  void Italic() { buffer_ += "\\i "; }
  void Bullet() { buffer_ += "\\bullet "; }
  void Center() { buffer_ += "\\qc "; }
  void NoCenter() { buffer_ += "\\ql "; }
  void Normal() { buffer_ += "\\plain "; }
  void Para() { buffer_ += "\\par "; }
  void ChangeFont(int font, int size);
  void Dashes(int n);
  void Page() {}
  // Each piece before a line feed becomes a paragraph; a rest stays open.
  void DumpDelimitedString(std::string_view text);

  // Print mode only: a new document per section.
  void ClearText() {
    if (!DisplayMode) Zap();
  }
  void Zap() { buffer_ = kHeader; }

  const std::string& Buffer() const { return buffer_; }
  std::string Text() const { return buffer_ + "}"; }

 private:
  std::string buffer_{kHeader};
};

}  // namespace reports
