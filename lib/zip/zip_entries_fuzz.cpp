// Well-formed archives with fuzzed entries, unpacked by TZip into a fresh folder.
// Where zip_reader_fuzz feeds raw bytes (most of which fail the format's checks),
// this one writes a valid archive of stored entries from the input, so every run
// reaches the rules on names and kinds: hostile names ("..", absolute, drive letters,
// "\" separators, control characters), folders, symbolic links, the UTF-8 flag.
//
// Input: entries separated by NUL; each is one kind byte, the name, LF, the content.
// Kind: bits 0-1 file, folder, symbolic link, or file with the DOS folder attribute;
// bit 2 the UTF-8 flag; bit 3 made on Unix (else on DOS).
//
// The archive is read from memory, and the folder emptied after each input. Besides
// crashes and sanitizer reports it traps when anything appears beside the
// destination folder, when a symbolic link appears in it, when a file stays after a
// failed run or was not reported, or when a file holds bytes that are not some file
// entry's content.

#include <fcntl.h>
#include <unistd.h>
#include <cstddef>
#include <cstdint>

#include <string>
#include <vector>

#include "adapters/linux/file_descriptor.h"
#include "core/errors.h"
#include "core/text.h"
#include "platform/service.h"
#include "platform/zip_archives.h"
#include "testing/fuzz_check.h"
#include "testing/fuzz_folder.h"
#include "testing/zip_bytes.h"
#include "zip/ZipUnit.h"

using zelmor::testing::FuzzCheck;
using zelmor::testing::FuzzFolder;
using zelmor::testing::Crc32;
using zelmor::testing::Put16;
using zelmor::testing::Put32;
using zelmor::testing::WatchedFolder;

