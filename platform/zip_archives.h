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

// How an entry's stored name bytes were read.
enum class ZipNameEncoding {
  Utf8,         // flagged UTF-8 (bytes that are not UTF-8 escaped), or plain ASCII
  UnicodePath,  // unflagged, with a Unicode path field that matches the stored bytes
  Cp437,        // unflagged: code page 437, the format's rule
};

// One entry's central-directory record.
struct ZipEntryHeader {
  std::uint16_t VersionMadeBy = 0;  // high byte: the host system (3 = Unix)
  std::uint16_t VersionNeeded = 0;
  std::uint16_t Flags = 0;              // bit 11: the name is UTF-8
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
  std::u16string Name;  // decoded as NameEncoding says
  ZipNameEncoding NameEncoding = ZipNameEncoding::Utf8;
  std::string RawName;  // the name's bytes as stored
  std::string Extra;
  std::u16string Comment;
  // Seconds since 1970 (UTC): the extended-timestamp field's when there is one, else
  // the DOS time read as local time.
  std::int64_t ModificationTime = 0;

  // A symbolic link stored by a Unix host.
  bool IsSymbolicLink() const { return (VersionMadeBy >> 8) == 3 && ((ExternalAttributes >> 16) & 0170000) == 0120000; }
  // A folder entry ("sub/").
  bool IsFolder() const { return !Name.empty() && (Name.back() == u'/' || Name.back() == u'\\'); }
};

// Called while an entry is written or extracted, with the bytes done so far.
using ZipProgress = std::function<void(const ZipEntryHeader& header, std::uint64_t position)>;

// One run of unpacking into a folder. Paths are relative to it, "/"-separated, with
// no empty, "." or ".." steps (the library's checks come first). Every step below the
// folder is opened without following links, so a link already in the folder is
// refused rather than written through. Destroyed without Finish, the run is undone:
// the files and folders it created are removed and the files it replaced come back.
class ZipUnpacking {
 public:
  virtual ~ZipUnpacking() = default;
  // Whether something (a link included) has this name. Throws EFileError when a step
  // before it is a link or not a folder.
  virtual bool Exists(std::u16string_view path) = 0;
  // Creates the folder and the ones before it (the destination included).
  virtual void CreateFolder(std::u16string_view path) = 0;
  // Extracts entry `index` to `path`, creating its folders, replacing what is there.
  // The bytes go to a new file, put in place only when the whole entry came out with
  // its declared size and CRC: a damaged entry or one that inflates past its
  // declared size throws EFileError and leaves that file as it was.
  virtual void Extract(std::size_t index, std::u16string_view path, const ZipProgress& progress) = 0;
  // Keeps everything this run wrote.
  virtual void Finish() = 0;
};

class ZipWriter {
 public:
  virtual ~ZipWriter() = default;
  // Adds the file `source` as the entry `name`, deflated, with its modification time
  // (DOS time and the extended-timestamp field); the name is marked UTF-8 when it is
  // not plain ASCII; zip64 records where sizes or offsets need them. Throws EFileError
  // when the file is missing or not a regular file; its bytes are read by Commit,
  // which throws when they can no longer be read or changed size.
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
  // Starts unpacking into `folder` (created on the first write) entries whose sizes
  // sum to `bytes`: refused (EFileError) when that passes the free space less a
  // reserve of the larger of 64 MiB and 1 % of the file system.
  virtual std::unique_ptr<ZipUnpacking> Unpack(std::u16string_view folder, std::uint64_t bytes) = 0;
};

class ZipArchives {
 public:
  static constexpr const char* kServiceName = "zip archives";
  virtual ~ZipArchives() = default;
  // A new, empty archive that will take the name `path` on Commit. Throws EFileError
  // when its folder cannot be written.
  virtual std::unique_ptr<ZipWriter> Create(std::u16string_view path) = 0;
  // Opens an archive for reading. Throws EFileError when it is missing, not a zip
  // archive, or damaged: a directory that ends early or disagrees with its end
  // record, or entries whose data overlap.
  virtual std::unique_ptr<ZipReader> Open(std::u16string_view path) = 0;
  // The same over an archive held in memory; `label` names it in messages.
  virtual std::unique_ptr<ZipReader> OpenBytes(std::string bytes, std::u16string_view label) = 0;
};

}  // namespace zelmor::platform
