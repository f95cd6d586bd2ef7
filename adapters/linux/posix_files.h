// File helpers shared by the Linux services: UTF-8 paths, whole-file reads and
// the write-beside-then-rename replacement.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

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

// Writes `bytes` to a new file beside `path` (after following symbolic links),
// flushes it to the disk and renames it over `path`. Refuses (EFileError) a `path`
// that is not a regular file, is read-only (owner-write bit clear, also for root) or
// that this process may not write. A new file gets `newMode`
// (less the umask); an existing one keeps its permissions and, where allowed, its
// owner. Throws EFileError naming `path`, leaving the old file as it was. With
// `keepOpen` the descriptor of the new file is returned (the caller closes it), else -1.
int ReplaceWhole(const std::string& path, std::string_view bytes, unsigned newMode, bool keepOpen);

// Why a file of this mode cannot be read or replaced as a whole file, or nullptr
// for a regular file.
const char* NotRegular(unsigned mode);

// The folder part of a path ("." when there is none).
std::string FolderOf(const std::string& path);
// The last component of a path.
std::string BaseOf(const std::string& path);

// `path` with symbolic links followed to the entry they finally name (at most 40 hops).
std::string ResolveLinks(std::string path);

// Creates a new, exclusive, empty file in `folder` whose name starts with "." + `base`
// (hidden from listings while it is written); its path goes to `tempPath`. -1 with errno on failure.
int CreateBeside(const std::string& folder, const std::string& base, unsigned mode, std::string& tempPath);

// Writes all of `bytes` to `fd`, retrying short writes. False with errno on failure.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace zelmor::adapters::posix
