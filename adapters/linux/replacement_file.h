// The one way a file is replaced whole (the idea of Qt's QSaveFile): a temporary
// file beside the target is written, flushed, given the target's mode and owner and
// renamed into place, or discarded. A reader, a crash or a failure sees the old file
// or the whole new one, never a part. Every writer that replaces a file goes through it:
// whole-file writes, copies, unpacked entries, archives, downloads.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "adapters/linux/file_descriptor.h"

namespace zelmor::adapters::posix {

// For a file written from start to end and flushed when whole (a download): hands
// each few megabytes to the disk as soon as they are written, without waiting, so the
// disk writes while the rest arrives and the final flush waits only for the tail.
class WriteBehind {
 public:
  // `fd` now holds `size` bytes from its start.
  void Wrote(int fd, std::uint64_t size);

 private:
  std::uint64_t FStarted = 0;  // bytes already handed to the disk
};

// What happens to a target whose owner-write bit is clear (the read-only attribute).
enum class ReadOnlyTarget {
  Refuse,        // refused, for root too: a rename would go round the attribute
  KeepReadOnly,  // replaced and read-only again (a program update replacing its own files)
};

struct ReplaceOptions {
  // A new file's permissions (less the umask); an existing target keeps its own.
  unsigned NewMode = 0666;
  ReadOnlyTarget ReadOnly = ReadOnlyTarget::Refuse;
  // True: a symbolic link is followed and the file it names replaced. False: the
  // name itself is replaced, a link there included (unpacking).
  bool FollowLinks = true;
  // True: the file and its folder are flushed to the disk before and after the
  // rename, so a power cut leaves one of the two. False for copies, which are as
  // durable as cp makes them.
  bool Flush = true;
};

// Why a replacement did not happen.
struct ReplaceError {
  enum class Kind {
    None,
    NotRegular,  // the target is a folder, a pipe, a socket or a device
    ReadOnly,    // owner-write bit clear and ReadOnlyTarget::Refuse
    OtherOwner,  // another user's file, whose owner this process cannot keep
    System,      // a call failed: `Errno` (EACCES when the target is not writable)
  };
  Kind What = Kind::None;
  int Errno = 0;
  unsigned Mode = 0;  // the target's mode, for NotRegular

  explicit operator bool() const { return What != Kind::None; }
  // The reason in the words the messages use: "o arquivo é somente leitura", the
  // system's text for `Errno`, ...
  std::string Reason() const;
};

// Whether this process may put another file in the place of the existing file `name`
// of folder `folder` (AT_FDCWD with a path), whose facts `target` were read with links
// followed (a link replaced as a name is not asked about). The one set of rules for a
// replacement and for a rename over a file: a folder, a pipe or a device is NotRegular;
// a clear owner-write bit is ReadOnly, for root too, unless `readOnly` keeps it; a file
// this process may not write is System EACCES; another user's file is OtherOwner unless
// this process may give a file away (root), since the new file would take its owner.
ReplaceError CheckTarget(const struct stat& target, int folder, const char* name, ReadOnlyTarget readOnly);

// One replacement in progress. Open, write through Descriptor() or Write(), Commit().
// Destroyed uncommitted, it discards the new file and leaves the target untouched.
//   ReplacementFile file;
//   if (auto e = file.Open(path); e || (e = file.Write(bytes)) || (e = file.Commit())) Fail(path, e.Reason());
//
// The temporary file has no name while it is written where the file system allows
// (O_TMPFILE), else a short random one; either way its name fits whatever the
// target's length (a 255-byte name works). A nameless file that replaces nothing is
// linked under the target's name directly.
class ReplacementFile {
 public:
  ReplacementFile() = default;
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;
  ~ReplacementFile();

  // Checks the target against the rules and opens the new file beside it. Nothing is
  // written to the target's folder when this fails.
  ReplaceError Open(const std::string& path, const ReplaceOptions& options = {});
  // The same for the entry `name` (no "/") of the open folder `folder`, which the
  // caller reached without following links; a link named `name` is replaced as a
  // name (FollowLinks is taken as false). The caller keeps `folder` open while this
  // lives (one descriptor serves a run of files, with no copy of it for each).
  ReplaceError Open(int folder, const std::string& name, const ReplaceOptions& options = {});

  // The new file, open for writing (and reading).
  int Descriptor() const { return FFile.Get(); }
  // The path that will be replaced (links followed when asked).
  const std::string& Target() const { return FTarget; }
  // Whether the target existed when opened.
  bool Replaces() const { return FExisted; }

  // Appends all of `bytes`, retrying short writes.
  ReplaceError Write(std::string_view bytes);
  // The new file's permissions instead of the target's (a copy takes its source's).
  void SetMode(unsigned mode) { FMode = static_cast<int>(mode & 07777); }

  // Gives the new file its mode, flushes it, and renames it over the target. The
  // descriptor stays open (TakeDescriptor) until this goes.
  ReplaceError Commit();
  // Commits `ready` instead of the new file: a file made elsewhere on the same file
  // system (a finished download) gets the target's mode and owner, is flushed and
  // renamed over the target. The new file opened beside is discarded.
  ReplaceError CommitFrom(const std::string& ready);
  // The new file's descriptor, after Commit, for a caller that keeps it.
  FileDescriptor TakeDescriptor() { return std::move(FFile); }

 private:
  ReplaceError OpenInFolder();
  ReplaceError Discard(ReplaceError e);

  ReplaceOptions FOptions;
  std::string FTarget;      // as given, links followed when asked
  std::string FFolderPath;  // the target's folder
  std::string FName;        // the target's name in its folder
  std::string FTempName;    // the temporary file's name in the folder, once it has one
  FileDescriptor FFolder;   // the target's folder when opened here by path
  int FFolderFd = -1;       // the target's folder, so the rename and the flush act on it
  FileDescriptor FFile;     // the new file
  bool FExisted = false;
  bool FCommitted = false;
  std::uint64_t FWritten = 0;  // through Write
  WriteBehind FWriteBehind;
  long FOwner = -1, FGroup = -1;  // the target's, when it was a file
  int FMode = -1;                 // -1: the target's mode (a new file keeps the one it was made with)
};

}  // namespace zelmor::adapters::posix
