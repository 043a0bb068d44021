#pragma once
// The built catalogue, opened once per process, with a program bound to it.
#include <memory>

#include "store/display_context.h"
#include "store/library_database.h"
#include "store/program.h"

namespace fuzz {

struct CodecLibrary {
  static CodecLibrary& Get();
  std::unique_ptr<LibraryDatabase> library;
  DisplayContext display;
  Program program;
};

}  // namespace fuzz
