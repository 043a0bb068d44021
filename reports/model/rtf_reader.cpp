#include "reports/model/rtf_reader.h"

#include <cstdint>
#include <map>
#include <set>

#include "runtime/cp1252.h"

namespace reports {
namespace {

enum class Dest { Text, FontTable, Skip };

struct State {
  int font = -1;  // -1: the default font
  int halfPoints = 24;
  bool bold = false, italic = false, centred = false;
  int uc = 1;
  Dest dest = Dest::Text;
};

constexpr size_t kMaxDepth = 4096;

class Reader {
 public:
  explicit Reader(std::string_view in) : in_(in) { stack_.push_back(State{}); }

  RtfDocument Run() {
    while (pos_ < in_.size()) {
      const char c = in_[pos_++];
      if (c == '{') {
        Open();
      } else if (c == '}') {
        Close();
      } else if (c == '\\') {
        Control();
      } else if (c == '\r' || c == '\n') {
        // line breaks in the source carry no meaning
      } else {
        Byte(uint8_t(c));
      }
    }
    if (!para_.runs.empty()) {
      para_.end = para_.runs.back().format;
      doc_.paragraphs.push_back(std::move(para_));
    }
    return std::move(doc_);
  }

 private:
  State& S() { return stack_.back(); }

  void Open() {
    if (stack_.size() >= kMaxDepth) {
      ++overflow_;
      return;
    }
    stack_.push_back(S());
  }
  void Close() {
    if (overflow_ > 0) {
      --overflow_;
      return;
    }
    if (S().dest == Dest::FontTable) CommitFontName();
    if (stack_.size() > 1) stack_.pop_back();  // a stray closing brace is ignored
  }

  void Control() {
    if (pos_ >= in_.size()) return;
    const char c = in_[pos_];
    if (IsLetter(c)) return Word();
    ++pos_;
    switch (c) {
      case '\\': case '{': case '}': return Char(char32_t(uint8_t(c)));
      case '\'': return Hex();
      case '*': S().dest = Dest::Skip; return;
      case '~': return Char(0xA0);
      case '\r': case '\n': return Paragraph();
      default: return;  // \- \_ \| \: and the like: nothing to show
    }
  }

  static bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  void Word() {
    const size_t start = pos_;
    while (pos_ < in_.size() && IsLetter(in_[pos_]) && pos_ - start < 32) ++pos_;
    const std::string word(in_.substr(start, pos_ - start));
    while (pos_ < in_.size() && IsLetter(in_[pos_])) ++pos_;  // an absurdly long word
    bool hasParam = false, negative = false;
    long long param = 0;
    if (pos_ < in_.size() && in_[pos_] == '-' && pos_ + 1 < in_.size() && IsDigit(in_[pos_ + 1])) {
      negative = true;
      ++pos_;
    }
    int digits = 0;
    while (pos_ < in_.size() && IsDigit(in_[pos_])) {
      if (digits++ < 10) param = param * 10 + (in_[pos_] - '0');
      hasParam = true;
      ++pos_;
    }
    if (negative) param = -param;
    if (pos_ < in_.size() && in_[pos_] == ' ') ++pos_;
    Apply(word, hasParam, int(param < -2147483647 ? -2147483647 : param > 2147483647 ? 2147483647 : param));
  }

  void Apply(const std::string& w, bool hasParam, int p) {
    State& s = S();
    if (w == "f") {
      if (s.dest == Dest::FontTable) {
        CommitFontName();
        tableFont_ = p;
      } else {
        s.font = p;
      }
    } else if (w == "fs") {
      s.halfPoints = hasParam && p > 0 && p <= 3276 ? p : 24;
    } else if (w == "b") {
      s.bold = !hasParam || p != 0;
    } else if (w == "i") {
      s.italic = !hasParam || p != 0;
    } else if (w == "plain") {
      s.font = -1;
      s.halfPoints = 24;
      s.bold = s.italic = false;
    } else if (w == "par") {
      Paragraph();
    } else if (w == "qc") {
      s.centred = true;
    } else if (w == "ql" || w == "pard") {
      s.centred = false;
    } else if (w == "emdash") {
      Char(0x2014);
    } else if (w == "endash") {
      Char(0x2013);
    } else if (w == "bullet") {
      Char(0x2022);
    } else if (w == "tab") {
      Char('\t');
    } else if (w == "line") {
      Char(0x2028);
    } else if (w == "lquote") {
      Char(0x2018);
    } else if (w == "rquote") {
      Char(0x2019);
    } else if (w == "ldblquote") {
      Char(0x201C);
    } else if (w == "rdblquote") {
      Char(0x201D);
    } else if (w == "u") {
      Unicode(p);
    } else if (w == "uc") {
      s.uc = p >= 0 && p < 16 ? p : 1;
    } else if (w == "deff") {
      deff_ = hasParam ? p : 0;
    } else if (w == "fonttbl") {
      s.dest = Dest::FontTable;
      tableFont_ = 0;
      fontName_.clear();
    } else if (kSkipped.count(w)) {
      s.dest = Dest::Skip;
    }
    // every other word is skipped
  }

