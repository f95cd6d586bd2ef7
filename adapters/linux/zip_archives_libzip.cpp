// Zip archives through libzip. A new archive is written by libzip into the
// replacement file's descriptor (a source of our own), so it takes the target's
// place whole or not at all; an unpacking opens every step below its folder without
// following links, writes each entry through a replacement file in its folder, and
// keeps a journal so that a failed run is undone.
//
// libzip checks the archive's structure, inflates and checks CRCs, and writes zip64
// records. The central directory is also walked here, over the same bytes, for what
// libzip keeps to itself (local header offsets, version and flag fields, raw names),
// and the two readings must agree.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <zip.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <memory>
#include <random>
#include <vector>

#include "adapters/linux/file_descriptor.h"
#include "adapters/linux/outside_modules.h"
#include "adapters/linux/posix_files.h"
#include "adapters/linux/replacement_file.h"
#include "adapters/linux/system_services.h"
#include "core/cp437.h"
#include "core/errors.h"
#include "core/text.h"

namespace zelmor::adapters {

namespace {

using platform::ZipEntryHeader;
using platform::ZipNameEncoding;
using platform::ZipProgress;

constexpr std::size_t kChunk = 256 * 1024;
constexpr std::uint16_t kUtf8Flag = 0x0800;
constexpr std::uint16_t kExtendedTimestamp = 0x5455;  // "UT"
constexpr std::uint16_t kUnicodePath = 0x7075;
constexpr std::uint64_t kMinimumReserve = 64ull << 20;

std::u16string Text(const std::string& s) { return Utf8ToU16(s, Utf8Invalid::Escape); }

[[noreturn]] void Fail(std::u16string_view what, const std::u16string& name, const std::string& why = {}) {
  std::u16string m(what);
  m += u" \"" + name + u"\"";
  if (!why.empty()) m += u": " + Text(why);
  throw EFileError(m);
}

[[noreturn]] void Fail(std::u16string_view what, const std::string& path, int err = 0) {
  Fail(what, Text(path), err != 0 ? posix::ErrorText(err) : std::string());
}

// ---- the central directory, walked over the archive's bytes ----

std::uint16_t Get16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
std::uint32_t Get32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(Get16(b, at)) | static_cast<std::uint32_t>(Get16(b, at + 2)) << 16;
}
std::uint64_t Get64(std::string_view b, std::size_t at) {
  return static_cast<std::uint64_t>(Get32(b, at)) | static_cast<std::uint64_t>(Get32(b, at + 4)) << 32;
}

// Reads `count` bytes at `offset` of the archive; false where it ends sooner.
using ReadAt = std::function<bool(std::uint64_t offset, std::size_t count, std::string& out)>;

// The extra field with this id, or an empty view.
std::string_view ExtraField(std::string_view extra, std::uint16_t id) {
  for (std::size_t i = 0; i + 4 <= extra.size();) {
    const std::size_t len = Get16(extra, i + 2);
    if (i + 4 + len > extra.size()) break;
    if (Get16(extra, i) == id) return extra.substr(i + 4, len);
    i += 4 + len;
  }
  return {};
}

std::uint32_t Crc(std::string_view bytes) {
  return static_cast<std::uint32_t>(
      crc32(0, reinterpret_cast<const Bytef*>(bytes.data()), static_cast<uInt>(bytes.size())));
}

// The stored name as text: UTF-8 when flagged, the Unicode path field when it
// matches the stored bytes, else code page 437 (the format's rule; ASCII reads the
// same either way).
void DecodeName(ZipEntryHeader& h) {
  if ((h.Flags & kUtf8Flag) != 0) {
    h.Name = Text(h.RawName);
    h.NameEncoding = ZipNameEncoding::Utf8;
    return;
  }
  const std::string_view up = ExtraField(h.Extra, kUnicodePath);
  std::u16string name;
  if (up.size() > 5 && up[0] == 1 && Get32(up, 1) == Crc(h.RawName) && TryUtf8ToU16(up.substr(5), name)) {
    h.Name = std::move(name);
    h.NameEncoding = ZipNameEncoding::UnicodePath;
    return;
  }
  const bool ascii = std::all_of(h.RawName.begin(), h.RawName.end(), [](char c) { return (c & 0x80) == 0; });
  h.Name = ascii ? Text(h.RawName) : cp437::Decode(h.RawName);
  h.NameEncoding = ascii ? ZipNameEncoding::Utf8 : ZipNameEncoding::Cp437;
}

std::time_t FromDos(std::uint32_t dos) {
  std::tm tm{};
  tm.tm_year = static_cast<int>((dos >> 25) & 0x7F) + 80;
  tm.tm_mon = static_cast<int>((dos >> 21) & 0x0F) - 1;
  tm.tm_mday = static_cast<int>((dos >> 16) & 0x1F);
  tm.tm_hour = static_cast<int>((dos >> 11) & 0x1F);
  tm.tm_min = static_cast<int>((dos >> 5) & 0x3F);
  tm.tm_sec = static_cast<int>((dos & 0x1F) * 2);
  tm.tm_isdst = -1;
  return std::mktime(&tm);
}

// The extended-timestamp field's modification time (UTC) wins over the DOS time,
// which has no zone and two-second steps.
std::int64_t ModificationTime(const ZipEntryHeader& h) {
  const std::string_view ut = ExtraField(h.Extra, kExtendedTimestamp);
  if (ut.size() >= 5 && (ut[0] & 1) != 0) return static_cast<std::int64_t>(Get32(ut, 1));
  return static_cast<std::int64_t>(FromDos(h.DosDateTime));
}

struct Directory {
  std::vector<ZipEntryHeader> Entries;
  std::uint64_t Offset = 0;  // where the central directory starts
  bool OutOfBounds = false;  // the end record points past the archive or counts more records than fit
};

// Walks the end record (zip64's where it has one) and every central record. Empty
// `why` on success; else what is wrong.
Directory WalkDirectory(std::uint64_t size, const ReadAt& read, std::string& why) {
  Directory d;
  const std::size_t tailLength = static_cast<std::size_t>(std::min<std::uint64_t>(size, 22 + 0xFFFF + 20));
  std::string tail;
  if (tailLength < 22 || !read(size - tailLength, tailLength, tail)) {
    why = "sem registro final";
    return d;
  }
  // The last end record whose comment reaches no further than the archive.
  std::size_t at = std::string::npos;
  for (std::size_t i = tail.size() - 22 + 1; i-- > 0;) {
    if (Get32(tail, i) == 0x06054b50 && i + 22 + Get16(tail, i + 20) <= tail.size()) {
      at = i;
      break;
    }
  }
  if (at == std::string::npos) {
    why = "sem registro final";
    return d;
  }
  const std::uint64_t endAt = size - tailLength + at;
  if (Get16(tail, at + 4) != 0 || Get16(tail, at + 6) != 0) {
    why = "arquivo em vários discos";
    return d;
  }
  std::uint64_t count = Get16(tail, at + 10), cdSize = Get32(tail, at + 12), cdOffset = Get32(tail, at + 16);
  std::uint64_t directoryEnd = endAt;
  if (at >= 20 && Get32(tail, at - 20) == 0x07064b50) {
    const std::uint64_t end64 = Get64(tail, at - 20 + 8);
    std::string rec;
    if (end64 >= endAt || !read(end64, 56, rec) || Get32(rec, 0) != 0x06064b50) {
      why = "registro final zip64 inválido";
      return d;
    }
    count = Get64(rec, 32);
    cdSize = Get64(rec, 40);
    cdOffset = Get64(rec, 48);
    directoryEnd = end64;
  }
  if (cdOffset > directoryEnd || cdSize > directoryEnd - cdOffset || count > cdSize / 46 + (cdSize == 0 ? 0 : 1)) {
    why = "diretório central fora do arquivo";
    d.OutOfBounds = true;
    return d;
  }
  std::string cd;
  if (!read(cdOffset, static_cast<std::size_t>(cdSize), cd)) {
    why = "diretório central fora do arquivo";
    return d;
  }
  d.Offset = cdOffset;
  d.Entries.reserve(static_cast<std::size_t>(count));
  std::size_t pos = 0;
  for (std::uint64_t n = 0; n < count; ++n) {
    if (pos + 46 > cd.size() || Get32(cd, pos) != 0x02014b50) {
      why = "registro central " + std::to_string(n + 1) + " danificado";
      return d;
    }
    ZipEntryHeader h;
    h.VersionMadeBy = Get16(cd, pos + 4);
    h.VersionNeeded = Get16(cd, pos + 6);
    h.Flags = Get16(cd, pos + 8);
    h.CompressionMethod = Get16(cd, pos + 10);
    h.DosDateTime = Get32(cd, pos + 12);
    h.Crc32 = Get32(cd, pos + 16);
    h.CompressedSize = Get32(cd, pos + 20);
    h.UncompressedSize = Get32(cd, pos + 24);
    h.NameLength = Get16(cd, pos + 28);
    h.ExtraLength = Get16(cd, pos + 30);
    h.CommentLength = Get16(cd, pos + 32);
    h.DiskNumber = Get16(cd, pos + 34);
    h.InternalAttributes = Get16(cd, pos + 36);
    h.ExternalAttributes = Get32(cd, pos + 38);
    h.LocalHeaderOffset = Get32(cd, pos + 42);
    const std::size_t variable = std::size_t{h.NameLength} + h.ExtraLength + h.CommentLength;
    if (pos + 46 + variable > cd.size()) {
      why = "registro central " + std::to_string(n + 1) + " danificado";
      return d;
    }
    h.RawName = cd.substr(pos + 46, h.NameLength);
    h.Extra = cd.substr(pos + 46 + h.NameLength, h.ExtraLength);
    const std::string comment = cd.substr(pos + 46 + h.NameLength + h.ExtraLength, h.CommentLength);
    h.Comment = (h.Flags & kUtf8Flag) != 0 ? Text(comment) : cp437::Decode(comment);
    // zip64: the fields that overflowed, in this order.
    const std::string_view z64 = ExtraField(h.Extra, 0x0001);
    std::size_t z = 0;
    auto wide = [&](std::uint64_t& field, std::uint64_t mark, std::size_t width) {
      if (field != mark) return true;
      if (z + width > z64.size()) return false;
      field = width == 8 ? Get64(z64, z) : Get32(z64, z);
      z += width;
      return true;
    };
    std::uint64_t disk = h.DiskNumber;
    if (!wide(h.UncompressedSize, 0xFFFFFFFF, 8) || !wide(h.CompressedSize, 0xFFFFFFFF, 8) ||
        !wide(h.LocalHeaderOffset, 0xFFFFFFFF, 8) || !wide(disk, 0xFFFF, 4)) {
      why = "registro central " + std::to_string(n + 1) + " sem o campo zip64";
      return d;
    }
    h.DiskNumber = static_cast<std::uint32_t>(disk);
    DecodeName(h);
    h.ModificationTime = ModificationTime(h);
    d.Entries.push_back(std::move(h));
    pos += 46 + variable;
  }
  if (pos != cd.size()) why = "o diretório central tem mais registros que o registro final declara";
  return d;
}

// Entries whose data would overlap another's (the local header, the name and the
// compressed bytes, at least), or run into the central directory: the shape of a
// bomb that points many records at one body.
std::string Overlap(const Directory& d) {
  std::vector<const ZipEntryHeader*> order;
  order.reserve(d.Entries.size());
  for (const ZipEntryHeader& h : d.Entries) order.push_back(&h);
  std::sort(order.begin(), order.end(), [](const ZipEntryHeader* a, const ZipEntryHeader* b) {
    return a->LocalHeaderOffset < b->LocalHeaderOffset;
  });
  for (std::size_t i = 0; i < order.size(); ++i) {
    const ZipEntryHeader& h = *order[i];
    const std::uint64_t limit = i + 1 < order.size() ? order[i + 1]->LocalHeaderOffset : d.Offset;
    const std::uint64_t least = 30 + std::uint64_t{h.NameLength};
    if (h.LocalHeaderOffset > limit || limit - h.LocalHeaderOffset < least ||
        limit - h.LocalHeaderOffset - least < h.CompressedSize)
      return "os dados de \"" + U16ToUtf8(h.Name) + "\" se sobrepõem a outra entrada";
  }
  return {};
}

// ---- writing ----

std::string LibzipError(zip_error_t* e) { return zip_error_strerror(e); }

// A source's answer to libzip's ZIP_SOURCE_STAT: its size alone.
zip_int64_t StatOfSize(std::uint64_t size, void* data, zip_uint64_t len, zip_error_t* error) {
  auto* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, len, error);
  if (st == nullptr) return -1;
  zip_stat_init(st);
  st->valid = ZIP_STAT_SIZE;
  st->size = size;
  return sizeof(zip_stat_t);
}

