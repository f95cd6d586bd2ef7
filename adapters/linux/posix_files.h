// File helpers shared by the Linux services: UTF-8 paths, whole-file reads and
// whole-file writes (through the one replacement type, replacement_file.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "adapters/linux/file_descriptor.h"
#include "adapters/linux/replacement_file.h"

namespace zelmor::adapters::posix {

// Library text → the file system's bytes: UTF-8, with escaped bytes written back
// as they were (Utf8Invalid::Escape), so any name round-trips.
std::string NativePath(std::u16string_view path);
// The file system's bytes → library text (the reverse of NativePath).
std::u16string LibraryPath(std::string_view path);

// The system's text for errno `err`.
std::string ErrorText(int err);

// Reads the whole file. False with errno ENOENT or ENOTDIR when it is missing;
// throws EFileError when it exists but cannot be read, or is not a regular file
// (a pipe is never waited on, a device never read).
bool ReadWhole(const std::string& path, std::string& bytes);
// Reads up to `count` bytes at `offset` of a regular file (fewer where it ends);
// missing and failing files as ReadWhole, and a pipe or a device fails.
bool ReadPart(const std::string& path, std::uint64_t offset, std::size_t count, std::string& bytes);

// Replaces `path` (after following symbolic links) with `bytes` through a
// ReplacementFile: flushed to the disk, renamed into place. Refuses (EFileError) a
// `path` that is not a regular file, another user's file, one this process may not
// write, or a read-only one (owner-write bit clear, also for root) unless
// `readOnly` keeps it read-only. A new file gets `newMode` (less the umask); an
// existing one keeps its permissions and owner. Throws EFileError naming `path`,
// leaving the old file as it was. Answers the new file's descriptor, still open.
FileDescriptor ReplaceWhole(const std::string& path, std::string_view bytes, unsigned newMode,
                            ReadOnlyTarget readOnly = ReadOnlyTarget::Refuse);

// Why a file of this mode cannot be read or replaced as a whole file, or nullptr
// for a regular file.
const char* NotRegular(unsigned mode);

// The folder part of a path ("." when there is none).
std::string FolderOf(const std::string& path);
// The last component of a path.
std::string BaseOf(const std::string& path);

// `path` with symbolic links followed to the entry they finally name (at most 40 hops).
std::string ResolveLinks(std::string path);

// Writes all of `bytes` to `fd`, retrying short writes. False with errno on failure.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace zelmor::adapters::posix
