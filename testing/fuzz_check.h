// What the fuzz targets share: a property that does not hold ends the run as a crash
// (libFuzzer keeps the input), and a folder of their own for the files a run writes.
#pragma once

#include <filesystem>

#include "testing/temp_store.h"

namespace zelmor::testing {

inline void FuzzCheck(bool ok) {
  if (!ok) __builtin_trap();
}

// A temporary folder for the whole run, removed when the run ends.
inline const std::filesystem::path& FuzzFolder() {
  static const TemporaryFolder folder;
  static const std::filesystem::path path(folder.Path());
  return path;
}

}  // namespace zelmor::testing
