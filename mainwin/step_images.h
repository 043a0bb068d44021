#pragma once
// The main window's image list of row pictures, by key: "on", "off" (an
// event switched on or off) and the step markers "step-mt", "step-cur",
// "step-bad". White is the list's transparent colour.
#include <map>
#include <string>
#include <vector>

#include "listbox/picture.h"

class StepImageList {
 public:
  StepImageList();
  // nullptr for a key the list does not hold.
  tivolen::PicturePtr Picture(const std::string& key) const;
  std::vector<std::string> Keys() const;

 private:
  std::map<std::string, tivolen::PicturePtr> pictures_;
};
