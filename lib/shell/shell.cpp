// TmFile's shell helpers: launchers on the desktop and the names of exit codes.
#include "core/errors.h"
#include "files/mFileUtil.h"
#include "platform/file_system.h"
#include "platform/service.h"
#include "processes/command_line.h"
#include "shell/desktop_entry.h"

namespace zelmor {

bool TmFile::CriarAtalhoDesktop(std::u16string_view asArquivo, std::u16string_view asParArquivo) {
  const std::u16string name = FileName(asArquivo);
  const std::u16string extension = FileExtension(name);
  const std::u16string base = name.substr(0, name.size() - extension.size());
  if (base.empty()) return false;
  std::u16string folder = ExtractDir(asArquivo);
  if (folder.size() > 1 && folder.back() == u'/') folder.pop_back();

  DesktopEntry entry;
  entry.Name = base;
  entry.Exec = {std::u16string(asArquivo)};
  for (std::u16string& argument : SplitCommandLine(asParArquivo)) entry.Exec.push_back(std::move(argument));
  entry.Path = folder;
  std::u16string desktop = PastaWindowsDesktop();
  if (!desktop.empty() && desktop.back() != u'/') desktop += u'/';
  const std::u16string link = desktop + base + u".desktop";
  try {
    // A desktop folder nobody has opened yet may not exist on a fresh account.
    platform::Service<platform::FileSystem>::Get().CreateFolders(desktop);
    WriteDesktopEntry(link, entry);
  } catch (const EZelmorError&) {
    return false;  // callers learn it from the result, as from a link that was not saved
  }
  return FileExists(link);
}

std::u16string TmFile::GetMsgExitCode(std::uint32_t aiExitCode) {
  switch (aiExitCode) {
    case 0xC000013Au: return u"Cancelamento do processo (Prompt fechado)";
    case 255: return u"Cancelamento do processo (Ctrl + C)";
    case 1: return u"Processo finalizado (Gerenciador de tarefas)";
    default: return {};
  }
}

}  // namespace zelmor
