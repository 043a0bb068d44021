#pragma once
// Finds and loads the picture list box library the way the program meets it:
// by the per-user registry of controls, through its class factory.
#include <string>

#include "listbox/tivolen_interface.h"

struct ListControlLibrary {
  tivolen::ITivolenFactory* factory = nullptr;  // nullptr: not loaded, see reason
  std::string path;                             // the library tried
  std::string reason;
};

// The library beside the program ($TALVERO_BIN when set, else the program's
// own folder).
std::string DefaultListControlPath();

// The control's factory from the library the registry names. When it names
// none, or a file that is gone, `candidate` is registered first through its
// own DllRegisterServer. A loaded library stays loaded for the run: the
// controls and the pictures they were handed keep code of it.
ListControlLibrary LoadListControl(const std::string& candidate);
