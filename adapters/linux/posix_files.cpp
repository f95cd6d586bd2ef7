#include "adapters/linux/posix_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cerrno>
#include <cstring>
#include <random>

#include "core/errors.h"
#include "core/text.h"

namespace zelmor::adapters::posix {
namespace {

[[noreturn]] void FailText(const char* what, const std::string& path, const char* why) {
  throw EFileError(Utf8ToU16(std::string(what) + " \"" + path + "\": " + why));
}

[[noreturn]] void Fail(const char* what, const std::string& path, int err) {
  FailText(what, path, ErrorText(err).c_str());
}

}  // namespace

// Follows symbolic links so the file is replaced where it really lives.
std::string ResolveLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 256) + 1, '\0');
    ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n < 0) return path;
    target.resize(static_cast<std::size_t>(n));
    path = (!target.empty() && target[0] == '/') ? target : FolderOf(path) + "/" + target;
  }
  Fail("Não foi possível gravar o arquivo", path, ELOOP);
}

std::string BaseOf(const std::string& path) {
  const std::size_t cut = path.find_last_of('/');
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

int CreateBeside(const std::string& folder, const std::string& base, unsigned mode, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  // One random number per process (not per file: copies of many small files make many).
  static const unsigned salt = std::random_device{}() % 1000000;
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = folder + "/." + base + "." + std::to_string(getpid()) + "." + std::to_string(counter++) + "." +
               std::to_string(salt) + ".tmp";
    int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

std::string NativePath(std::u16string_view path) { return U16ToUtf8(path, Utf8Invalid::Escape); }

std::u16string LibraryPath(std::string_view path) { return Utf8ToU16(path, Utf8Invalid::Escape); }

std::string ErrorText(int err) {
  char buf[256];
  // The GNU strerror_r returns the text, which may not be `buf`.
  return strerror_r(err, buf, sizeof buf);
}

const char* NotRegular(unsigned mode) {
  if (S_ISREG(mode)) return nullptr;
  if (S_ISDIR(mode)) return "é uma pasta, não um arquivo";
  if (S_ISFIFO(mode) || S_ISSOCK(mode)) return "não é um arquivo comum (é um pipe ou um socket)";
  return "não é um arquivo comum (é um dispositivo)";
}

static bool WritableByUs(const std::string& path, const struct stat& st) {
  // The owner-write bit is the read-only attribute, for root too; beyond it the
  // permissions say whether this process may change the file (rename only needs the folder).
  return (st.st_mode & S_IWUSR) != 0 && faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

std::string FolderOf(const std::string& path) {
  const std::size_t cut = path.find_last_of('/');
  if (cut == std::string::npos) return ".";
  return cut == 0 ? "/" : path.substr(0, cut);
}

namespace {

// Opens a regular file for reading: -1 when it is missing; throws EFileError when
// it exists but cannot be opened, or is a folder, a pipe or a device. The open does
// not wait for a pipe's writer, and nothing is read from a device.
int OpenForReading(const std::string& path) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return -1;
    Fail("Não foi possível abrir o arquivo", path, errno);
  }
  struct stat st {};
  if (fstat(fd, &st) != 0) {
    const int err = errno;
    close(fd);
    Fail("Não foi possível abrir o arquivo", path, err);
  }
  if (const char* why = NotRegular(st.st_mode)) {
    close(fd);
    FailText("Não foi possível abrir o arquivo", path, why);
  }
  return fd;
}

}  // namespace

bool ReadWhole(const std::string& path, std::string& bytes) {
  bytes.clear();
  const int fd = OpenForReading(path);
  if (fd < 0) return false;
  struct stat st {};
  if (fstat(fd, &st) == 0 && st.st_size > 0) bytes.reserve(static_cast<std::size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      close(fd);
      Fail("Não foi possível ler o arquivo", path, err);
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  close(fd);
  return true;
}

bool ReadPart(const std::string& path, std::uint64_t offset, std::size_t count, std::string& bytes) {
  bytes.clear();
  const int fd = OpenForReading(path);
  if (fd < 0) return false;
  struct stat st {};
  const std::uint64_t size = fstat(fd, &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
  // Never more than the file holds, whatever a caller asks for.
  if (offset < size) bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(count, size - offset)));
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
    if (n < 0) {
      if (errno == EINTR) continue;
      int err = errno;
      close(fd);
      Fail("Não foi possível ler o arquivo", path, err);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  close(fd);
  return true;
}

int ReplaceWhole(const std::string& path, std::string_view bytes, unsigned newMode, bool keepOpen) {
  if (path.empty()) Fail("Não foi possível gravar o arquivo", path, ENOENT);
  const std::string real = ResolveLinks(path);
  struct stat old {};
  const bool exists = stat(real.c_str(), &old) == 0;
  if (exists) {
    // Only a regular file the program may write is replaced: a rename would swap a
    // pipe or a device node for a file, and would go round a read-only file's permissions.
    if (const char* why = NotRegular(old.st_mode)) FailText("Não foi possível gravar o arquivo", path, why);
    if ((old.st_mode & S_IWUSR) == 0) FailText("Não foi possível gravar o arquivo", path, "o arquivo é somente leitura");
    if (!WritableByUs(real, old)) Fail("Não foi possível gravar o arquivo", path, EACCES);
  }

  std::string temp;
  int fd = CreateBeside(FolderOf(real), BaseOf(real), exists ? 0600 : newMode, temp);
  if (fd < 0) Fail("Não foi possível gravar o arquivo", path, errno);
  auto abandon = [&](int err) {
    close(fd);
    unlink(temp.c_str());
    Fail("Não foi possível gravar o arquivo", path, err);
  };
  if (exists) {
    if (fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Only the owner's own files can be given away; keeping ours is fine.
    }
    if (fchmod(fd, old.st_mode & 07777) != 0) abandon(errno);
  }
  if (!WriteAll(fd, bytes)) abandon(errno);
  // On the disk before it takes the old file's place: a power cut then leaves one of the two.
  if (fsync(fd) != 0) abandon(errno);
  if (rename(temp.c_str(), real.c_str()) != 0) abandon(errno);
  if (keepOpen) return fd;
  close(fd);
  return -1;
}

}  // namespace zelmor::adapters::posix
