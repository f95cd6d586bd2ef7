// Desktop entries: the ".desktop" files that desktops show as launchers (on the
// desktop, in the applications menu). One writer, so every launcher this library
// makes is escaped the same way and passes desktop-file-validate.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zelmor {

// A launcher for one program.
struct DesktopEntry {
  std::u16string Name;               // shown under the icon; required
  std::vector<std::u16string> Exec;  // the program, then its arguments, each taken verbatim
  std::u16string Path;               // the folder the program starts in; empty: left out
  std::u16string Comment;            // the tooltip; empty: left out
  std::u16string Icon;               // an icon file or a theme icon's name; empty: left out
  bool Terminal = false;             // run inside a terminal window
};

// The Exec value for `arguments`, before the file's own string escaping: an argument
// holding a blank or a reserved character (" ' \ > < ~ | & ; $ * ? # ( ) `) goes in
// double quotes, with " ` $ \ inside escaped by a backslash; "%" is doubled so no
// argument is read as a field code; an empty argument is "".
//   DesktopExecArguments({u"/opt/caixa/pdv", u"--loja", u"Loja 1", u"50%"}) ==
//     uR"(/opt/caixa/pdv --loja "Loja 1" 50%%)"
std::u16string DesktopExecArguments(const std::vector<std::u16string>& arguments);

// The entry's file content, UTF-8, group [Desktop Entry], Type=Application. Values
// are escaped as the format's strings (\\ \n \t \r, \s for a leading blank).
// Throws EArgumentError when Name or Exec is empty, or when a text is not valid
// Unicode (a file name that is not UTF-8 cannot be written in a desktop entry).
std::string DesktopEntryText(const DesktopEntry& entry);

// Writes the entry to `path`, replacing any file there in one step (a reader never
// sees half a file). Throws EArgumentError as DesktopEntryText, EFileError when the
// file cannot be written.
void WriteDesktopEntry(std::u16string_view path, const DesktopEntry& entry);

// The launcher file `name` + ".desktop" in the user's desktop folder.
std::u16string DesktopLauncherPath(std::u16string_view name);

// Writes the launcher `name` on the user's desktop (DesktopLauncherPath) for `exec`, the
// program then its arguments, starting in the program's folder; the desktop folder is
// made when missing. True when the file is there afterwards; false when it could not
// be written.
bool WriteDesktopLauncher(std::u16string_view name, std::vector<std::u16string> exec);

}  // namespace zelmor
