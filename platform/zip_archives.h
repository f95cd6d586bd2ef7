// What the zip routines need from a zip layer: writing an archive of deflated
// files, and reading an archive's entries and extracting them one by one. The
// archive format is the layer's business; which files go in and which entries come
// out (and whether a name is safe to write) is the library's.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/service.h"

namespace zelmor::platform {

// One entry's central-directory record.
struct ZipEntryHeader {
  std::uint16_t VersionMadeBy = 0;  // high byte: the host system (3 = Unix)
  std::uint16_t VersionNeeded = 0;
  std::uint16_t Flags = 0;  // bit 11: the name is UTF-8
  std::uint16_t CompressionMethod = 0;  // 0 stored, 8 deflate
  std::uint32_t DosDateTime = 0;
  std::uint32_t Crc32 = 0;
  std::uint64_t CompressedSize = 0;
  std::uint64_t UncompressedSize = 0;  // as declared: extraction never writes more
  std::uint16_t NameLength = 0, ExtraLength = 0, CommentLength = 0;
  std::uint32_t DiskNumber = 0;
  std::uint16_t InternalAttributes = 0;
  std::uint32_t ExternalAttributes = 0;  // Unix hosts: the mode in the high 16 bits
  std::uint64_t LocalHeaderOffset = 0;
  std::u16string Name;  // as stored: UTF-8 when flagged or valid, else escaped bytes
  std::string Extra;
  std::u16string Comment;

  // A symbolic link stored by a Unix host.
  bool IsSymbolicLink() const {
    return (VersionMadeBy >> 8) == 3 && ((ExternalAttributes >> 16) & 0170000) == 0120000;
  }
  // A folder entry ("sub/").
  bool IsFolder() const { return !Name.empty() && (Name.back() == u'/' || Name.back() == u'\\'); }
};

// Called while an entry is written or extracted, with the bytes done so far.
using ZipProgress = std::function<void(const ZipEntryHeader& header, std::uint64_t position)>;

class ZipWriter {
 public:
  virtual ~ZipWriter() = default;
  // Adds the file `source` as the entry `name`, deflated, with its modification time;
  // the name is marked UTF-8 when it is not plain ASCII. Throws EFileError when the
  // file cannot be read.
  virtual void AddFile(std::u16string_view source, std::u16string_view name, const ZipProgress& progress) = 0;
  // Finishes the archive and puts it in place of the target (replacing a file of that
  // name). Until then the archive is written beside the target; an object destroyed
  // without Commit removes what it wrote and leaves the target as it was.
  virtual void Commit() = 0;
};

class ZipReader {
 public:
  virtual ~ZipReader() = default;
  // Every entry, in archive order.
  virtual const std::vector<ZipEntryHeader>& Entries() const = 0;
  // Extracts entry `index` into the file `target` (its folder must exist), replacing
  // it. The bytes go to a new file beside `target`, renamed into place only when the
  // whole entry came out with its declared size and CRC: a damaged entry, one that
  // inflates past its declared size, or one declaring more than the disk has free
  // throws EFileError and leaves nothing behind.
  virtual void Extract(std::size_t index, std::u16string_view target, const ZipProgress& progress) = 0;
};

class ZipArchives {
 public:
  static constexpr const char* kServiceName = "zip archives";
  virtual ~ZipArchives() = default;
  // A new, empty archive that will take the name `path` on Commit. Throws EFileError
  // when its folder cannot be written.
  virtual std::unique_ptr<ZipWriter> Create(std::u16string_view path) = 0;
  // Opens an archive for reading. Throws EFileError when it is missing or not a zip archive.
  virtual std::unique_ptr<ZipReader> Open(std::u16string_view path) = 0;
};

}  // namespace zelmor::platform