  void Hex() {
    int v = 0;
    for (int k = 0; k < 2; ++k) {
      if (pos_ >= in_.size()) return;
      const char h = in_[pos_];
      int d = IsDigit(h) ? h - '0' : (h >= 'a' && h <= 'f') ? h - 'a' + 10 : (h >= 'A' && h <= 'F') ? h - 'A' + 10 : -1;
      if (d < 0) return;
      v = v * 16 + d;
      ++pos_;
    }
    Byte(uint8_t(v));
  }

  void Unicode(int p) {
    char32_t unit = char32_t(p < 0 ? p + 65536 : p) & 0xFFFF;
    if (unit >= 0xD800 && unit < 0xDC00) {
      highSurrogate_ = unit;
    } else if (unit >= 0xDC00 && unit < 0xE000) {
      if (highSurrogate_) Char(0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00));
      highSurrogate_ = 0;
    } else {
      Char(unit);
    }
    SkipFallback(S().uc);
  }

  // The fallback after \uN: that many characters, a \'hh counting as one.
  void SkipFallback(int n) {
    while (n > 0 && pos_ < in_.size()) {
      const char c = in_[pos_];
      if (c == '{' || c == '}') return;
      if (c == '\\') {
        if (pos_ + 1 < in_.size() && in_[pos_ + 1] == '\'') pos_ += 4;
        else if (pos_ + 1 < in_.size() && !IsLetter(in_[pos_ + 1])) pos_ += 2;
        else return;  // a control word ends the fallback
      } else if (c != '\r' && c != '\n') {
        ++pos_;
      } else {
        ++pos_;
        continue;
      }
      --n;
    }
    if (pos_ > in_.size()) pos_ = in_.size();
  }

  // A byte of text: Windows-1252 as the header declares.
  void Byte(uint8_t b) {
    if (b < 0x80) return Char(b);
    const std::string utf8 = rt::Cp1252ToUtf8(std::string(1, char(b)));
    if (S().dest == Dest::FontTable) fontName_ += utf8;
    else if (S().dest == Dest::Text) AddText(utf8);
  }

  void Char(char32_t cp) {
    if (S().dest == Dest::Skip) return;
    if (S().dest == Dest::FontTable) {
      if (cp == ';') CommitFontName();
      else rt::AppendUtf8(fontName_, cp);
      return;
    }
    if (cp < 0x20 && cp != '\t') return;
    std::string utf8;
    rt::AppendUtf8(utf8, cp);
    AddText(utf8);
  }

  RtfCharFormat Current() {
    const State& s = S();
    RtfCharFormat f;
    const int font = s.font < 0 ? deff_ : s.font;
    if (auto it = fonts_.find(font); it != fonts_.end()) f.font = it->second;
    f.halfPoints = s.halfPoints;
    f.bold = s.bold;
    f.italic = s.italic;
    return f;
  }

  void AddText(const std::string& utf8) {
    const RtfCharFormat f = Current();
    if (para_.runs.empty() || !(para_.runs.back().format == f)) para_.runs.push_back(RtfRun{"", f});
    para_.runs.back().text += utf8;
  }

  void Paragraph() {
    if (S().dest != Dest::Text) return;
    para_.centred = S().centred;
    para_.end = Current();
    doc_.paragraphs.push_back(std::move(para_));
    para_ = RtfParagraph{};
  }

  void CommitFontName() {
    size_t b = fontName_.find_first_not_of(' ');
    size_t e = fontName_.find_last_not_of(' ');
    if (b != std::string::npos) fonts_[tableFont_] = fontName_.substr(b, e - b + 1);
    fontName_.clear();
  }

  static inline const std::set<std::string> kSkipped = {
      "colortbl", "stylesheet", "info", "pict", "header", "footer", "headerl", "headerr",
      "footerl", "footerr", "footnote", "field", "fldinst", "object", "listtable",
      "listoverridetable", "revtbl", "generator", "xmlnstbl", "themedata", "datastore"};

  std::string_view in_;
  size_t pos_ = 0;
  std::vector<State> stack_;
  size_t overflow_ = 0;
  std::map<int, std::string> fonts_;
  int tableFont_ = 0;
  std::string fontName_;
  int deff_ = 0;
  char32_t highSurrogate_ = 0;
  RtfDocument doc_;
  RtfParagraph para_;
};

}  // namespace

std::string RtfParagraph::Text() const {
  std::string t;
  for (const RtfRun& r : runs) t += r.text;
  return t;
}

std::string RtfDocument::PlainText() const {
  std::string t;
  for (const RtfParagraph& p : paragraphs) t += p.Text() + "\n";
  return t;
}

RtfDocument ReadRtf(std::string_view rtf) { return Reader(rtf).Run(); }

}  // namespace reports
