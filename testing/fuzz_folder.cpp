#include "testing/fuzz_folder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <vector>

namespace zelmor::testing {

namespace {

using adapters::posix::FileDescriptor;
using adapters::posix::Retry;

// Far above what one input can write (a 64 KB archive names fewer entries and folders).
constexpr std::size_t kMaxSteps = std::size_t{1} << 22;
constexpr int kMaxReads = 1 << 20;

[[noreturn]] void Stop(const char* what, const std::string& path) {
  std::fprintf(stderr, "fuzz folder: %s \"%s\": %s\n", what, path.c_str(), std::strerror(errno));
  __builtin_trap();
}

// The folder's names from its start, "." and ".." left out, each handed to
// `each(name, type)` (a DT_ value, DT_UNKNOWN where the file system keeps none) until it
// answers false.
template <typename Each>
void ReadNames(int fd, const std::string& path, Each each) {
  if (lseek(fd, 0, SEEK_SET) != 0) Stop("cannot rewind", path);
  alignas(dirent64) char buffer[4096];
  for (int reads = 0; reads < kMaxReads; ++reads) {
    const ssize_t n = Retry([&] { return getdents64(fd, buffer, sizeof buffer); });
    if (n < 0) Stop("cannot read", path);
    if (n == 0) return;
    for (ssize_t at = 0; at < n;) {
      const auto* d = reinterpret_cast<const dirent64*>(buffer + at);
      at += d->d_reclen;
      const std::string_view name(d->d_name);
      if (name == "." || name == "..") continue;
      if (!each(name, d->d_type)) return;
    }
  }
  Stop("too many names in", path);
}

}  // namespace

WatchedFolder::WatchedFolder(std::string path) : FPath(std::move(path)) {
  std::error_code ec;
  std::filesystem::create_directories(FPath, ec);
  FFolder.Reset(Retry([&] { return open(FPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
  if (!FFolder) Stop("cannot open", FPath);
}

std::size_t WatchedFolder::CountBesides(std::string_view except) const {
  std::size_t count = 0;
  ReadNames(FFolder.Get(), FPath, [&](std::string_view name, unsigned char) {
    count += name == except ? 0 : 1;
    return true;
  });
  return count;
}

void WatchedFolder::Drain(const std::function<void(const Entry&)>& visit) const {
  // One folder open at a time: the way back up is "..", so a deep tree needs no
  // descriptor per level. Each step takes the first name left in the folder.
  std::vector<std::string> below;  // the folders descended into, outermost first
  std::string rel;                 // "/a/b" for below == {a, b}
  FileDescriptor current;          // the innermost of them
  std::string name, path;
  for (std::size_t step = 0; step < kMaxSteps; ++step) {
    const int fd = below.empty() ? FFolder.Get() : current.Get();
    bool found = false;
    unsigned char type = DT_UNKNOWN;
    ReadNames(fd, FPath + rel, [&](std::string_view n, unsigned char t) {
      name.assign(n);
      type = t;
      found = true;
      return false;
    });
    if (!found) {
      if (below.empty()) return;
      if (below.size() == 1) {
        current.Reset();
      } else {
        current.Reset(Retry([&] { return openat(fd, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
        if (!current) Stop("cannot go back up from", FPath + rel);
      }
      const int parent = below.size() == 1 ? FFolder.Get() : current.Get();
      if (unlinkat(parent, below.back().c_str(), AT_REMOVEDIR) != 0) Stop("cannot remove", FPath + rel);
      rel.resize(rel.size() - below.back().size() - 1);
      below.pop_back();
      continue;
    }
    if (type == DT_UNKNOWN) {
      struct stat st {};
      if (fstatat(fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) Stop("cannot look at", FPath + rel + "/" + name);
      type = static_cast<unsigned char>(IFTODT(st.st_mode));
    }
    if (type == DT_DIR) {
      FileDescriptor child(
          Retry([&] { return openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC); }));
      if (!child) Stop("cannot open", FPath + rel + "/" + name);
      current = std::move(child);
      rel += '/';
      rel += name;
      below.push_back(name);
      continue;
    }
    path = FPath + rel + "/" + name;
    visit(Entry{path, fd, name, type == DT_LNK, type == DT_REG});
    if (unlinkat(fd, name.c_str(), 0) != 0) Stop("cannot remove", path);
  }
  errno = 0;
  Stop("too many entries below", FPath);
}

}  // namespace zelmor::testing