// A source's answer to ZIP_SOURCE_FREE, for the sources this file makes with new.
template <class Source>
zip_int64_t FreeSource(Source* self) {
  zip_error_fini(&self->Error);
  delete self;
  return 0;
}

// One file to pack, read by libzip when the archive is finished.
struct FileToPack {
  std::string Path;
  std::uint64_t Size = 0;
  dev_t Device = 0;
  ino_t Inode = 0;
  ZipEntryHeader Header;
  const ZipProgress* Progress = nullptr;
  std::u16string* Failure = nullptr;  // the writer's first failure, in words
  posix::FileDescriptor File;
  std::uint64_t Done = 0;
  zip_error_t Error{};

  zip_int64_t Refuse(const std::string& why, int code = ZIP_ER_READ, int err = 0) {
    if (Failure->empty()) *Failure = u"Não foi possível ler o arquivo \"" + Text(Path) + u"\": " + Text(why);
    zip_error_set(&Error, code, err);
    return -1;
  }

  static zip_int64_t Call(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    auto* self = static_cast<FileToPack*>(state);
    switch (cmd) {
      case ZIP_SOURCE_OPEN: {
        // Not blocking: a pipe put in the file's place would wait for a writer.
        self->File.Reset(
            posix::Retry([&] { return open(self->Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); }));
        if (!self->File) return self->Refuse(posix::ErrorText(errno), ZIP_ER_OPEN, errno);
        struct stat st {};
        if (fstat(self->File.Get(), &st) != 0) return self->Refuse(posix::ErrorText(errno), ZIP_ER_OPEN, errno);
        if (!S_ISREG(st.st_mode) || st.st_dev != self->Device || st.st_ino != self->Inode)
          return self->Refuse("o arquivo foi trocado enquanto era compactado", ZIP_ER_OPEN);
        self->Done = 0;
        return 0;
      }
      case ZIP_SOURCE_READ: {
        const zip_uint64_t want = std::min<zip_uint64_t>(len, self->Size - self->Done);
        if (want == 0) {
          // At the declared end: one more byte means the file grew.
          char probe;
          const ssize_t more = posix::Retry([&] { return read(self->File.Get(), &probe, 1); });
          if (more != 0) return self->Refuse("o arquivo mudou de tamanho enquanto era compactado");
          return 0;
        }
        const ssize_t n = posix::Retry([&] { return read(self->File.Get(), data, want); });
        if (n < 0) return self->Refuse(posix::ErrorText(errno), ZIP_ER_READ, errno);
        if (n == 0) return self->Refuse("o arquivo mudou de tamanho enquanto era compactado");
        self->Done += static_cast<std::uint64_t>(n);
        if (*self->Progress) (*self->Progress)(self->Header, self->Done);
        return n;
      }
      case ZIP_SOURCE_CLOSE: self->File.Reset(); return 0;
      case ZIP_SOURCE_STAT: return StatOfSize(self->Size, data, len, &self->Error);
      case ZIP_SOURCE_ERROR: return zip_error_to_data(&self->Error, data, len);
      case ZIP_SOURCE_FREE: return FreeSource(self);
      case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SUPPORTS, -1);
      default: zip_error_set(&self->Error, ZIP_ER_OPNOTSUPP, 0); return -1;
    }
  }
};

