// What the file routines need from the operating system's file system: reading a
// folder, the facts of one entry, copies that keep their times, renames that never
// replace, deletion (also to the trash), special folders and file times.
//
// Paths are the library's text. On Linux they are bytes: a name that is not UTF-8
// travels as its escaped form (Utf8Invalid::Escape in core/text.h), so every name
// that a folder listing gives can be copied, renamed and deleted.
//
// The rules Windows callers rely on hold here: a read-only entry is one whose owner
// may not write it, and it is neither deleted, nor written, nor replaced by a copy or
// a rename, whoever runs the program (root included).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/clock.h"
#include "platform/service.h"

namespace zelmor::platform {

// An instant on the file system's clock: seconds and nanoseconds since 1970-01-01 UTC.
struct FileTime {
  std::int64_t Seconds = 0;
  std::int32_t Nanoseconds = 0;
};

enum class EntryKind : unsigned char { None, File, Folder, Other };

// The facts of one entry, symbolic links followed (a link whose target is missing
// is an entry of kind Other).
struct EntryInfo {
  EntryKind Kind = EntryKind::None;  // None: there is no such entry
  bool IsLink = false;               // the entry itself is a symbolic link
  bool ReadOnly = false;             // its owner may not write it
  std::int64_t Size = 0;             // bytes; 0 for folders
  FileTime Modified;
  std::uint64_t Device = 0, Inode = 0;  // identity: the same pair is the same folder
};

struct FolderEntry {
  std::u16string Name;
  EntryInfo Info;  // Kind and IsLink always; the rest when details were asked for
};

// The platform's special folders. Each answer is a path without a trailing
// separator, or empty where the system has no such folder.
enum class SpecialFolder {
  Windows,           // the operating system's own folder
  System,            // its system folder
  System32,          // the folder of 32-bit system programs
  Temp,              // the temporary folder
  Desktop,           // the user's desktop (the shell's view of it)
  DesktopDirectory,  // the folder that holds the desktop's files
  StartMenu,         // the user's start menu (application launchers)
  CommonStartMenu,   // the start menu of all users
  AppData,           // the user's application data (roaming)
  LocalAppData,      // the user's application data kept on this machine
};

// Printer connections that are devices of their own.
enum class PortKind { Parallel, Serial };

// What replacing a read-only file does.
enum class ReadOnlyFile {
  Refuse,        // refuses it, as a copy over it does
  KeepReadOnly,  // replaces it and leaves it read-only
};

class FileSystem {
 public:
  static constexpr const char* kServiceName = "file system";
  virtual ~FileSystem() = default;

  // ---- Entries ----

  // Reads folder `path`: every entry except "." and "..", in no particular order.
  // With `details`, each entry's facts are complete (links followed); without,
  // only Kind and IsLink are. `self` gets the folder's own facts. False when the
  // folder cannot be read (missing, not a folder, no access).
  virtual bool ReadFolder(std::u16string_view path, bool details, EntryInfo& self,
                          std::vector<FolderEntry>& entries) = 0;
  // The facts of `path` (links followed). Kind None when there is no such entry.
  virtual EntryInfo Stat(std::u16string_view path) = 0;
  // True when there is an entry of any kind by that name, a dangling link included.
  virtual bool EntryExists(std::u16string_view path) = 0;
  // The current folder, without a trailing separator.
  virtual std::u16string CurrentFolder() = 0;

  // ---- Changes ----
  // Each false answer puts the system's reason in `why` when it is given.

