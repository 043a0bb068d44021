#include "fuzz/codec_library.h"

#include <cstdio>
#include <cstdlib>

#include "fuzz/fuzz_target.h"
#include "store/threads_mod.h"

namespace fuzz {

CodecLibrary& CodecLibrary::Get() {
  static CodecLibrary* lib = [] {
    auto* l = new CodecLibrary;
    auto opened = LibraryDatabase::Open(BinFolder() + "/KOVdata.KOV");
    if (!opened.ok()) {
      std::fprintf(stderr, "the catalogue did not open: %s\n", opened.error.c_str());
      std::abort();
    }
    l->library = std::move(*opened);
    l->display.UnitsName = "mm";
    l->program.Attach(l->library->StepsRS.get(), &l->display);
    ThreadsMod::Bind(l->library->ThreadsRS.get(), &l->display);
    return l;
  }();
  return *lib;
}

}  // namespace fuzz
