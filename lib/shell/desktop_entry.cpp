// The Exec line has two layers of escaping: the argument quoting of the Exec key
// itself, then the string escaping every value gets. Both are done here, in that order.
#include "shell/desktop_entry.h"

#include "core/errors.h"
#include "core/surrogates.h"
#include "core/text.h"
#include "files/files.h"
#include "platform/file_system.h"
#include "platform/service.h"
#include "shell/shell.h"

namespace zelmor {
namespace {

constexpr std::u16string_view kReserved = u" \t\n\"'\\><~|&;$*?#()`";

bool NeedsQuotes(std::u16string_view argument) {
  if (argument.empty()) return true;
  for (char16_t c : argument) {
    // Control characters other than tab and newline cannot stand unquoted either.
    if (kReserved.find(c) != std::u16string_view::npos || c < 0x20 || c == 0x7F) return true;
  }
  return false;
}

// Escapes a value as the format's string type.
std::u16string EscapeValue(std::u16string_view value) {
  std::u16string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    char16_t c = value[i];
    switch (c) {
      case u'\\': out += u"\\\\"; break;
      case u'\n': out += u"\\n"; break;
      case u'\t': out += u"\\t"; break;
      case u'\r': out += u"\\r"; break;
      // A leading blank would be taken for space around the "=".
      case u' ': out += i == 0 ? u"\\s" : u" "; break;
      default: out += c;
    }
  }
  return out;
}

bool IsValidUnicode(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (SurrogatePairAt(text, i))
      ++i;
    else if (IsSurrogate(text[i]))
      return false;
  }
  return true;
}

void AddLine(std::u16string& out, std::u16string_view key, std::u16string_view value) {
  if (!IsValidUnicode(value)) {
    throw EArgumentError(u"Texto inválido na entrada de área de trabalho: " + std::u16string(key));
  }
  out += key;
  out += u'=';
  out += EscapeValue(value);
  out += u'\n';
}

}  // namespace

std::u16string DesktopExecArguments(const std::vector<std::u16string>& arguments) {
  std::u16string out;
  for (const std::u16string& argument : arguments) {
    if (!out.empty()) out += u' ';
    bool quoted = NeedsQuotes(argument);
    if (quoted) out += u'"';
    for (char16_t c : argument) {
      if (c == u'%') {
        out += u"%%";
        continue;
      }
      if (quoted && (c == u'"' || c == u'`' || c == u'$' || c == u'\\')) out += u'\\';
      out += c;
    }
    if (quoted) out += u'"';
  }
  return out;
}

std::string DesktopEntryText(const DesktopEntry& entry) {
  if (entry.Name.empty()) throw EArgumentError(u"Entrada de área de trabalho sem nome");
  if (entry.Exec.empty() || entry.Exec.front().empty()) {
    throw EArgumentError(u"Entrada de área de trabalho sem programa");
  }
  std::u16string text = u"[Desktop Entry]\nType=Application\n";
  AddLine(text, u"Name", entry.Name);
  if (!entry.Comment.empty()) AddLine(text, u"Comment", entry.Comment);
  AddLine(text, u"Exec", DesktopExecArguments(entry.Exec));
  if (!entry.Path.empty()) AddLine(text, u"Path", entry.Path);
  if (!entry.Icon.empty()) AddLine(text, u"Icon", entry.Icon);
  text += entry.Terminal ? u"Terminal=true\n" : u"Terminal=false\n";
  return U16ToUtf8(text);
}

void WriteDesktopEntry(std::u16string_view path, const DesktopEntry& entry) {
  platform::Service<platform::FileSystem>::Get().Replace(path, DesktopEntryText(entry));
}

std::u16string DesktopLauncherPath(std::u16string_view name) {
  const std::u16string desktop = TmFile::PastaWindowsDesktop();
  return (desktop.empty() ? desktop : TmFile::DirBarra(desktop)) + std::u16string(name) + u".desktop";
}

bool WriteDesktopLauncher(std::u16string_view name, std::vector<std::u16string> exec) {
  const std::u16string link = DesktopLauncherPath(name);
  std::u16string folder = TmFile::ExtractDir(exec.empty() ? u"" : exec.front());
  if (folder.size() > 1 && folder.back() == u'/') folder.pop_back();
  DesktopEntry entry;
  entry.Name = name;
  entry.Exec = std::move(exec);
  entry.Path = folder;
  try {
    // A desktop folder nobody has opened yet may not exist on a fresh account.
    platform::Service<platform::FileSystem>::Get().CreateFolders(TmFile::ExtractDir(link));
    WriteDesktopEntry(link, entry);
  } catch (const EZelmorError&) {
    return false;  // callers learn it from the result, as from a link that was not saved
  }
  return TmFile::FileExists(link);
}

}  // namespace zelmor