// libzip's output: the replacement file's descriptor. Nothing here names or renames
// a file; the replacement file does that once the archive is whole. libzip writes an
// entry in a dozen small pieces and goes back to its local header once the data is
// done: the bytes gather here (a rewrite inside them is made in place) and reach the
// file a megabyte at a time.
struct ArchiveSink {
  static constexpr std::size_t kGather = 1 << 20;
  int Fd = -1;
  std::uint64_t Position = 0;  // where the next write goes
  std::uint64_t Length = 0;    // the archive's length so far
  std::uint64_t ReadAt = 0;
  std::string Pending;  // bytes not yet written, from PendingAt
  std::uint64_t PendingAt = 0;
  bool Removed = false;  // libzip asked for no archive (no entries)
  zip_error_t Error{};

  zip_int64_t SystemFailure(int code) {
    zip_error_set(&Error, code, errno);
    return -1;
  }

  bool Flush() {
    const char* p = Pending.data();
    std::uint64_t at = PendingAt;
    for (std::size_t left = Pending.size(); left > 0;) {
      const ssize_t n = posix::Retry([&] { return pwrite(Fd, p, left, static_cast<off_t>(at)); });
      if (n <= 0) return false;
      p += n;
      at += static_cast<std::uint64_t>(n);
      left -= static_cast<std::size_t>(n);
    }
    Pending.clear();
    return true;
  }

