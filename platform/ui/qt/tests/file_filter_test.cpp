#include "platform/ui/qt/file_filter.h"

#include <gtest/gtest.h>

namespace talvero {
namespace {

struct FilterCase {
  const char* legacy;
  std::vector<std::string> qt;
};

TEST(FileFilter, LegacyPairsBecomeQtFilters) {
  const FilterCase cases[] = {
      {"Applications (*.APP)|*.APP|All files (*.*)|*.*",
       {"Applications (*.APP *.app)", "All files (*.*)"}},
      {"*.APP", {"*.APP *.app"}},
      {"Firmware|*.BIN;*.HEX", {"Firmware (*.BIN *.bin *.HEX *.hex)"}},
      {"Reports (*.rtf)|*.rtf", {"Reports (*.rtf)"}},
      {"", {}},
      {"Broken|", {}},
      {"Text files|*.txt|*.CSV", {"Text files (*.txt)", "*.CSV *.csv"}},
  };
  for (const FilterCase& c : cases) {
    EXPECT_EQ(ConvertFileFilter(c.legacy).entries, c.qt) << c.legacy;
  }
}

}  // namespace
}  // namespace talvero