  // Creates the folder and every missing folder above it. True when it exists afterwards.
  virtual bool CreateFolders(std::u16string_view path) = 0;
  // Copies file `from` to `to`: the bytes go to a new file beside `to`, which then
  // takes `to`'s place, so `to` is never seen half-written. The copy keeps the
  // source's permissions and modification time. With `replace` false an existing
  // `to` is left alone and the answer is false; a read-only `to` is never replaced.
  virtual bool CopyFile(std::u16string_view from, std::u16string_view to, bool replace,
                        std::u16string* why = nullptr) = 0;
  // Moves file `from` to `to` with the outcome of CopyFile(from, to, true) followed by
  // DeleteFile(from): `to` is replaced under the same rules, and a read-only `from`
  // (or a symbolic link, whose target is copied) is copied and stays, answering false.
  // Within one file system the file is renamed, keeping its owner, permissions and
  // times. Across file systems it is copied, the copy flushed to the disk, and only
  // then is `from` deleted, so neither a failure nor a power cut loses it.
  virtual bool MoveFile(std::u16string_view from, std::u16string_view to, std::u16string* why = nullptr) = 0;
  // Renames `from` (a file or a folder) to `to`; fails when `to` exists.
  virtual bool Rename(std::u16string_view from, std::u16string_view to, std::u16string* why = nullptr) = 0;
  // Moves file `from` over file `to` in one step, for a new version made beside it: a
  // reader, a crash or a failure sees the old `to` or the whole new file, never
  // neither. `from` is flushed to the disk first and given `to`'s permissions (so a
  // replacement never widens them). A symbolic link `to` is followed and
  // its target replaced; a read-only `to` is refused unless `readOnly` keeps it
  // read-only, and a folder is refused (then both stay).
  virtual bool MoveReplacing(std::u16string_view from, std::u16string_view to, std::u16string* why = nullptr,
                             ReadOnlyFile readOnly = ReadOnlyFile::Refuse) = 0;
  // Deletes one file (or symbolic link); refuses folders and read-only files.
  virtual bool DeleteFile(std::u16string_view path, std::u16string* why = nullptr) = 0;
  // Deletes an entry with everything below it. Symbolic links are deleted, never
  // followed; read-only files inside are deleted too (as the shell does).
  virtual bool DeleteTree(std::u16string_view path, std::u16string* why = nullptr) = 0;
  // Moves an entry to the user's trash, where it can be restored from.
  virtual bool MoveToTrash(std::u16string_view path, std::u16string* why = nullptr) = 0;
  // Sets the modification time; refuses read-only files.
  virtual bool SetModified(std::u16string_view path, FileTime time, std::u16string* why = nullptr) = 0;
  // Makes the entry writable by its owner, or read-only.
  virtual bool SetReadOnly(std::u16string_view path, bool readOnly, std::u16string* why = nullptr) = 0;
  // Creates a new empty file in `folder` named `prefix` + a unique hexadecimal
  // number + `extension`, and answers its name (without the folder); empty on failure.
  virtual std::u16string CreateUniqueFile(std::u16string_view folder, std::u16string_view prefix,
                                          std::u16string_view extension) = 0;

  // ---- Contents ----

  // Reads the whole file into `bytes`. False when there is no such file (or a
  // folder on the way is missing); throws EFileError when it exists but cannot be read.
  virtual bool ReadAll(std::u16string_view path, std::string& bytes) = 0;
  // Reads up to `count` bytes at `offset` of a regular file into `bytes`: fewer where
  // the file ends, none past its end. False as ReadAll; throws as ReadAll, and for a
  // pipe or a device (which are never waited on).
  virtual bool ReadRange(std::u16string_view path, std::uint64_t offset, std::size_t count, std::string& bytes) = 0;
  // Replaces the file's content with `bytes` so that a reader, a crash or a full
  // disk only ever sees the old content or the new one (a new file beside it,
  // flushed, renamed into place; it keeps the old file's permissions). A symbolic
  // link is followed and its target replaced. A read-only file is refused unless
  // `readOnly` keeps it read-only (a program updating its own files), and so is
  // another user's file whose owner could not be kept. Throws EFileError; the old
  // file is then untouched.
  virtual void Replace(std::u16string_view path, std::string_view bytes,
                       ReadOnlyFile readOnly = ReadOnlyFile::Refuse) = 0;

  // ---- Places and times ----

  virtual std::u16string SpecialFolderPath(SpecialFolder folder) = 0;
  // Whether the device for printer port `number` of `kind` exists and can be opened
  // for reading and writing by this program alone right now.
  virtual bool CanOpenPort(PortKind kind, int number, std::u16string* why = nullptr) = 0;
  // A file time as the local date and time of the system's time zone at that instant.
  virtual LocalDateTime ToLocal(FileTime time) = 0;
  // The instant a local date and time stands for; false for a time the local clock
  // never shows (skipped by a daylight-saving change) or out of the system's range.
  virtual bool FromLocal(const LocalDateTime& local, FileTime& time) = 0;
};

}  // namespace zelmor::platform
