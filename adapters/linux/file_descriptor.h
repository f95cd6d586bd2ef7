// Owned system handles: a move-only file descriptor that closes itself, owning
// pointers for the C library's streams and folder listings, and the retry of calls
// a signal interrupts.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <utility>

namespace zelmor::adapters::posix {

// Repeats `call` while it fails with EINTR (a signal arrived before it did anything).
// For reads, writes, opens, waits; never for close(), which has released the
// descriptor even when it answers EINTR (a retry could close someone else's).
//   const ssize_t n = Retry([&] { return ::read(fd, buf, size); });
template <typename Call>
auto Retry(Call call) {
  for (;;) {
    auto result = call();
    if (!(result == -1 && errno == EINTR)) return result;
  }
}

// One open file descriptor, closed when this goes. Move-only, so exactly one owner
// closes it; Release() hands it to code that closes it itself.
//   FileDescriptor fd(::open(path, O_RDONLY | O_CLOEXEC));
//   if (!fd) return Fail(errno);
class FileDescriptor {
 public:
  FileDescriptor() noexcept = default;
  explicit FileDescriptor(int fd) noexcept : FFd(fd) {}
  FileDescriptor(FileDescriptor&& other) noexcept : FFd(other.Release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() { Reset(); }

  int Get() const noexcept { return FFd; }
  explicit operator bool() const noexcept { return FFd >= 0; }

  // Gives the descriptor up without closing it; this then holds none.
  int Release() noexcept { return std::exchange(FFd, -1); }

  // Closes the descriptor held (the answer is lost: use Close() where it matters)
  // and takes `fd`.
  void Reset(int fd = -1) noexcept {
    const int old = std::exchange(FFd, fd);
    if (old >= 0) ::close(old);
  }

  // Closes now: 0, or the errno of a failed close (a write the file system could
  // not finish shows here). The descriptor is gone either way.
  int Close() noexcept {
    const int old = Release();
    if (old < 0 || ::close(old) == 0) return 0;
    return errno == EINTR ? 0 : errno;  // EINTR: closed, nothing lost that can be told
  }

 private:
  int FFd = -1;
};

struct CloseStream {
  void operator()(std::FILE* f) const noexcept { std::fclose(f); }
};
// A C stream, closed when this goes (fclose's answer lost: fclose explicitly where it matters).
using OwnedStream = std::unique_ptr<std::FILE, CloseStream>;

struct CloseFolder {
  void operator()(DIR* d) const noexcept { ::closedir(d); }
};
// A folder listing, closed when this goes.
using OwnedFolder = std::unique_ptr<DIR, CloseFolder>;

}  // namespace zelmor::adapters::posix
