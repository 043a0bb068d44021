#pragma once
// Where the two metafiles of one export go, and where the charts sit on a
// printed page.
#include <functional>
#include <string>
#include <utility>

#include "platform/clock/clock.h"

namespace scope {

// The drive's text as a file name part: "/", "\" and control characters become "_".
std::string SafeFilePart(const std::string& text);

// folder/YYMMDDHHMMU name.WMF and .../L name.WMF for one clock reading. When
// either exists already, "~2", "~3", ... goes before ".WMF" of both.
std::pair<std::string, std::string> MetafileNames(const std::string& folder, const talvero::LocalDateTime& t,
                                                  const std::string& driveName,
                                                  const std::function<bool(const std::string&)>& exists);

struct PageLayout {
  int headerY = 0;  // top of the header line
  int mx = 0, my = 0, width = 0, height = 0;  // upper chart; the lower sits height below
};
// One page pw x ph device pixels: margins of a twentieth, two charts between.
PageLayout LayoutPage(int pw, int ph);

}  // namespace scope
