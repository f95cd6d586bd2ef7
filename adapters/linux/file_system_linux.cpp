// The file system service on Linux: POSIX calls, with the Windows rules the
// library's callers rely on (read-only files are left alone, renames never replace).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "adapters/linux/file_descriptor.h"
#include "adapters/linux/linux_places.h"
#include "adapters/linux/local_time.h"
#include "adapters/linux/posix_files.h"
#include "adapters/linux/replacement_file.h"
#include "adapters/linux/system_services.h"
#include "core/errors.h"
#include "core/text.h"

namespace zelmor::adapters {
namespace {

using platform::EntryInfo;
using platform::EntryKind;
using platform::FileTime;
using platform::FolderEntry;
using platform::LocalDateTime;
using platform::PortKind;
using platform::SpecialFolder;
using posix::LibraryPath;
using posix::NativePath;

bool Fail(std::u16string* why, int err) {
  if (why) *why = Utf8ToU16(posix::ErrorText(err));
  return false;
}

bool FailText(std::u16string* why, std::u16string_view text) {
  if (why) *why = text;
  return false;
}

constexpr std::u16string_view kReadOnly = u"O arquivo é somente leitura";

// Not kept: a child process may change its user after the first call.
bool Root() { return geteuid() == 0; }

bool IsReadOnly(const struct stat& st) { return !S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0; }

EntryInfo InfoOf(const struct stat& st, bool isLink) {
  EntryInfo info;
  info.Kind = S_ISDIR(st.st_mode) ? EntryKind::Folder : S_ISREG(st.st_mode) ? EntryKind::File : EntryKind::Other;
  info.IsLink = isLink;
  info.ReadOnly = IsReadOnly(st);
  info.Size = info.Kind == EntryKind::Folder ? 0 : static_cast<std::int64_t>(st.st_size);
  info.Modified = {static_cast<std::int64_t>(st.st_mtim.tv_sec), static_cast<std::int32_t>(st.st_mtim.tv_nsec)};
  info.Device = st.st_dev;
  info.Inode = st.st_ino;
  return info;
}

// Facts of `name` inside folder `dirfd` (or of a path with AT_FDCWD), links followed;
// a dangling link is an entry of kind Other.
EntryInfo StatAt(int dirfd, const char* name) {
  struct stat st {};
  if (fstatat(dirfd, name, &st, 0) == 0) {
    struct stat own {};
    const bool link = fstatat(dirfd, name, &own, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(own.st_mode);
    return InfoOf(st, link);
  }
  if (fstatat(dirfd, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
    EntryInfo info = InfoOf(st, S_ISLNK(st.st_mode));
    if (info.IsLink) info.Kind = EntryKind::Other;
    return info;
  }
  return {};
}

// Copies the open file `in` into `out` (the kernel's copy where it can, else read/write).
bool CopyBytes(int in, int out, std::int64_t size) {
  std::int64_t left = size;
  while (left > 0) {
    ssize_t n = copy_file_range(in, nullptr, out, nullptr, static_cast<std::size_t>(left), 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP) break;
      return false;
    }
    if (n == 0) break;  // the file shrank meanwhile, or a file system that reports no size
    left -= n;
  }
  // Whatever is left (or a file that grew) goes through a buffer.
  char buf[65536];
  for (;;) {
    ssize_t n = read(in, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) return true;
    if (!posix::WriteAll(out, std::string_view(buf, static_cast<std::size_t>(n)))) return false;
  }
}

// The listing of an open folder, which then owns (and closes) the descriptor.
posix::OwnedFolder ListingOf(posix::FileDescriptor& folder) {
  posix::OwnedFolder d(fdopendir(folder.Get()));
  if (d) folder.Release();
  return d;
}

// Deletes everything inside the open folder, never leaving it through a link.
bool EmptyFolder(posix::FileDescriptor folder, int& err) {
  const int dirfd = folder.Get();
  const posix::OwnedFolder d = ListingOf(folder);
  if (!d) {
    err = errno;
    return false;
  }
  bool ok = true;
  while (dirent* e = readdir(d.get())) {
    const char* name = e->d_name;
    if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
    struct stat st {};
    if (fstatat(dirfd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone meanwhile
    if (S_ISDIR(st.st_mode)) {
      posix::FileDescriptor sub(openat(dirfd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      if (!sub) err = errno;
      if (!sub || !EmptyFolder(std::move(sub), err)) {
        ok = false;
        continue;
      }
      if (unlinkat(dirfd, name, AT_REMOVEDIR) != 0) {
        err = errno;
        ok = false;
      }
    } else if (unlinkat(dirfd, name, 0) != 0) {
      err = errno;
      ok = false;
    }
  }
  return ok;
}

class LinuxFileSystem final : public platform::FileSystem {
 public:
  bool ReadFolder(std::u16string_view path, bool details, EntryInfo& self, std::vector<FolderEntry>& entries) override {
    entries.clear();
    const std::string native = path.empty() ? std::string(".") : NativePath(path);
    posix::FileDescriptor folder(open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!folder) return false;
    struct stat st {};
    if (fstat(folder.Get(), &st) != 0) return false;
    self = InfoOf(st, false);
    const int fd = folder.Get();
    const posix::OwnedFolder d = ListingOf(folder);
    if (!d) return false;
    while (dirent* e = readdir(d.get())) {
      const char* name = e->d_name;
      if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
      FolderEntry entry;
      entry.Name = LibraryPath(name);
      if (details || e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {
        entry.Info = StatAt(fd, name);
        if (entry.Info.Kind == EntryKind::None) continue;  // gone meanwhile
      } else {
        entry.Info.Kind = e->d_type == DT_DIR   ? EntryKind::Folder
                          : e->d_type == DT_REG ? EntryKind::File
                                                : EntryKind::Other;
      }
      entries.push_back(std::move(entry));
    }
    return true;
  }

  EntryInfo Stat(std::u16string_view path) override {
    if (path.empty()) return {};
    return StatAt(AT_FDCWD, NativePath(path).c_str());
  }

  bool EntryExists(std::u16string_view path) override {
    struct stat st {};
    return !path.empty() && lstat(NativePath(path).c_str(), &st) == 0;
  }

  std::u16string CurrentFolder() override {
    std::string buf(4096, '\0');
    while (getcwd(buf.data(), buf.size()) == nullptr) {
      if (errno != ERANGE || buf.size() > (1u << 20)) return {};
      buf.resize(buf.size() * 2);
    }
    buf.resize(std::char_traits<char>::length(buf.c_str()));
    return LibraryPath(buf);
  }

  bool CreateFolders(std::u16string_view path) override {
    if (path.empty()) return false;
    const std::string native = NativePath(path);
    // Every prefix that ends before a separator, then the whole path.
    for (std::size_t i = 1; i <= native.size(); ++i) {
      if (i < native.size() && native[i] != '/') continue;
      const std::string part = native.substr(0, i);
      if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) {
        // A part we may not create can still exist (a folder we cannot list).
        struct stat st {};
        if (stat(part.c_str(), &st) != 0) return false;
      }
    }
    struct stat st {};
    return stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }

  bool CopyFile(std::u16string_view from, std::u16string_view to, bool replace, std::u16string* why) override {
    // Like cp, a copy is as durable as the system makes it.
    return Copy(from, to, replace, false, why);
  }

  bool MoveFile(std::u16string_view from, std::u16string_view to, std::u16string* why) override {
    const std::string src = NativePath(from);
    struct stat own {};
    if (src.empty() || to.empty() || lstat(src.c_str(), &own) != 0) return Fail(why, src.empty() ? ENOENT : errno);
    // A link (its target is copied, the link deleted), a read-only file (copied, then
    // kept) or a file this process cannot read go the way the copy and the delete go.
    if (!S_ISREG(own.st_mode) || IsReadOnly(own) || (!Root() && access(src.c_str(), R_OK) != 0))
      return CopyThenDelete(from, to, why);
    std::string real = NativePath(to);
    // The common case first: nothing by that name, one call.
    if (renameat2(AT_FDCWD, src.c_str(), AT_FDCWD, real.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EEXIST && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
      return CopyThenDelete(from, to, why);
    struct stat dst {};
    bool exists = lstat(real.c_str(), &dst) == 0;
    if (exists && S_ISLNK(dst.st_mode)) {
      real = posix::ResolveLinks(real);  // the file a link names is replaced, as a copy replaces it
      exists = stat(real.c_str(), &dst) == 0;
    }
    if (exists) {
      // The refusals of a copy over an existing file: the rules of a replacement.
      if (S_ISDIR(dst.st_mode)) return Fail(why, EISDIR);
      if (dst.st_dev == own.st_dev && dst.st_ino == own.st_ino) return Fail(why, EINVAL);  // onto itself
      const posix::ReplaceError e = posix::CheckTarget(dst, AT_FDCWD, real.c_str(), posix::ReadOnlyTarget::Refuse);
      if (e.What == posix::ReplaceError::Kind::ReadOnly) return FailText(why, kReadOnly);
      if (e) return FailText(why, Utf8ToU16(e.Reason()));
    }
    if (rename(src.c_str(), real.c_str()) == 0) return true;
    // Across file systems (EXDEV) the bytes must be copied. Any other refusal (a
    // folder this process may not write, a sticky one) ends as the copy and the
    // delete end it, a copy that was possible included.
    return CopyThenDelete(from, to, why);
  }

 private:
  // A move across file systems, or of what cannot be renamed: the copy is whole and
  // on the disk before the source goes.
  bool CopyThenDelete(std::u16string_view from, std::u16string_view to, std::u16string* why) {
    return Copy(from, to, true, true, why) && DeleteFile(from, why);
  }

  bool Copy(std::u16string_view from, std::u16string_view to, bool replace, bool flush, std::u16string* why) {
    const std::string src = NativePath(from);
    // Not blocking: a pipe would wait for a writer before it could be refused.
    const posix::FileDescriptor in(
        posix::Retry([&] { return open(src.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); }));
    if (!in) return Fail(why, errno);
    struct stat sst {};
    if (fstat(in.Get(), &sst) != 0) return Fail(why, errno);
    if (S_ISDIR(sst.st_mode)) return Fail(why, EISDIR);
    if (!S_ISREG(sst.st_mode)) return FailText(why, Utf8ToU16(posix::NotRegular(sst.st_mode)));
    const std::string real = posix::ResolveLinks(NativePath(to));
    struct stat dst {};
    if (stat(real.c_str(), &dst) == 0) {
      int err = 0;
      if (!replace)
        err = EEXIST;
      else if (S_ISDIR(dst.st_mode))
        err = EISDIR;
      else if (dst.st_dev == sst.st_dev && dst.st_ino == sst.st_ino)
        err = EINVAL;  // onto itself
      if (err) return Fail(why, err);
    }
    posix::ReplacementFile out;
    posix::ReplaceOptions options;
    options.Flush = flush;
    posix::ReplaceError e = out.Open(real, options);
    if (e.What == posix::ReplaceError::Kind::ReadOnly) return FailText(why, kReadOnly);
    if (!e) {
      out.SetMode(sst.st_mode);
      const struct timespec times[2] = {sst.st_atim, sst.st_mtim};
      if (!CopyBytes(in.Get(), out.Descriptor(), sst.st_size) || futimens(out.Descriptor(), times) != 0)
        e = {posix::ReplaceError::Kind::System, errno, 0};
    }
    if (!e) e = out.Commit();
    if (e) return FailText(why, Utf8ToU16(e.Reason()));
    return true;
  }

 public:
  bool Rename(std::u16string_view from, std::u16string_view to, std::u16string* why) override {
    const std::string a = NativePath(from), b = NativePath(to);
    if (a.empty() || b.empty()) return Fail(why, ENOENT);
    if (renameat2(AT_FDCWD, a.c_str(), AT_FDCWD, b.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) return Fail(why, errno);
    // A file system without the no-replace rename: a file is linked under its new
    // name (which fails when that name exists) and unlinked under the old one.
    struct stat st {};
    if (lstat(a.c_str(), &st) != 0) return Fail(why, errno);
    if (!S_ISDIR(st.st_mode) && link(a.c_str(), b.c_str()) == 0) {
      unlink(a.c_str());
      return true;
    }
    if (lstat(b.c_str(), &st) == 0) return Fail(why, EEXIST);
    if (rename(a.c_str(), b.c_str()) != 0) return Fail(why, errno);
    return true;
  }

  bool MoveReplacing(std::u16string_view from, std::u16string_view to, std::u16string* why,
                     platform::ReadOnlyFile readOnly) override {
    const std::string a = NativePath(from);
    if (a.empty() || to.empty()) return Fail(why, ENOENT);
    struct stat st {};
    if (lstat(a.c_str(), &st) != 0) return Fail(why, errno);
    if (S_ISDIR(st.st_mode)) return Fail(why, EISDIR);
    posix::ReplacementFile out;
    posix::ReplaceOptions options;
    if (readOnly == platform::ReadOnlyFile::KeepReadOnly) options.ReadOnly = posix::ReadOnlyTarget::KeepReadOnly;
    posix::ReplaceError e = out.Open(NativePath(to), options);
    if (e.What == posix::ReplaceError::Kind::ReadOnly) return FailText(why, kReadOnly);
    if (e.What == posix::ReplaceError::Kind::NotRegular && S_ISDIR(e.Mode)) return Fail(why, EISDIR);
    if (!e) e = out.CommitFrom(a);
    if (e) return FailText(why, Utf8ToU16(e.Reason()));
    return true;
  }

  bool DeleteFile(std::u16string_view path, std::u16string* why) override {
    const std::string native = NativePath(path);
    struct stat st {};
    if (native.empty() || lstat(native.c_str(), &st) != 0) return Fail(why, native.empty() ? ENOENT : errno);
    if (S_ISDIR(st.st_mode)) return Fail(why, EISDIR);
    if (IsReadOnly(st)) return FailText(why, kReadOnly);
    if (unlink(native.c_str()) != 0) return Fail(why, errno);
    return true;
  }

  bool DeleteTree(std::u16string_view path, std::u16string* why) override {
    const std::string native = NativePath(path);
    struct stat st {};
    if (native.empty() || lstat(native.c_str(), &st) != 0) return Fail(why, native.empty() ? ENOENT : errno);
    if (!S_ISDIR(st.st_mode)) {
      if (unlink(native.c_str()) != 0) return Fail(why, errno);
      return true;
    }
    posix::FileDescriptor folder(open(native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!folder) return Fail(why, errno);
    int err = 0;
    if (!EmptyFolder(std::move(folder), err)) return Fail(why, err);
    if (rmdir(native.c_str()) != 0) return Fail(why, errno);
    return true;
  }

  bool MoveToTrash(std::u16string_view path, std::u16string* why) override {
    std::string err;
    if (linux_places::MoveToTrash(NativePath(path), err)) return true;
    return FailText(why, Utf8ToU16(err));
  }

  bool SetModified(std::u16string_view path, FileTime time, std::u16string* why) override {
    const std::string native = NativePath(path);
    struct stat st {};
    if (stat(native.c_str(), &st) != 0) return Fail(why, errno);
    if (IsReadOnly(st)) return FailText(why, kReadOnly);
    const struct timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(time.Seconds), time.Nanoseconds}};
    if (utimensat(AT_FDCWD, native.c_str(), times, 0) != 0) return Fail(why, errno);
    return true;
  }

  bool SetReadOnly(std::u16string_view path, bool readOnly, std::u16string* why) override {
    const std::string native = NativePath(path);
    struct stat st {};
    if (stat(native.c_str(), &st) != 0) return Fail(why, errno);
    const mode_t mode = readOnly ? (st.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (st.st_mode | S_IWUSR);
    if (chmod(native.c_str(), mode & 07777) != 0) return Fail(why, errno);
    return true;
  }

  std::u16string CreateUniqueFile(std::u16string_view folder, std::u16string_view prefix,
                                  std::u16string_view extension) override {
    std::string dir = NativePath(folder);
    if (!dir.empty() && dir.back() != '/') dir += '/';
    const std::string pre = NativePath(prefix), ext = NativePath(extension);
    // A start that differs between processes; then one number after the other, as
    // many as four hexadecimal digits hold.
    unsigned start = static_cast<unsigned>(getpid()) * 2654435761u ^ static_cast<unsigned>(time(nullptr));
    for (unsigned k = 0; k < 0x10000; ++k) {
      const unsigned n = ((start + k) & 0xFFFF) | (((start + k) & 0xFFFF) == 0 ? 1 : 0);
      char hex[8];
      std::snprintf(hex, sizeof hex, "%X", n);
      const std::string name = pre + hex + ext;
      if (posix::FileDescriptor(open((dir + name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)))
        return LibraryPath(name);
      if (errno != EEXIST) return {};
    }
    return {};
  }

  bool ReadAll(std::u16string_view path, std::string& bytes) override {
    return posix::ReadWhole(NativePath(path), bytes);
  }

  bool ReadRange(std::u16string_view path, std::uint64_t offset, std::size_t count, std::string& bytes) override {
    return posix::ReadPart(NativePath(path), offset, count, bytes);
  }

  void Replace(std::u16string_view path, std::string_view bytes, platform::ReadOnlyFile readOnly) override {
    posix::ReplaceWhole(NativePath(path), bytes, 0666,
                        readOnly == platform::ReadOnlyFile::KeepReadOnly ? posix::ReadOnlyTarget::KeepReadOnly
                                                                         : posix::ReadOnlyTarget::Refuse);
  }

  std::u16string SpecialFolderPath(SpecialFolder folder) override {
    return LibraryPath(linux_places::SpecialFolder(folder));
  }

  bool CanOpenPort(PortKind kind, int number, std::u16string* why) override {
    if (number < 1) return Fail(why, ENOENT);
    const std::string device = (kind == PortKind::Parallel ? "/dev/lp" : "/dev/ttyS") + std::to_string(number - 1);
    if (!posix::FileDescriptor(open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)))
      return Fail(why, errno);
    return true;
  }

  LocalDateTime ToLocal(FileTime time) override {
    return LocalTimeOf(static_cast<std::time_t>(time.Seconds), time.Nanoseconds);
  }

  bool FromLocal(const LocalDateTime& local, FileTime& time) override {
    struct tm tm {};
    tm.tm_year = local.Year - 1900;
    tm.tm_mon = local.Month - 1;
    tm.tm_mday = local.Day;
    tm.tm_hour = local.Hour;
    tm.tm_min = local.Minute;
    tm.tm_sec = local.Second;
    tm.tm_isdst = -1;
    const time_t t = mktime(&tm);
    // mktime moves a time that the clock skips; reading it back tells.
    struct tm back {};
    if (!localtime_r(&t, &back) || back.tm_year != local.Year - 1900 || back.tm_mon != local.Month - 1 ||
        back.tm_mday != local.Day || back.tm_hour != local.Hour || back.tm_min != local.Minute ||
        back.tm_sec != local.Second)
      return false;
    time.Seconds = t;
    time.Nanoseconds = local.Millisecond * 1000000;
    return true;
  }
};

}  // namespace

platform::FileSystem& SystemFileSystem() {
  static LinuxFileSystem fs;
  return fs;
}

}  // namespace zelmor::adapters