  zip_int64_t Write(const void* data, zip_uint64_t len) {
    const char* bytes = static_cast<const char*>(data);
    if (!Pending.empty() && Position >= PendingAt && Position <= PendingAt + Pending.size()) {
      const std::size_t at = static_cast<std::size_t>(Position - PendingAt);
      if (at + len > Pending.size()) Pending.resize(at + len);
      std::memcpy(Pending.data() + at, bytes, len);
    } else {
      if (!Flush()) return SystemFailure(ZIP_ER_WRITE);
      PendingAt = Position;
      Pending.assign(bytes, len);
    }
    Position += len;
    Length = std::max(Length, Position);
    if (Pending.size() >= kGather && !Flush()) return SystemFailure(ZIP_ER_WRITE);
    return static_cast<zip_int64_t>(len);
  }

  zip_int64_t Seek(void* data, zip_uint64_t len, std::uint64_t& at) {
    const zip_int64_t to = zip_source_seek_compute_offset(at, Length, data, len, &Error);
    if (to < 0) return -1;
    at = static_cast<std::uint64_t>(to);
    return 0;
  }

  zip_int64_t Truncate(int code) {
    Pending.clear();
    if (ftruncate(Fd, 0) != 0) return SystemFailure(code);
    Position = Length = 0;
    return 0;
  }

  static zip_int64_t Call(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    auto* self = static_cast<ArchiveSink*>(state);
    switch (cmd) {
      case ZIP_SOURCE_STAT:
        // A new archive: libzip then writes one instead of reading this.
        zip_error_set(&self->Error, ZIP_ER_READ, ENOENT);
        return -1;
      case ZIP_SOURCE_OPEN: self->ReadAt = 0; return 0;
      case ZIP_SOURCE_READ: {
        if (!self->Flush()) return self->SystemFailure(ZIP_ER_WRITE);
        const ssize_t n = posix::Retry([&] { return pread(self->Fd, data, len, static_cast<off_t>(self->ReadAt)); });
        if (n < 0) return self->SystemFailure(ZIP_ER_READ);
        self->ReadAt += static_cast<std::uint64_t>(n);
        return n;
      }
      case ZIP_SOURCE_CLOSE: return 0;
      case ZIP_SOURCE_SEEK: return self->Seek(data, len, self->ReadAt);
      case ZIP_SOURCE_TELL: return static_cast<zip_int64_t>(self->ReadAt);
      case ZIP_SOURCE_BEGIN_WRITE: self->Removed = false; return self->Truncate(ZIP_ER_WRITE);
      case ZIP_SOURCE_WRITE: return self->Write(data, len);
      case ZIP_SOURCE_SEEK_WRITE: return self->Seek(data, len, self->Position);
      case ZIP_SOURCE_TELL_WRITE: return static_cast<zip_int64_t>(self->Position);
      case ZIP_SOURCE_COMMIT_WRITE: return self->Flush() ? 0 : self->SystemFailure(ZIP_ER_WRITE);
      case ZIP_SOURCE_ROLLBACK_WRITE: self->Truncate(ZIP_ER_WRITE); return 0;
      case ZIP_SOURCE_REMOVE: self->Removed = true; return self->Truncate(ZIP_ER_REMOVE);
      case ZIP_SOURCE_ERROR: return zip_error_to_data(&self->Error, data, len);
      case ZIP_SOURCE_FREE: return 0;  // owned by the writer
      case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                                              ZIP_SOURCE_SUPPORTS, ZIP_SOURCE_BEGIN_WRITE, ZIP_SOURCE_COMMIT_WRITE,
                                              ZIP_SOURCE_ROLLBACK_WRITE, ZIP_SOURCE_WRITE, ZIP_SOURCE_SEEK_WRITE,
                                              ZIP_SOURCE_TELL_WRITE, ZIP_SOURCE_REMOVE, -1);
      default: zip_error_set(&self->Error, ZIP_ER_OPNOTSUPP, 0); return -1;
    }
  }
};

class LibzipWriter final : public platform::ZipWriter {
 public:
  explicit LibzipWriter(std::string target) : FTarget(std::move(target)) {
    posix::ReplaceOptions options;
    options.NewMode = 0644;
    if (const posix::ReplaceError e = FFile.Open(FTarget, options))
      Fail(u"Não foi possível criar o arquivo zip", Text(FTarget), e.Reason());
    FSink.Fd = FFile.Descriptor();
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* sink = zip_source_function_create(&ArchiveSink::Call, &FSink, &error);
    if (sink != nullptr) FZip = zip_open_from_source(sink, ZIP_CREATE | ZIP_TRUNCATE, &error);
    const std::string why = FZip == nullptr ? LibzipError(&error) : std::string();
    zip_error_fini(&error);
    if (FZip == nullptr) {
      if (sink != nullptr) zip_source_free(sink);
      Fail(u"Não foi possível criar o arquivo zip", Text(FTarget), why);
    }
  }
  ~LibzipWriter() override {
    if (FZip != nullptr) zip_discard(FZip);
    zip_error_fini(&FSink.Error);
  }

