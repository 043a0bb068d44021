#include "store/step_template.h"

#include <algorithm>

#include "runtime/text.h"

std::string FillTemplate(std::string_view tmpl, std::string_view p1, std::string_view p2, const std::string* units) {
  std::string out;
  bool oneDone = false, twoDone = false;
  for (size_t i = 0; i < tmpl.size(); ++i) {
    if (tmpl[i] == '~' && i + 1 < tmpl.size()) {
      char c = tmpl[i + 1];
      if (c == '1' && !oneDone) {
        out += p1;
        oneDone = true;
        ++i;
        continue;
      }
      if (c == '2' && !twoDone) {
        out += p2;
        twoDone = true;
        ++i;
        continue;
      }
      if (c == 'u' && units) {
        out += *units;
        ++i;
        continue;
      }
    }
    out += tmpl[i];
  }
  return out;
}

PrototypePattern PrototypePattern::From(std::string_view prototype) {
  PrototypePattern p;
  std::string pattern(prototype);
  size_t star = std::string::npos;
  if (size_t one = pattern.find("~1"); one != std::string::npos) {
    p.hasOne = true;
    p.lead = pattern.substr(0, one);
    p.trail = pattern.substr(one + 2);
    pattern.replace(one, 2, "*");
    star = one;
  }
  if (size_t two = pattern.find("~2", star == std::string::npos ? 0 : star + 1); two != std::string::npos) {
    size_t from = star == std::string::npos ? 0 : star + 1;
    p.middle = pattern.substr(from, two - from);
    p.trail = pattern.substr(two + 2);
    pattern.replace(two, 2, "*");
  }
  // "[" must match itself; everything else keeps its pattern meaning.
  p.pattern = rt::Replace(pattern, "[", "[[]");
  return p;
}

static void CutTrail(std::string& s, const std::string& trail) {
  s.erase(s.size() - std::min(s.size(), trail.size()));
}

void PrototypePattern::CutOperands(std::string_view text, std::string& p1, std::string& p2) const {
  if (!hasOne) return;
  size_t start = std::min(lead.size(), text.size());
  if (middle.empty()) {
    p1 = std::string(text.substr(start));
    CutTrail(p1, trail);
    return;
  }
  // The first operand begins after the leading literal, so the middle one is
  // looked for from there (it may occur inside the leading literal too).
  size_t k = text.find(middle, start);
  if (k == std::string_view::npos) k = text.size();
  p1 = std::string(text.substr(start, k - start));
  p2 = std::string(text.substr(std::min(text.size(), k + middle.size())));
  CutTrail(p2, trail);
}
