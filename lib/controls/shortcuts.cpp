// Launchers on the user's desktop: the ".desktop" files desktops show as icons.
#include "controls/controls.h"
#include "files/files.h"
#include "platform/file_system.h"
#include "platform/service.h"
#include "shell/desktop_entry.h"

namespace zelmor {
namespace {

// The launcher's path, or empty when `name` cannot be a file name of the desktop
// folder (a name with a separator would put or delete a file elsewhere).
std::u16string LauncherPath(std::u16string_view name) {
  if (name.empty() || name.find(u'/') != std::u16string_view::npos || name == u"." || name == u"..") return {};
  return DesktopLauncherPath(name);
}

}  // namespace

bool TmRot::CriaAtalhoDesktop(std::u16string_view Nome, std::u16string_view CaminhoCompleto) {
  const std::u16string link = LauncherPath(Nome);
  if (link.empty()) return false;
  if (TmFile::FileExists(link) && !platform::Service<platform::FileSystem>::Get().DeleteFile(link)) return false;
  return WriteDesktopLauncher(Nome, {std::u16string(CaminhoCompleto)});
}

bool TmRot::DeletaAtalhoDesktop(std::u16string_view Nome) {
  const std::u16string link = LauncherPath(Nome);
  if (link.empty() || !TmFile::FileExists(link)) return false;
  // The one file, by its exact name: a "*" or "?" in the name is no mask here.
  return platform::Service<platform::FileSystem>::Get().DeleteFile(link);
}

}  // namespace zelmor
