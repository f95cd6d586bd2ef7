// Feeds arbitrary bytes as a zip archive to TZip's unpacking, into a fresh folder
// each time. Besides crashes and sanitizer reports it traps when anything appears
// beside the destination folder (a name that escaped it) or when a file is left in
// it that the unpacking did not report (extraction is all or nothing per entry).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/errors.h"
#include "core/text.h"
#include "zip/ZipUnit.h"

namespace {

void Check(bool ok) {
  if (!ok) __builtin_trap();
}

namespace fs = std::filesystem;

const fs::path& Root() {
  static const fs::path root = [] {
    std::string pattern = (fs::temp_directory_path() / "zelmor-zip-fuzz-XXXXXX").string();
    const char* made = mkdtemp(pattern.data());
    if (made == nullptr) std::abort();
    return fs::path(made);
  }();
  return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const fs::path archive = Root() / "a.zip";
  const fs::path dest = Root() / "box" / "dest";
  fs::remove_all(Root() / "box");
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
  for (const auto& e : fs::directory_iterator(Root() / "box")) beside += e.path() == dest ? 0 : 1;
  Check(beside == 0);
  // Every file in it is one the unpacking reported: no half-written file stays behind.
  for (const auto& e : fs::recursive_directory_iterator(dest)) {
    if (!e.is_regular_file()) continue;
    bool listed = false;
    for (const auto& n : names.Items) listed = listed || zelmor::Utf8ToU16(e.path().string(), zelmor::Utf8Invalid::Escape) == n;
    Check(listed);
  }
  return 0;
}
