#include "adapters/linux/posix_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

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

std::string FolderOf(const std::string& path) {
  const std::size_t cut = path.find_last_of('/');
  if (cut == std::string::npos) return ".";
  return cut == 0 ? "/" : path.substr(0, cut);
}

namespace {

// Opens a regular file for reading: none when it is missing; throws EFileError when
// it exists but cannot be opened, or is a folder, a pipe or a device. The open does
// not wait for a pipe's writer, and nothing is read from a device.
FileDescriptor OpenForReading(const std::string& path) {
  FileDescriptor fd(Retry([&] { return open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); }));
  if (!fd) {
    if (errno == ENOENT || errno == ENOTDIR) return fd;
    Fail("Não foi possível abrir o arquivo", path, errno);
  }
  struct stat st {};
  if (fstat(fd.Get(), &st) != 0) Fail("Não foi possível abrir o arquivo", path, errno);
  if (const char* why = NotRegular(st.st_mode)) FailText("Não foi possível abrir o arquivo", path, why);
  return fd;
}

}  // namespace

bool ReadWhole(const std::string& path, std::string& bytes) {
  bytes.clear();
  const FileDescriptor fd = OpenForReading(path);
  if (!fd) return false;
  // Straight into the string, sized from fstat: one read for the whole file, and one
  // more to see that it ends there. A file that grew meanwhile is read on to its end.
  struct stat st {};
  if (fstat(fd.Get(), &st) == 0 && st.st_size > 0) bytes.resize(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  for (;;) {
    if (done == bytes.size()) {
      char more[4096];
      const ssize_t n = Retry([&] { return read(fd.Get(), more, sizeof more); });
      if (n < 0) Fail("Não foi possível ler o arquivo", path, errno);
      if (n == 0) break;
      bytes.resize(done + static_cast<std::size_t>(n) + std::max<std::size_t>(done / 2, sizeof more));
      std::memcpy(bytes.data() + done, more, static_cast<std::size_t>(n));
      done += static_cast<std::size_t>(n);
      continue;
    }
    const ssize_t n = Retry([&] { return read(fd.Get(), bytes.data() + done, bytes.size() - done); });
    if (n < 0) Fail("Não foi possível ler o arquivo", path, errno);
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return true;
}

bool ReadPart(const std::string& path, std::uint64_t offset, std::size_t count, std::string& bytes) {
  bytes.clear();
  const FileDescriptor fd = OpenForReading(path);
  if (!fd) return false;
  struct stat st {};
  const std::uint64_t size = fstat(fd.Get(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
  // Never more than the file holds, whatever a caller asks for.
  if (offset < size) bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(count, size - offset)));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = Retry(
        [&] { return pread(fd.Get(), bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done)); });
    if (n < 0) Fail("Não foi possível ler o arquivo", path, errno);
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  bytes.resize(done);
  return true;
}

FileDescriptor ReplaceWhole(const std::string& path, std::string_view bytes, unsigned newMode,
                            ReadOnlyTarget readOnly) {
  ReplacementFile file;
  ReplaceOptions options;
  options.NewMode = newMode;
  options.ReadOnly = readOnly;
  ReplaceError e = file.Open(path, options);
  if (!e) e = file.Write(bytes);
  if (!e) e = file.Commit();
  if (e) FailText("Não foi possível gravar o arquivo", path, e.Reason().c_str());
  return file.TakeDescriptor();
}

}  // namespace zelmor::adapters::posix
