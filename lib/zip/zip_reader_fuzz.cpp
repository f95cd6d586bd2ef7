// Feeds arbitrary bytes as a zip archive to TZip's unpacking, into a fresh folder
// each time. Besides crashes and sanitizer reports it traps when anything appears
// beside the destination folder (a name that escaped it) or when a file is left in
// it that the unpacking did not report (extraction is all or nothing per entry).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/errors.h"
#include "core/text.h"
#include "testing/fuzz_check.h"
#include "zip/ZipUnit.h"

using zelmor::testing::FuzzCheck;
using zelmor::testing::FuzzFolder;

namespace {

namespace fs = std::filesystem;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path archive = FuzzFolder() / "a.zip";
  const fs::path dest = FuzzFolder() / "box" / "dest";
  fs::remove_all(FuzzFolder() / "box");
  fs::create_directories(dest);
  {
    std::ofstream out(archive, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  zelmor::TStringList names;
  try {
    zelmor::TZip::DescompactarERetornarNomes(zelmor::Utf8ToU16(archive.string()), zelmor::Utf8ToU16(dest.string()),
                                             true, {}, {}, u"", &names);
  } catch (const zelmor::EZelmorError&) {
    // Refusals and damaged archives are answers, not faults.
  }
  // Nothing but the destination folder beside it, ever.
  std::size_t beside = 0;
  for (const auto& e : fs::directory_iterator(FuzzFolder() / "box")) beside += e.path() == dest ? 0 : 1;
  FuzzCheck(beside == 0);
  // Every file in it is one the unpacking reported: no half-written file stays behind.
  for (const auto& e : fs::recursive_directory_iterator(dest)) {
    if (!e.is_regular_file()) continue;
    bool listed = false;
    for (const auto& n : names.Items) listed = listed || zelmor::Utf8ToU16(e.path().string(), zelmor::Utf8Invalid::Escape) == n;
    FuzzCheck(listed);
  }
  return 0;
}