  void AddFile(std::u16string_view source, std::u16string_view name, const ZipProgress& progress) override {
    const std::string path = posix::NativePath(source);
    struct stat st {};
    // lstat's answer for a link is refused below: the file packed is the one named.
    if (stat(path.c_str(), &st) != 0) Fail(u"Não foi possível ler o arquivo", path, errno);
    if (!S_ISREG(st.st_mode)) Fail(u"Não é um arquivo", Text(path), posix::NotRegular(st.st_mode));

    auto* file = new FileToPack;
    file->Path = path;
    file->Size = static_cast<std::uint64_t>(st.st_size);
    file->Device = st.st_dev;
    file->Inode = st.st_ino;
    file->Failure = &FFailure;
    zip_error_init(&file->Error);
    FProgress.push_back(std::make_unique<ZipProgress>(progress));
    file->Progress = FProgress.back().get();
    const std::string stored = U16ToUtf8(name, Utf8Invalid::Escape);
    ZipEntryHeader& h = file->Header;
    h.VersionMadeBy = (3 << 8) | 45;
    h.CompressionMethod = ZIP_CM_DEFLATE;
    h.UncompressedSize = file->Size;
    h.NameLength = static_cast<std::uint16_t>(stored.size());
    h.ExternalAttributes = static_cast<std::uint32_t>(S_IFREG | (st.st_mode & 0777)) << 16;
    h.Name = name;
    h.RawName = stored;
    h.ModificationTime = st.st_mtime;

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* src = zip_source_function_create(&FileToPack::Call, file, &error);
    zip_error_fini(&error);
    if (src == nullptr) {
      zip_error_fini(&file->Error);
      delete file;
      Fail(u"Não foi possível gravar no arquivo zip", Text(FTarget));
    }
    // A name already in the archive is replaced there: one entry per name.
    const zip_int64_t index = zip_file_add(FZip, stored.c_str(), src, ZIP_FL_ENC_GUESS | ZIP_FL_OVERWRITE);
    if (index < 0) {
      zip_source_free(src);
      Fail(u"Não foi possível gravar no arquivo zip", Text(FTarget), zip_strerror(FZip));
    }
    const auto i = static_cast<zip_uint64_t>(index);
    // Zip times start in 1980; the extended-timestamp field keeps the exact second in UTC.
    const std::time_t when = std::max<std::time_t>(st.st_mtime, 315532800 + 86400);
    unsigned char ut[5] = {1};
    const auto utc = static_cast<std::uint32_t>(std::clamp<std::int64_t>(st.st_mtime, 0, 0xFFFFFFFF));
    for (int k = 0; k < 4; ++k) ut[1 + k] = static_cast<unsigned char>(utc >> (8 * k));
    if (zip_set_file_compression(FZip, i, ZIP_CM_DEFLATE, 6) != 0 || zip_file_set_mtime(FZip, i, when, 0) != 0 ||
        zip_file_set_external_attributes(FZip, i, 0, ZIP_OPSYS_UNIX, h.ExternalAttributes) != 0 ||
        (st.st_mtime >= 0 && zip_file_extra_field_set(FZip, i, kExtendedTimestamp, ZIP_EXTRA_FIELD_NEW, ut, sizeof ut,
                                                      ZIP_FL_LOCAL | ZIP_FL_CENTRAL) != 0))
      Fail(u"Não foi possível gravar no arquivo zip", Text(FTarget), zip_strerror(FZip));
  }

  void Commit() override {
    zip_t* zip = std::exchange(FZip, nullptr);
    if (zip_close(zip) != 0) {
      std::string why = zip_strerror(zip);
      zip_discard(zip);
      if (!FFailure.empty()) throw EFileError(FFailure);
      Fail(u"Não foi possível gravar o arquivo zip", Text(FTarget), why);
    }
    // No entries: libzip writes nothing; an empty archive is its end record alone.
    if (FSink.Removed || FSink.Length == 0) {
      static constexpr char kEmpty[22] = {'P', 'K', 5, 6};
      if (const posix::ReplaceError e = FFile.Write(std::string_view(kEmpty, sizeof kEmpty)))
        Fail(u"Não foi possível gravar o arquivo zip", Text(FTarget), e.Reason());
    }
    if (const posix::ReplaceError e = FFile.Commit())
      Fail(u"Não foi possível gravar o arquivo zip", Text(FTarget), e.Reason());
  }

 private:
  std::string FTarget;
  posix::ReplacementFile FFile;  // discarded unless committed
  ArchiveSink FSink;
  zip_t* FZip = nullptr;
  std::u16string FFailure;
  std::vector<std::unique_ptr<ZipProgress>> FProgress;  // one per entry, read while the archive is written
};

// ---- reading ----

// libzip's input: the archive file, read through a window of its bytes. libzip reads
// an entry as its local header, then its data, and seeks to the next: a C stream
// asked for that makes a seek, a stat and a read of every entry, where this reads
// ahead and answers most of them from what it holds (entries lie in order). The
// file's length is taken once, when the archive is opened.
struct ArchiveSource {
  static constexpr std::size_t kWindow = 256 * 1024;
  posix::FileDescriptor File;
  std::uint64_t Size = 0;
  std::uint64_t At = 0;  // where the next read starts
  std::string Window;    // bytes of the file from WindowAt
  std::uint64_t WindowAt = 0;
  zip_error_t Error{};

  zip_int64_t Read(void* data, zip_uint64_t len) {
    char* out = static_cast<char*>(data);
    zip_uint64_t done = 0;
    while (done < len && At < Size) {
      if (At >= WindowAt && At < WindowAt + Window.size()) {
        const std::size_t from = static_cast<std::size_t>(At - WindowAt);
        const std::size_t n = static_cast<std::size_t>(std::min<zip_uint64_t>(len - done, Window.size() - from));
        std::memcpy(out + done, Window.data() + from, n);
        done += n;
        At += n;
        continue;
      }
      // A read as large as the window goes straight to the caller.
      const bool direct = len - done >= kWindow;
      char* to = out + done;
      std::size_t want = static_cast<std::size_t>(len - done);
      if (!direct) {
        Window.resize(kWindow);
        to = Window.data();
        want = kWindow;
      }
      const ssize_t n = posix::Retry([&] { return pread(File.Get(), to, want, static_cast<off_t>(At)); });
      if (n < 0) {
        Window.clear();
        zip_error_set(&Error, ZIP_ER_READ, errno);
        return -1;
      }
      if (n == 0) break;  // shorter than when it was opened
      if (direct) {
        done += static_cast<std::uint64_t>(n);
        At += static_cast<std::uint64_t>(n);
      } else {
        Window.resize(static_cast<std::size_t>(n));
        WindowAt = At;
      }
    }
    return static_cast<zip_int64_t>(done);
  }

