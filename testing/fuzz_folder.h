// A folder a fuzz target writes into, kept open for the whole run and looked at after
// each input through its descriptor: an empty folder costs one read of its names and
// no allocation. (A std::filesystem walk opens a C stream per folder, each with a
// 32 KB buffer; under AddressSanitizer that cost more than most inputs did.)
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "adapters/linux/file_descriptor.h"

namespace zelmor::testing {

class WatchedFolder {
 public:
  // One entry below the folder that is not a folder itself, as Drain() finds it.
  struct Entry {
    std::string_view Path;  // the folder's path + "/" + the entry's path below it
    int Folder = -1;        // the open folder holding it
    std::string_view Name;  // its name in that folder
    bool Link = false;      // a symbolic link (never followed)
    bool Regular = false;   // a regular file
  };

  // Opens `path`, made with its parents when missing; traps when it cannot.
  explicit WatchedFolder(std::string path);
  const std::string& Path() const { return FPath; }

  // How many entries it holds besides the one named `except`.
  //   WatchedFolder(box).CountBesides("dest") == 0  // nothing but dest in box
  std::size_t CountBesides(std::string_view except) const;

  // Empties the folder: hands every entry below it that is not a folder to `visit`
  // (before removing it) and removes the folders once they are empty. Links are
  // never followed; the descriptors held do not grow with the depth. Traps when
  // something cannot be opened or removed, so the next input starts from empty.
  void Drain(const std::function<void(const Entry&)>& visit) const;

 private:
  std::string FPath;
  adapters::posix::FileDescriptor FFolder;
};

}  // namespace zelmor::testing
