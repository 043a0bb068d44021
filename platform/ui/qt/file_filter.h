#pragma once
// File-dialog filters arrive in the legacy form "Name (*.X)|*.X|Other|*.Y;*.Z".
#include <string>
#include <vector>

namespace talvero {

struct QtFileFilter {
  std::vector<std::string> entries;  // each "Name (*.X *.x)" or a bare pattern list
};

// Pairs of description and patterns become one Qt filter each. Patterns are
// also offered in lower case, since Linux file names are case-sensitive and
// files saved on other systems often come lower case. An odd trailing part is
// taken as patterns with no description.
QtFileFilter ConvertFileFilter(const std::string& legacy);

}  // namespace talvero
