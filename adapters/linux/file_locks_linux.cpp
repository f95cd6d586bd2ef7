// Folder locks as flock(2) on a descriptor of the folder: no lock file is left beside
// the files, the kernel releases the lock when its holder ends however it ends, and a
// descriptor opened per lock makes threads of one process wait for each other too.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "adapters/linux/posix_files.h"
#include "adapters/linux/system_services.h"
#include "core/errors.h"
#include "core/text.h"

namespace zelmor::adapters {
namespace {

class FolderLock final : public platform::FileLocks::Held {
 public:
  explicit FolderLock(int fd) : FFd(fd) {}
  ~FolderLock() override { close(FFd); }  // closing releases the lock
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int FFd;
};

class LinuxFileLocks final : public platform::FileLocks {
 public:
  std::unique_ptr<Held> LockFolder(std::u16string_view path, int waitMilliseconds) override {
    const std::string native = path.empty() ? std::string(".") : posix::NativePath(path);
    const int fd = open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
      throw EFileError(u"Não foi possível bloquear a pasta \"" + std::u16string(path) + u"\": " +
                       Utf8ToU16(posix::ErrorText(errno)));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    auto pause = std::chrono::microseconds(100);
    while (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int err = errno;
      if ((err != EWOULDBLOCK && err != EINTR) || std::chrono::steady_clock::now() >= deadline) {
        close(fd);
        throw EFileError(u"Não foi possível bloquear a pasta \"" + std::u16string(path) + u"\": " +
                         (err == EWOULDBLOCK ? u"outro processo a mantém bloqueada há mais de " +
                                                   Utf8ToU16(std::to_string(waitMilliseconds / 1000)) + u" segundos"
                                             : Utf8ToU16(posix::ErrorText(err))));
      }
      std::this_thread::sleep_for(pause);
      if (pause < std::chrono::milliseconds(2)) pause *= 2;
    }
    return std::make_unique<FolderLock>(fd);
  }
};

}  // namespace

platform::FileLocks& SystemFileLocks() {
  static LinuxFileLocks locks;
  return locks;
}

}  // namespace zelmor::adapters
