// The system's special folders and the per-user data folders of the Zelmor products.
#include "files/files.h"
#include "platform/file_system.h"

namespace zelmor {
namespace {

// The platform's folder with a trailing separator; "/" where there is none.
std::u16string Special(platform::SpecialFolder f) {
  return TmFile::DirBarra(platform::Service<platform::FileSystem>::Get().SpecialFolderPath(f));
}

// `parent` + `name` + separator, created when missing (a failure is ignored: the
// folder text is still the answer).
std::u16string DataFolder(const std::u16string& parent, std::u16string_view name) {
  std::u16string folder = TmFile::DirBarra(parent + std::u16string(name));
  platform::Service<platform::FileSystem>::Get().CreateFolders(folder);
  return folder;
}

}  // namespace

std::u16string TmFile::PastaWindows() { return Special(platform::SpecialFolder::Windows); }
std::u16string TmFile::PastaWindowsSystem() { return Special(platform::SpecialFolder::System); }
std::u16string TmFile::PastaWindowsSystem32() { return Special(platform::SpecialFolder::System32); }
std::u16string TmFile::PastaWindowsTemp() { return Special(platform::SpecialFolder::Temp); }
std::u16string TmFile::PastaWindowsDesktop() { return Special(platform::SpecialFolder::Desktop); }
std::u16string TmFile::GetPastaDesktop() { return Special(platform::SpecialFolder::DesktopDirectory); }
std::u16string TmFile::GetPastaStartMenu() { return Special(platform::SpecialFolder::StartMenu); }
std::u16string TmFile::GetPastaAllUsersStartMenu() { return Special(platform::SpecialFolder::CommonStartMenu); }
std::u16string TmFile::GetPastaDadosApplicativos() { return Special(platform::SpecialFolder::AppData); }
// On Linux the roaming and the local application data are the same folder, so the
// Windows version does not choose between them.
std::u16string TmFile::GetPastaAppDataLocal() { return Special(platform::SpecialFolder::LocalAppData); }
std::u16string TmFile::GetPastaApp() { return GetPastaAppDataLocal(); }

std::u16string TmFile::GetDataUserFolderZelmor() { return DataFolder(GetPastaAppDataLocal(), u"Zelmor"); }
std::u16string TmFile::GetDataUserFolderOmbrix() { return DataFolder(GetDataUserFolderZelmor(), u"Ombrix"); }
std::u16string TmFile::GetDataUserFolderTemp() { return DataFolder(GetDataUserFolderZelmor(), u"Temp"); }

}  // namespace zelmor
