// Locks that processes (and threads) changing the same files take around a change, so
// that one's read–change–write never interleaves with another's: each waits for the
// holder before it. Advisory: only those who ask for the lock respect it.
#pragma once

#include <memory>
#include <string_view>

#include "platform/service.h"

namespace zelmor::platform {

class FileLocks {
 public:
  static constexpr const char* kServiceName = "file locks";
  virtual ~FileLocks() = default;

  // A lock held; released when it is destroyed (and when its process ends, however).
  class Held {
   public:
    virtual ~Held() = default;
  };

  // Takes the exclusive lock of folder `path` (the lock of the folder itself: nothing
  // is created in it), waiting up to `waitMilliseconds` for another holder. Throws
  // EFileError when the folder cannot be opened or the lock is not had in time.
  virtual std::unique_ptr<Held> LockFolder(std::u16string_view path, int waitMilliseconds) = 0;
};

}  // namespace zelmor::platform
