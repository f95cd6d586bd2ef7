// File helpers shared by the Linux services: UTF-8 paths, whole-file reads and
// the write-beside-then-rename replacement.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zelmor::adapters::posix {

// Library text → the file system's bytes (UTF-8).
std::string NativePath(std::u16string_view path);

// The system's text for errno `err`.
std::string ErrorText(int err);

// Reads the whole file. False with errno ENOENT or ENOTDIR when it is missing;
// throws EFileError when it exists but cannot be read.
bool ReadWhole(const std::string& path, std::string& bytes);
// Reads up to `count` bytes at `offset` of a regular file (fewer where it ends);
// missing and failing files as ReadWhole, and a pipe or a device fails.
bool ReadPart(const std::string& path, std::uint64_t offset, std::size_t count, std::string& bytes);

// Writes `bytes` to a new file beside `path` (after following symbolic links),
// flushes it to the disk and renames it over `path`. A new file gets `newMode`
// (less the umask); an existing one keeps its permissions and, where allowed, its
// owner. Throws EFileError naming `path`, leaving the old file as it was. With
// `keepOpen` the descriptor of the new file is returned (the caller closes it), else -1.
int ReplaceWhole(const std::string& path, std::string_view bytes, unsigned newMode, bool keepOpen);

// The folder part of a path ("." when there is none).
std::string FolderOf(const std::string& path);

}  // namespace zelmor::adapters::posix
