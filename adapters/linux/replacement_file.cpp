#include "adapters/linux/replacement_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <random>

#include "adapters/linux/posix_files.h"
#include "core/errors.h"
#include "core/integer_text.h"

namespace zelmor::adapters::posix {
namespace {

ReplaceError SystemError(int err) { return {ReplaceError::Kind::System, err, 0}; }

// A short hidden name for the new file: a few bytes of the target's name, for whoever
// finds one left by a crash, and a random number. At most 36 bytes, whatever the
// target's length.
std::string ShortName(const std::string& base) {
  static std::atomic<std::uint64_t> counter{0};
  static const std::uint64_t salt = (static_cast<std::uint64_t>(std::random_device{}()) << 32) ^
                                    std::random_device{}() ^ static_cast<std::uint64_t>(getpid());
  std::size_t keep = std::min<std::size_t>(base.size(), 16);
  while (keep > 0 && keep < base.size() && (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80) --keep;
  const std::uint64_t n = (salt + counter++ * 0x9E3779B97F4A7C15ull) & 0xFFFFFFFFFFFFull;
  std::string name = "." + base.substr(0, keep) + ".";
  AppendUnsigned<16>(name, n, 12);
  return name + ".tmp";
}

}  // namespace

void WriteBehind::Wrote(int fd, std::uint64_t size) {
  // Large enough that the calls cost nothing, small enough that the disk starts early.
  constexpr std::uint64_t kStep = 8u << 20;
  if (size < FStarted + kStep) return;
  // Only a hint: where the file system does not take it, the final flush does it all.
  sync_file_range(fd, static_cast<off_t>(FStarted), static_cast<off_t>(size - FStarted), SYNC_FILE_RANGE_WRITE);
  FStarted = size;
}

std::string ReplaceError::Reason() const {
  switch (What) {
    case Kind::None: return {};
    case Kind::NotRegular: return NotRegular(Mode);
    case Kind::ReadOnly: return "o arquivo é somente leitura";
    case Kind::OtherOwner: return "o arquivo pertence a outro usuário";
    case Kind::System: return ErrorText(Errno);
  }
  return {};
}

ReplaceError CheckTarget(const struct stat& target, int folder, const char* name, ReadOnlyTarget readOnly) {
  // A rename would swap a pipe or a device node for a file, and would go round a
  // read-only file's permissions.
  if (!S_ISREG(target.st_mode)) return {ReplaceError::Kind::NotRegular, 0, static_cast<unsigned>(target.st_mode)};
  const bool readOnlyBit = (target.st_mode & S_IWUSR) == 0;
  if (readOnlyBit && readOnly == ReadOnlyTarget::Refuse) return {ReplaceError::Kind::ReadOnly, 0, 0};
  // Beyond the read-only bit the permissions say whether this process may change
  // the file (the rename itself only needs the folder).
  if (!readOnlyBit && faccessat(folder, name, W_OK, AT_EACCESS) != 0) return SystemError(EACCES);
  const uid_t self = geteuid();
  if (target.st_uid != self && self != 0) return {ReplaceError::Kind::OtherOwner, 0, 0};
  return {};
}

ReplacementFile::~ReplacementFile() {
  FFile.Reset();
  if (!FCommitted && !FTempName.empty()) unlinkat(FFolderFd, FTempName.c_str(), 0);
}

ReplaceError ReplacementFile::Discard(ReplaceError e) {
  FFile.Reset();
  if (!FTempName.empty()) unlinkat(FFolderFd, FTempName.c_str(), 0);
  FTempName.clear();
  return e;
}

ReplaceError ReplacementFile::Open(const std::string& path, const ReplaceOptions& options) {
  FOptions = options;
  if (path.empty()) return SystemError(ENOENT);
  try {
    FTarget = options.FollowLinks ? ResolveLinks(path) : path;
  } catch (const EFileError&) {
    return SystemError(ELOOP);
  }
  FFolderPath = FolderOf(FTarget);
  FName = BaseOf(FTarget);
  if (FName.empty() || FName == "." || FName == "..") return SystemError(EISDIR);
  FFolder.Reset(Retry([&] { return open(FFolderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); }));
  if (!FFolder) return SystemError(errno);
  FFolderFd = FFolder.Get();
  return OpenInFolder();
}

ReplaceError ReplacementFile::Open(int folder, const std::string& name, const ReplaceOptions& options) {
  FOptions = options;
  FOptions.FollowLinks = false;
  FTarget = name;
  FName = name;
  if (FName.empty() || FName == "." || FName == "..") return SystemError(EISDIR);
  if (FName.find('/') != std::string::npos) return SystemError(EINVAL);
  if (folder < 0) return SystemError(EBADF);
  FFolderFd = folder;
  return OpenInFolder();
}

ReplaceError ReplacementFile::OpenInFolder() {
  const ReplaceOptions& options = FOptions;
  struct stat old {};
  if (fstatat(FFolderFd, FName.c_str(), &old, options.FollowLinks ? 0 : AT_SYMLINK_NOFOLLOW) == 0) {
    FExisted = true;
  } else if (errno != ENOENT) {
    return SystemError(errno);
  }
  // A link replaced as a name (not followed) has no mode or owner of its own to keep.
  const bool file = FExisted && !S_ISLNK(old.st_mode);
  if (file)
    if (ReplaceError e = CheckTarget(old, FFolderFd, FName.c_str(), options.ReadOnly)) return e;

  const unsigned mode = file ? 0600 : options.NewMode;
  // Nameless while written, where the file system can: a crash leaves nothing behind.
  // Naming it later needs root or /proc (see Commit); without either it gets a name now.
  static const bool canName = geteuid() == 0 || access("/proc/self/fd", X_OK) == 0;
  if (canName) FFile.Reset(Retry([&] { return openat(FFolderFd, ".", O_TMPFILE | O_RDWR | O_CLOEXEC, mode); }));
  if (!FFile) {
    if (canName && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return SystemError(errno);
    for (int attempt = 0; attempt < 100 && !FFile; ++attempt) {
      const std::string name = ShortName(FName);
      FFile.Reset(Retry([&] { return openat(FFolderFd, name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, mode); }));
      if (FFile)
        FTempName = name;
      else if (errno != EEXIST)
        return SystemError(errno);
    }
    if (!FFile) return SystemError(EEXIST);
  }
  if (file) {
    // Keeps the owner where this process may give the file away (root may), and never
    // moves another user's file to this one: it would lose it (asked again after the
    // check: root in a user namespace cannot give a file to a user outside it).
    if (fchown(FFile.Get(), old.st_uid, old.st_gid) != 0 && old.st_uid != geteuid())
      return Discard({ReplaceError::Kind::OtherOwner, 0, 0});
    if (FMode < 0) FMode = static_cast<int>(old.st_mode & 07777);
    FOwner = static_cast<long>(old.st_uid);
    FGroup = static_cast<long>(old.st_gid);
  }
  return {};
}

ReplaceError ReplacementFile::Write(std::string_view bytes) {
  if (!FFile) return SystemError(EBADF);
  if (!WriteAll(FFile.Get(), bytes)) return SystemError(errno);
  FWritten += bytes.size();
  if (FOptions.Flush) FWriteBehind.Wrote(FFile.Get(), FWritten);
  return {};
}

ReplaceError ReplacementFile::Commit() {
  if (!FFile || FCommitted) return SystemError(EBADF);
  // After the owner: a change of owner clears the set-id bits.
  if (FMode >= 0 && fchmod(FFile.Get(), static_cast<mode_t>(FMode)) != 0) return Discard(SystemError(errno));
  // On the disk before it takes the old file's place: a power cut then leaves one of the two.
  if (FOptions.Flush && Retry([&] { return fsync(FFile.Get()); }) != 0) return Discard(SystemError(errno));
  if (FTempName.empty()) {
    // A nameless file is linked under the target's name when there was no target: it
    // appears whole, in one call. Otherwise (or when a file took the name meanwhile) it
    // gets a short name, then the target's in one rename (a link cannot replace a
    // name). Root links the descriptor itself; others go through /proc.
    const std::string self = "/proc/self/fd/" + std::to_string(FFile.Get());
    const auto link = [&](const std::string& name) {
      return linkat(FFile.Get(), "", FFolderFd, name.c_str(), AT_EMPTY_PATH) == 0 ||
             (errno != EEXIST && linkat(AT_FDCWD, self.c_str(), FFolderFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0);
    };
    if (!FExisted) {
      if (link(FName)) {
        FCommitted = true;
        if (FOptions.Flush) Retry([&] { return fsync(FFolderFd); });
        return {};
      }
      if (errno != EEXIST) return Discard(SystemError(errno));
    }
    for (int attempt = 0; attempt < 100 && FTempName.empty(); ++attempt) {
      const std::string name = ShortName(FName);
      if (link(name))
        FTempName = name;
      else if (errno != EEXIST)
        return Discard(SystemError(errno));
    }
    if (FTempName.empty()) return Discard(SystemError(EEXIST));
  }
  if (renameat(FFolderFd, FTempName.c_str(), FFolderFd, FName.c_str()) != 0) return Discard(SystemError(errno));
  FTempName.clear();
  FCommitted = true;
  // The rename itself on the disk; the file is in place whatever this answers.
  if (FOptions.Flush) Retry([&] { return fsync(FFolderFd); });
  return {};
}

ReplaceError ReplacementFile::CommitFrom(const std::string& ready) {
  if (!FFile || FCommitted) return SystemError(EBADF);
  Discard({});
  const FileDescriptor file(Retry([&] { return open(ready.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY); }));
  if (!file) return SystemError(errno);
  struct stat st {};
  if (fstat(file.Get(), &st) != 0) return SystemError(errno);
  if (!S_ISREG(st.st_mode)) return {ReplaceError::Kind::NotRegular, 0, static_cast<unsigned>(st.st_mode)};
  if (FOwner >= 0 && fchown(file.Get(), static_cast<uid_t>(FOwner), static_cast<gid_t>(FGroup)) != 0 &&
      static_cast<uid_t>(FOwner) != geteuid())
    return {ReplaceError::Kind::OtherOwner, 0, 0};
  if (FMode >= 0 && fchmod(file.Get(), static_cast<mode_t>(FMode)) != 0) return SystemError(errno);
  if (FOptions.Flush && Retry([&] { return fsync(file.Get()); }) != 0) return SystemError(errno);
  if (renameat(AT_FDCWD, ready.c_str(), FFolderFd, FName.c_str()) != 0) return SystemError(errno);
  FCommitted = true;
  if (FOptions.Flush) Retry([&] { return fsync(FFolderFd); });
  return {};
}

}  // namespace zelmor::adapters::posix
