// Real files for tests and benchmarks: a temporary folder (removed with all it
// holds) with helpers to lay out files, read them back and inspect them. Paths
// given here are relative to the folder and are the file system's bytes, so a test
// can make names that are not UTF-8.
#pragma once

#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "testing/temp_store.h"

namespace zelmor::testing {

class FileTree {
 public:
  // The folder's path (bytes, no trailing separator).
  const std::string& Root() const { return FFolder.Path(); }
  // Root + "/" + `rel` as bytes; as the library's text (escaped where not UTF-8).
  std::string Native(std::string_view rel = {}) const;
  std::u16string Path(std::string_view rel = {}) const;

  // Writes a file (its folders are created), with modification time `mtime` when given.
  void Write(std::string_view rel, std::string_view bytes, std::time_t mtime = 0) const;
  // The whole file; throws when it cannot be read.
  std::string Read(std::string_view rel) const;
  void Folder(std::string_view rel) const;
  void Link(std::string_view rel, const std::string& target) const;
  // Clears (or gives back) every write bit.
  void ReadOnly(std::string_view rel, bool readOnly = true) const;
  bool Exists(std::string_view rel) const;  // any entry, links not followed
  std::time_t ModifiedAt(std::string_view rel) const;
  unsigned Mode(std::string_view rel) const;  // permission bits
  // The names in a folder, sorted bytewise (every entry, "." and ".." left out).
  std::vector<std::string> Names(std::string_view rel = {}) const;
  // Makes a named pipe at `rel` and runs `call`. A reader that opens the pipe and
  // waits for a writer (which would wait forever) is let go after `patience`; the
  // answer says whether one had to be.
  bool WaitedOnPipe(std::string_view rel, const std::function<void()>& call, int patienceSeconds = 20) const;

 private:
  TemporaryFolder FFolder;
};

// Sets an environment variable for the life of the object (unset when `value` is null).
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::string FName, FOld;
  bool FHad;
};

}  // namespace zelmor::testing