  static zip_int64_t Call(void* state, void* data, zip_uint64_t len, zip_source_cmd_t cmd) {
    auto* self = static_cast<ArchiveSource*>(state);
    switch (cmd) {
      case ZIP_SOURCE_OPEN: self->At = 0; return 0;
      case ZIP_SOURCE_READ: return self->Read(data, len);
      case ZIP_SOURCE_CLOSE: return 0;
      case ZIP_SOURCE_SEEK: {
        const zip_int64_t to = zip_source_seek_compute_offset(self->At, self->Size, data, len, &self->Error);
        if (to < 0) return -1;
        self->At = static_cast<std::uint64_t>(to);
        return 0;
      }
      case ZIP_SOURCE_TELL: return static_cast<zip_int64_t>(self->At);
      case ZIP_SOURCE_STAT: return StatOfSize(self->Size, data, len, &self->Error);
      case ZIP_SOURCE_ERROR: return zip_error_to_data(&self->Error, data, len);
      case ZIP_SOURCE_FREE: return FreeSource(self);
      case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                              ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                                              ZIP_SOURCE_SUPPORTS, -1);
      default: zip_error_set(&self->Error, ZIP_ER_OPNOTSUPP, 0); return -1;
    }
  }
};

class LibzipReader;

// The hidden name an existing file keeps while a run may still need it back.
std::string KeptName(const std::string& name) {
  static std::atomic<std::uint64_t> counter{0};
  static const std::uint64_t salt = (static_cast<std::uint64_t>(std::random_device{}()) << 32) ^
                                    std::random_device{}() ^ static_cast<std::uint64_t>(getpid());
  std::size_t keep = std::min<std::size_t>(name.size(), 16);
  while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
  const std::uint64_t n = (salt + counter++ * 0x9E3779B97F4A7C15ull) & 0xFFFFFFFFFFFFull;
  char hex[13];
  for (int i = 11; i >= 0; --i) hex[11 - i] = "0123456789abcdef"[(n >> (i * 4)) & 0xF];
  hex[12] = '\0';
  return "." + name.substr(0, keep) + "." + hex + ".old";
}

class DescriptorUnpacking final : public platform::ZipUnpacking {
 public:
  DescriptorUnpacking(LibzipReader& reader, std::string root) : FReader(reader), FRoot(std::move(root)) {}
  ~DescriptorUnpacking() override {
    if (!FFinished) Undo();
  }

  bool Exists(std::u16string_view path) override {
    const auto [folder, name] = Split(posix::NativePath(path));
    if (!FRootFolder && !RootExists()) return false;
    const int fd = Folder(folder, false);
    if (fd < 0) return false;
    struct stat st {};
    return fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0;
  }

  void CreateFolder(std::u16string_view path) override { Folder(posix::NativePath(path), true); }

  void Extract(std::size_t index, std::u16string_view path, const ZipProgress& progress) override;

  void Finish() override {
    FFinished = true;
    FCached.Reset();
    FCachedPath.clear();
    for (const Step& s : FJournal) {
      if (s.What != Step::Kind::Replaced) continue;
      const auto [folder, name] = Split(s.Path);
      const int fd = Folder(folder, false, true);
      if (fd >= 0) unlinkat(fd, s.Kept.c_str(), 0);
    }
    FJournal.clear();
  }

 private:
  struct Step {
    enum class Kind { Folder, File, Replaced } What;
    std::string Path;  // below the root
    std::string Kept;  // the replaced file's hidden name
  };

  static std::pair<std::string, std::string> Split(const std::string& path) {
    const std::size_t cut = path.rfind('/');
    if (cut == std::string::npos) return {std::string(), path};
    return {path.substr(0, cut), path.substr(cut + 1)};
  }

  bool RootExists() const {
    struct stat st {};
    return stat(FRoot.c_str(), &st) == 0;
  }

