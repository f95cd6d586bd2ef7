// Where things live on a Linux desktop: the XDG base and user folders, and the
// freedesktop.org trash. Paths here are the file system's bytes.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace zelmor::adapters::linux_places {

// The user's home folder: $HOME, else the password database's entry.
std::string Home();

// The folder standing for `folder`, without a trailing separator; empty where
// Linux has none (the Windows and system folders).
//   Temp: $TMPDIR, else /tmp.
//   AppData, LocalAppData: $XDG_DATA_HOME, else ~/.local/share.
//   Desktop, DesktopDirectory: XDG_DESKTOP_DIR of user-dirs.dirs, else ~/Desktop.
//   StartMenu: the user's data folder + /applications.
//   CommonStartMenu: the first folder of $XDG_DATA_DIRS (/usr/local/share) + /applications.
std::string SpecialFolder(platform::SpecialFolder folder);

// Moves `path` (its last component is not followed when it is a link) into the
// desktops' shared trash (freedesktop.org): the user's own trash when the entry
// lives on the same file system as it, else the trash at the top of the entry's
// own file system. False with a reason in `err`; the entry is then where it was.
bool MoveToTrash(const std::string& path, std::string& err);

}  // namespace zelmor::adapters::linux_places
