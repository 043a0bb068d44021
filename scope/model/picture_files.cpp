#include "scope/model/picture_files.h"

#include <cmath>
#include <cstdio>

#include "runtime/rounding.h"

namespace scope {

std::string SafeFilePart(const std::string& text) {
  std::string out = text;
  for (char& c : out)
    if (c == '/' || c == '\\' || uint8_t(c) < 32 || c == 127) c = '_';
  return out;
}

std::pair<std::string, std::string> MetafileNames(const std::string& folder, const talvero::LocalDateTime& t,
                                                  const std::string& driveName,
                                                  const std::function<bool(const std::string&)>& exists) {
  char stamp[16];
  std::snprintf(stamp, sizeof stamp, "%02d%02d%02d%02d%02d", t.year % 100, t.month, t.day, t.hour, t.minute);
  const std::string base = folder + "/" + stamp;
  const std::string name = SafeFilePart(driveName);
  for (int n = 1;; ++n) {
    const std::string tail = n == 1 ? ".WMF" : "~" + std::to_string(n) + ".WMF";
    std::pair<std::string, std::string> p{base + "U " + name + tail, base + "L " + name + tail};
    if (!exists || (!exists(p.first) && !exists(p.second))) return p;
  }
}

PageLayout LayoutPage(int pw, int ph) {
  PageLayout l;
  l.my = rt::CLng(ph / 20.0);
  l.mx = rt::CLng(pw / 20.0);
  l.height = rt::CLng((ph - 2.0 * l.my) / 2);
  l.width = pw - 2 * l.mx;
  l.headerY = l.my / 4;
  return l;
}

}  // namespace scope
