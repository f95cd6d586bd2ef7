// Feeds arbitrary bytes as a zip archive to TZip's unpacking, read from memory, into
// a folder emptied after each input. Besides crashes and sanitizer reports it traps
// when anything appears beside the destination folder (a name that escaped it) or
// when a file is left in it that the unpacking did not report (a failed run is undone,
// so a file stays only when the whole run succeeded and reported it).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/errors.h"
#include "core/text.h"
#include "platform/service.h"
#include "platform/zip_archives.h"
#include "testing/fuzz_check.h"
#include "zip/ZipUnit.h"

using zelmor::testing::FuzzCheck;
using zelmor::testing::FuzzFolder;

namespace {

namespace fs = std::filesystem;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const fs::path box = FuzzFolder() / "box";
  static const fs::path dest = box / "dest";
  static const std::u16string destText = zelmor::Utf8ToU16(dest.string());
  static const bool made = fs::create_directories(dest);
  (void)made;
  zelmor::TStringList names;
  try {
    auto reader = zelmor::platform::Service<zelmor::platform::ZipArchives>::Get().OpenBytes(
        std::string(reinterpret_cast<const char*>(data), size), u"entrada");
    zelmor::zip::Unpack(*reader, u"entrada", destText, true, {}, {}, u"", &names);
  } catch (const zelmor::EZelmorError&) {
    // Refusals and damaged archives are answers, not faults; a failed run is undone.
    names.Clear();
  }
  // Nothing but the destination folder beside it, ever.
  std::size_t beside = 0;
  for (const auto& e : fs::directory_iterator(box)) beside += e.path() == dest ? 0 : 1;
  FuzzCheck(beside == 0);
  // Every file in it is one the unpacking reported: no half-written file stays behind.
  bool any = false;
  for (const auto& e : fs::recursive_directory_iterator(dest)) {
    any = true;
    if (!e.is_regular_file()) continue;
    bool listed = false;
    for (const auto& n : names.Items)
      listed = listed || zelmor::Utf8ToU16(e.path().string(), zelmor::Utf8Invalid::Escape) == n;
    FuzzCheck(listed);
  }
  if (any)
    for (const auto& e : fs::directory_iterator(dest)) fs::remove_all(e.path());
  return 0;
}