  // The destination itself (the caller's path, links followed), created with its
  // missing parents on the first write.
  int Root(bool create) {
    if (FRootFolder) return FRootFolder.Get();
    if (create) {
      std::vector<std::string> missing;
      for (std::string p = FRoot; !p.empty() && p != "/" && p != ".";) {
        struct stat st {};
        if (stat(p.c_str(), &st) == 0) break;
        missing.push_back(p);
        const std::string up = posix::FolderOf(p);
        if (up == p) break;
        p = up;
      }
      for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (mkdir(it->c_str(), 0777) == 0)
          FMadeRoots.push_back(*it);
        else if (errno != EEXIST)
          Fail(u"Não foi possível criar a pasta", *it, errno);
      }
    }
    FRootFolder.Reset(posix::Retry([&] { return open(FRoot.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
    if (!FRootFolder) {
      if (!create) return -1;
      Fail(u"Não foi possível abrir a pasta", FRoot, errno);
    }
    return FRootFolder.Get();
  }

  // The folder `path` below the root, each step opened without following a link;
  // missing steps are made when `create`. -1 when a step is missing or (quiet) cannot
  // be opened; otherwise a link or a file on the way throws. The last folder stays open.
  int Folder(const std::string& path, bool create, bool quiet = false) {
    const int root = Root(create);
    if (root < 0 || path.empty()) return root;
    if (FCached && path == FCachedPath) return FCached.Get();
    posix::FileDescriptor current;
    std::size_t from = 0;
    while (from <= path.size()) {
      std::size_t cut = path.find('/', from);
      if (cut == std::string::npos) cut = path.size();
      const std::string step = path.substr(from, cut - from);
      const int parent = current ? current.Get() : root;
      posix::FileDescriptor next(
          posix::Retry([&] { return openat(parent, step.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC); }));
      if (!next && errno == ENOENT && create) {
        if (mkdirat(parent, step.c_str(), 0777) == 0)
          FJournal.push_back({Step::Kind::Folder, path.substr(0, cut), {}});
        else if (errno != EEXIST)
          Fail(u"Não foi possível criar a pasta", FRoot + "/" + path.substr(0, cut), errno);
        next.Reset(posix::Retry(
            [&] { return openat(parent, step.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC); }));
      }
      if (!next) {
        if (errno == ENOENT || quiet) return -1;
        const int err = errno;
        const std::u16string where = Text(FRoot + "/" + path.substr(0, cut));
        if (err == ELOOP || err == ENOTDIR)
          Fail(u"Não foi possível gravar na pasta", where,
               err == ELOOP ? "é um link simbólico já existente no destino" : "não é uma pasta");
        Fail(u"Não foi possível abrir a pasta", Text(FRoot + "/" + path.substr(0, cut)), posix::ErrorText(err));
      }
      current = std::move(next);
      from = cut + 1;
    }
    FCached = std::move(current);
    FCachedPath = path;
    return FCached.Get();
  }

  // Back to how the run found things, last step first.
  void Undo() {
    FCached.Reset();
    FCachedPath.clear();
    for (auto it = FJournal.rbegin(); it != FJournal.rend(); ++it) {
      const auto [folder, name] = Split(it->Path);
      FCached.Reset();
      FCachedPath.clear();
      const int fd = Folder(folder, false, true);
      if (fd < 0) continue;
      switch (it->What) {
        case Step::Kind::File: unlinkat(fd, name.c_str(), 0); break;
        case Step::Kind::Replaced: renameat(fd, it->Kept.c_str(), fd, name.c_str()); break;
        case Step::Kind::Folder: unlinkat(fd, name.c_str(), AT_REMOVEDIR); break;
      }
    }
    FJournal.clear();
    FCached.Reset();
    FRootFolder.Reset();
    for (auto it = FMadeRoots.rbegin(); it != FMadeRoots.rend(); ++it) rmdir(it->c_str());
  }

  LibzipReader& FReader;
  std::string FRoot;
  posix::FileDescriptor FRootFolder;
  std::vector<std::string> FMadeRoots;  // the destination's folders this run made
  std::vector<Step> FJournal;
  posix::FileDescriptor FCached;  // the last folder reached, for the next entry in it
  std::string FCachedPath;
  bool FFinished = false;
};

class LibzipReader final : public platform::ZipReader {
 public:
  // An archive file.
  explicit LibzipReader(std::string path) : FLabel(Text(path)) {
    posix::FileDescriptor fd(
        posix::Retry([&] { return open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); }));
    if (!fd) Fail(u"Arquivo não encontrado:", path, errno);
    struct stat st {};
    if (fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) Fail(u"Arquivo zip inválido:", FLabel);
    const int raw = fd.Get();
    const ReadAt read = [raw](std::uint64_t offset, std::size_t count, std::string& out) {
      out.resize(count);
      std::size_t got = 0;
      while (got < count) {
        const ssize_t n =
            posix::Retry([&] { return pread(raw, out.data() + got, count - got, static_cast<off_t>(offset + got)); });
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
      }
      return true;
    };
    auto* source = new ArchiveSource;
    source->File = std::move(fd);  // the source's now, closed when libzip frees it
    source->Size = static_cast<std::uint64_t>(st.st_size);
    zip_error_init(&source->Error);
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* src = zip_source_function_create(&ArchiveSource::Call, source, &error);
    if (src == nullptr) {
      zip_error_fini(&source->Error);
      delete source;
    }
    Load(src, &error, static_cast<std::uint64_t>(st.st_size), read);
  }

  // An archive in memory.
  LibzipReader(std::string bytes, std::u16string label) : FLabel(std::move(label)), FBytes(std::move(bytes)) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* src = zip_source_buffer_create(FBytes.data(), FBytes.size(), 0, &error);
    const std::string_view all(FBytes);
    const ReadAt read = [all](std::uint64_t offset, std::size_t count, std::string& out) {
      if (offset > all.size() || count > all.size() - offset) return false;
      out.assign(all.substr(static_cast<std::size_t>(offset), count));
      return true;
    };
    Load(src, &error, FBytes.size(), read);
  }

  ~LibzipReader() override {
    if (FZip != nullptr) zip_discard(FZip);
  }

  const std::vector<ZipEntryHeader>& Entries() const override { return FEntries; }

  std::unique_ptr<platform::ZipUnpacking> Unpack(std::u16string_view folder, std::uint64_t bytes) override {
    std::string root = posix::NativePath(folder);
    while (root.size() > 1 && root.back() == '/') root.pop_back();
    if (root.empty()) root = ".";
    if (bytes > 0) {
      // The nearest folder that exists is on the file system the entries will fill.
      std::string probe = root;
      struct statvfs vfs {};
      for (int hops = 0; hops < 4096 && statvfs(probe.c_str(), &vfs) != 0; ++hops) {
        const std::string up = posix::FolderOf(probe);
        if (up == probe) break;
        probe = up;
      }
      const std::uint64_t block = vfs.f_frsize;
      const std::uint64_t free = static_cast<std::uint64_t>(vfs.f_bavail) * block;
      const std::uint64_t reserve = std::max(kMinimumReserve, static_cast<std::uint64_t>(vfs.f_blocks) * block / 100);
      if (block > 0 && (free < reserve || bytes > free - reserve))
        throw EFileError(u"Espaço insuficiente em disco para extrair \"" + FLabel + u"\": " +
                         Text(std::to_string(bytes)) + u" bytes declarados, " +
                         Text(std::to_string(free > reserve ? free - reserve : 0)) + u" bytes livres além da reserva");
    }
    return std::make_unique<DescriptorUnpacking>(*this, std::move(root));
  }

  // Entry `index` into the open folder `folder` as `name`, replaced whole.
  void ExtractInto(std::size_t index, int folder, const std::string& name, const std::string& shown,
                   const ZipProgress& progress, bool& replaced, std::string& kept) {
    const ZipEntryHeader& h = FEntries.at(index);
    zip_file_t* entry = zip_fopen_index(FZip, index, 0);
    if (entry == nullptr) Fail(u"Não foi possível extrair", h.Name + u"\" de \"" + FLabel, zip_strerror(FZip));
    struct Closer {
      zip_file_t* f;
      ~Closer() { zip_fclose(f); }
    } closer{entry};
    // The name itself is replaced (a link there is not followed); a read-only file or
    // another user's is refused, as a copy over it is.
    posix::ReplacementFile file;
    posix::ReplaceOptions options;
    options.NewMode = 0644;
    options.Flush = false;  // as a copy: the archive still holds it
    if (const posix::ReplaceError e = file.Open(folder, name, options))
      Fail(u"Não foi possível gravar o arquivo", Text(shown), e.Reason());
    // One buffer per thread for every entry of every archive, never cleared.
    thread_local const std::unique_ptr<char[]> buffer = std::make_unique_for_overwrite<char[]>(kChunk);
    std::uint64_t done = 0;
    for (;;) {
      const zip_int64_t n = zip_fread(entry, buffer.get(), kChunk);
      if (n < 0)
        throw EFileError(u"Arquivo zip danificado: \"" + h.Name + u"\" em \"" + FLabel + u"\" (" +
                         Text(zip_file_strerror(entry)) + u")");
      if (n == 0) break;
      done += static_cast<std::uint64_t>(n);
      if (done > h.UncompressedSize)
        throw EFileError(u"\"" + h.Name + u"\" ultrapassa o tamanho declarado no arquivo zip; não foi extraído");
      if (const posix::ReplaceError e = file.Write(std::string_view(buffer.get(), static_cast<std::size_t>(n))))
        Fail(u"Não foi possível gravar o arquivo", Text(shown), e.Reason());
      if (progress) progress(h, done);
    }
    if (done != h.UncompressedSize)
      throw EFileError(u"\"" + h.Name + u"\" é menor que o tamanho declarado no arquivo zip; não foi extraído");
    const timespec times[2] = {{static_cast<std::time_t>(h.ModificationTime), 0},
                               {static_cast<std::time_t>(h.ModificationTime), 0}};
    futimens(file.Descriptor(), times);
    // The file replaced stays under a hidden name until the run ends.
    replaced = file.Replaces();
    if (replaced) {
      for (int attempt = 0; attempt < 100; ++attempt) {
        kept = KeptName(name);
        if (linkat(folder, name.c_str(), folder, kept.c_str(), 0) == 0) break;
        if (errno != EEXIST) Fail(u"Não foi possível guardar o arquivo substituído", shown, errno);
        kept.clear();
      }
      if (kept.empty()) Fail(u"Não foi possível guardar o arquivo substituído", shown, EEXIST);
    }
    if (const posix::ReplaceError e = file.Commit()) {
      if (replaced) unlinkat(folder, kept.c_str(), 0);
      Fail(u"Não foi possível gravar o arquivo", Text(shown), e.Reason());
    }
  }

 private:
  void Load(zip_source_t* src, zip_error_t* error, std::uint64_t size, const ReadAt& read) {
    std::string damage;
    Directory d = WalkDirectory(size, read, damage);
    // Refused before libzip reads it: libzip makes a record for every entry the end
    // record declares (65,535 of them: 2 MB) before it looks at the first.
    if (d.OutOfBounds) {
      if (src != nullptr) zip_source_free(src);
      zip_error_fini(error);
      Fail(u"Arquivo zip danificado:", FLabel, damage);
    }
    // Without libzip's consistency check, which refuses two entries of one name
    // (archives of other tools hold such pairs); the walk above checks the layout.
    if (src != nullptr) FZip = zip_open_from_source(src, ZIP_RDONLY, error);
    const std::string why = FZip == nullptr ? LibzipError(error) : std::string();
    zip_error_fini(error);
    if (FZip == nullptr) {
      if (src != nullptr) zip_source_free(src);
      Fail(u"Arquivo zip inválido:", FLabel, why);
    }
    if (damage.empty()) damage = Overlap(d);
    const zip_int64_t count = zip_get_num_entries(FZip, 0);
    if (damage.empty() && count != static_cast<zip_int64_t>(d.Entries.size()))
      damage = "o número de entradas não confere com o registro final";
    for (std::size_t i = 0; damage.empty() && i < d.Entries.size(); ++i) {
      const char* name = zip_get_name(FZip, i, ZIP_FL_ENC_RAW);
      zip_stat_t st;
      if (name == nullptr || d.Entries[i].RawName != name || zip_stat_index(FZip, i, ZIP_FL_ENC_RAW, &st) != 0 ||
          st.size != d.Entries[i].UncompressedSize || st.comp_size != d.Entries[i].CompressedSize)
        damage = "registro central " + std::to_string(i + 1) + " danificado";
    }
    if (!damage.empty()) {
      zip_discard(FZip);
      FZip = nullptr;
      Fail(u"Arquivo zip danificado:", FLabel, damage);
    }
    FEntries = std::move(d.Entries);
  }

  std::u16string FLabel;
  std::string FBytes;  // the archive, when read from memory
  zip_t* FZip = nullptr;
  std::vector<ZipEntryHeader> FEntries;
};

void DescriptorUnpacking::Extract(std::size_t index, std::u16string_view path, const ZipProgress& progress) {
  const std::string native = posix::NativePath(path);
  const auto [folder, name] = Split(native);
  const int fd = Folder(folder, true);
  bool replaced = false;
  std::string kept;
  FReader.ExtractInto(index, fd, name, FRoot + "/" + native, progress, replaced, kept);
  FJournal.push_back({replaced ? Step::Kind::Replaced : Step::Kind::File, native, kept});
}

class LibzipArchives final : public platform::ZipArchives {
 public:
  std::unique_ptr<platform::ZipWriter> Create(std::u16string_view path) override {
    return std::make_unique<LibzipWriter>(posix::NativePath(path));
  }
  std::unique_ptr<platform::ZipReader> Open(std::u16string_view path) override {
    return std::make_unique<LibzipReader>(posix::NativePath(path));
  }
  std::unique_ptr<platform::ZipReader> OpenBytes(std::string bytes, std::u16string_view label) override {
    return std::make_unique<LibzipReader>(std::move(bytes), std::u16string(label));
  }
};

}  // namespace

platform::ZipArchives& SystemZipArchives() {
  static LibzipArchives archives;
  return archives;
}

}  // namespace zelmor::adapters

// The zip module's entry (outside_modules.h).
void zelmor_install_zip_services() {
  zelmor::platform::Service<zelmor::platform::ZipArchives>::Set(&zelmor::adapters::SystemZipArchives());
}
