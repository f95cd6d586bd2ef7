// Whole-file reads and crash-safe whole-file writes, for settings files that are
// loaded into memory and written back in one piece; reads of a part of a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/service.h"

namespace zelmor::platform {

class FileAccess {
 public:
  static constexpr const char* kServiceName = "file access";
  virtual ~FileAccess() = default;

  // Reads the whole file into `bytes`. False when there is no such file (or a
  // folder on the way is missing); throws EFileError when it exists but cannot be read.
  virtual bool ReadAll(std::u16string_view path, std::string& bytes) = 0;

  // Reads up to `count` bytes at `offset` of a regular file into `bytes`: fewer where
  // the file ends, none past its end. False as ReadAll; throws as ReadAll, and for a
  // pipe or a device (which are never waited on).
  virtual bool ReadRange(std::u16string_view path, std::uint64_t offset, std::size_t count, std::string& bytes) = 0;

  // Replaces the file's content with `bytes` so that a reader, a crash, a killed
  // process or a full disk only ever sees the old content or the new one: the bytes
  // go to a new file in the same folder, are flushed to the disk, and that file is
  // renamed over the old one (whose permissions it takes). A symbolic link is
  // followed and its target replaced. Throws EFileError; the old file is then untouched.
  virtual void Replace(std::u16string_view path, std::string_view bytes) = 0;

  // Creates the folder and every missing folder above it. True when it exists afterwards.
  virtual bool CreateFolders(std::u16string_view path) = 0;
};

}  // namespace zelmor::platform
