// Feeds arbitrary bytes as a zip archive to TZip's unpacking, read from memory, into
// a folder emptied after each input. Besides crashes and sanitizer reports it traps
// when anything appears beside the destination folder (a name that escaped it) or
// when a file is left in it that the unpacking did not report (a failed run is undone,
// so a file stays only when the whole run succeeded and reported it).

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/errors.h"
#include "core/text.h"
#include "platform/service.h"
#include "platform/zip_archives.h"
#include "testing/fuzz_check.h"
#include "testing/fuzz_folder.h"
#include "zip/ZipUnit.h"

using zelmor::testing::FuzzCheck;
using zelmor::testing::FuzzFolder;
using zelmor::testing::WatchedFolder;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const WatchedFolder box(FuzzFolder().string() + "/box");
  static const WatchedFolder dest(box.Path() + "/dest");
  static const std::u16string destText = zelmor::Utf8ToU16(dest.Path());
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
  FuzzCheck(box.CountBesides("dest") == 0);
  // Every file in it is one the unpacking reported: no half-written file stays behind.
  dest.Drain([&](const WatchedFolder::Entry& e) {
    const std::u16string path = zelmor::Utf8ToU16(e.Path, zelmor::Utf8Invalid::Escape);
    bool listed = false;
    for (const auto& n : names.Items) listed = listed || path == n;
    FuzzCheck(listed);
  });
  return 0;
}