namespace {

struct Entry {
  unsigned Kind = 0;
  std::string Name, Data;
};

std::vector<Entry> EntriesOf(std::string_view input) {
  std::vector<Entry> entries;
  entries.reserve(16);
  std::size_t from = 0;
  while (from < input.size() && entries.size() < 16) {
    std::size_t cut = input.find('\0', from);
    if (cut == std::string_view::npos) cut = input.size();
    const std::string_view piece = input.substr(from, cut - from);
    from = cut + 1;
    if (piece.empty()) continue;
    Entry e;
    e.Kind = static_cast<unsigned char>(piece[0]);
    const std::string_view rest = piece.substr(1);
    const std::size_t lf = rest.find('\n');
    e.Name = std::string(rest.substr(0, lf));
    if (lf != std::string_view::npos) e.Data = std::string(rest.substr(lf + 1));
    if ((e.Kind & 3) == 1 && (e.Name.empty() || e.Name.back() != '/')) e.Name += '/';
    if ((e.Kind & 3) == 1) e.Data.clear();
    if (e.Name.size() > 0xFFFF) e.Name.resize(0xFFFF);
    entries.push_back(std::move(e));
  }
  return entries;
}

// A valid archive of stored entries.
std::string Archive(const std::vector<Entry>& entries) {
  std::size_t names = 0, bodies = 0;
  for (const Entry& e : entries) {
    names += e.Name.size();
    bodies += e.Data.size();
  }
  // One allocation each, not one per doubling as they grow a byte at a time.
  std::string z, central;
  central.reserve(46 * entries.size() + names);
  z.reserve(30 * entries.size() + names + bodies + central.capacity() + 22);
  for (const Entry& e : entries) {
    const unsigned type = e.Kind & 3;
    const bool onUnix = (e.Kind & 8) != 0;
    const unsigned flags = (e.Kind & 4) ? 0x0800 : 0;
    std::uint32_t external = 0;
    if (onUnix) {
      const std::uint32_t mode = type == 1 ? 040755 : type == 2 ? 0120777 : 0100644;
      external = mode << 16;
    } else if (type == 1 || type == 3) {
      external = 0x10;  // the DOS folder attribute
    }
    const std::uint32_t offset = static_cast<std::uint32_t>(z.size());
    const std::uint32_t crc = Crc32(e.Data);
    Put32(z, 0x04034b50);
    Put16(z, 10);
    Put16(z, flags);
    Put16(z, 0);
    Put16(z, 0);
    Put16(z, 0x21);
    Put32(z, crc);
    Put32(z, static_cast<std::uint32_t>(e.Data.size()));
    Put32(z, static_cast<std::uint32_t>(e.Data.size()));
    Put16(z, static_cast<unsigned>(e.Name.size()));
    Put16(z, 0);
    z += e.Name;
    z += e.Data;
    Put32(central, 0x02014b50);
    Put16(central, (onUnix ? 3u << 8 : 0u) | 20);
    Put16(central, 10);
    Put16(central, flags);
    Put16(central, 0);
    Put16(central, 0);
    Put16(central, 0x21);
    Put32(central, crc);
    Put32(central, static_cast<std::uint32_t>(e.Data.size()));
    Put32(central, static_cast<std::uint32_t>(e.Data.size()));
    Put16(central, static_cast<unsigned>(e.Name.size()));
    Put16(central, 0);
    Put16(central, 0);
    Put16(central, 0);
    Put16(central, 0);
    Put32(central, external);
    Put32(central, offset);
    central += e.Name;
  }
  const std::uint32_t cd = static_cast<std::uint32_t>(z.size());
  z += central;
  Put32(z, 0x06054b50);
  Put16(z, 0);
  Put16(z, 0);
  Put16(z, static_cast<unsigned>(entries.size()));
  Put16(z, static_cast<unsigned>(entries.size()));
  Put32(z, static_cast<std::uint32_t>(central.size()));
  Put32(z, cd);
  Put16(z, 0);
  return z;
}

// The file `name` in the open folder `folder`, whole (a link is not followed).
std::string Contents(int folder, std::string_view name) {
  using zelmor::adapters::posix::Retry;
  const std::string n(name);
  zelmor::adapters::posix::FileDescriptor file(
      Retry([&] { return openat(folder, n.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC); }));
  FuzzCheck(static_cast<bool>(file));
  std::string out;
  char buffer[4096];
  // An entry's content is at most the input's length, far below this many reads.
  for (int reads = 0; reads < (1 << 16); ++reads) {
    const ssize_t got = Retry([&] { return read(file.Get(), buffer, sizeof buffer); });
    FuzzCheck(got >= 0);
    if (got == 0) break;
    out.append(buffer, static_cast<std::size_t>(got));
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<Entry> entries = EntriesOf(std::string_view(reinterpret_cast<const char*>(data), size));
  if (entries.empty()) return 0;
  static const WatchedFolder root(FuzzFolder().string());
  static const WatchedFolder box(root.Path() + "/box");
  static const WatchedFolder dest(box.Path() + "/dest");
  static const std::u16string destText = zelmor::Utf8ToU16(dest.Path());
  zelmor::TStringList names;
  bool failed = false;
  try {
    auto reader =
        zelmor::platform::Service<zelmor::platform::ZipArchives>::Get().OpenBytes(Archive(entries), u"entrada");
    zelmor::zip::Unpack(*reader, u"entrada", destText, true, {}, {}, u"", &names);
  } catch (const zelmor::EZelmorError&) {
    // A refused archive or an entry that cannot be written is an answer; the run is undone.
    failed = true;
  }
  FuzzCheck(box.CountBesides("dest") == 0);
  FuzzCheck(root.CountBesides("box") == 0);
  dest.Drain([&](const WatchedFolder::Entry& e) {
    FuzzCheck(!e.Link);
    FuzzCheck(!failed);  // a failed run leaves no file
    const std::u16string path = zelmor::Utf8ToU16(e.Path, zelmor::Utf8Invalid::Escape);
    bool listed = false;
    for (const auto& n : names.Items) listed = listed || path == n;
    FuzzCheck(listed);
    FuzzCheck(e.Regular);
    const std::string got = Contents(e.Folder, e.Name);
    bool known = false;
    for (const Entry& entry : entries) known = known || ((entry.Kind & 3) != 1 && entry.Data == got);
    FuzzCheck(known);
  });
  return 0;
}
