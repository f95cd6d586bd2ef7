// Launchers on the user's desktop: the ".desktop" files desktops show as icons.
#include "core/errors.h"
#include "files/mFileUtil.h"
#include "platform/file_system.h"
#include "platform/service.h"
#include "shell/desktop_entry.h"
#include "system/mRotinas.h"

namespace zelmor {
namespace {

// The launcher's path, or empty when `name` cannot be a file name of the desktop
// folder (a name with a separator would put or delete a file elsewhere).
std::u16string LauncherPath(std::u16string_view name) {
  if (name.empty() || name.find(u'/') != std::u16string_view::npos || name == u"." || name == u"..") return {};
  std::u16string desktop = TmFile::PastaWindowsDesktop();
  if (!desktop.empty() && desktop.back() != u'/') desktop += u'/';
  return desktop + std::u16string(name) + u".desktop";
}

}  // namespace

bool TmRot::CriaAtalhoDesktop(std::u16string_view Nome, std::u16string_view CaminhoCompleto) {
  const std::u16string link = LauncherPath(Nome);
  if (link.empty()) return false;
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  if (TmFile::FileExists(link) && !fs.DeleteFile(link)) return false;

  std::u16string folder = TmFile::ExtractDir(CaminhoCompleto);
  if (folder.size() > 1 && folder.back() == u'/') folder.pop_back();
  DesktopEntry entry;
  entry.Name = Nome;
  entry.Exec = {std::u16string(CaminhoCompleto)};
  entry.Path = folder;
  try {
    // A desktop folder nobody has opened yet may not exist on a fresh account.
    fs.CreateFolders(TmFile::ExtractDir(link));
    WriteDesktopEntry(link, entry);
  } catch (const EZelmorError&) {
    return false;
  }
  return TmFile::FileExists(link);
}

bool TmRot::DeletaAtalhoDesktop(std::u16string_view Nome) {
  const std::u16string link = LauncherPath(Nome);
  if (link.empty() || !TmFile::FileExists(link)) return false;
  // The one file, by its exact name: a "*" or "?" in the name is no mask here.
  return platform::Service<platform::FileSystem>::Get().DeleteFile(link);
}

}  // namespace zelmor
