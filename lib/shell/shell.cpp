// TmFile's shell helpers: launchers on the desktop and the names of exit codes.
#include "core/errors.h"
#include "dialogs/mMensagem.h"
#include "files/mFileUtil.h"
#include "platform/file_system.h"
#include "platform/service.h"
#include "processes/command_line.h"
#include "shell/desktop_entry.h"
#include "system/mRotinas.h"

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

bool TmFile::WinExec32(std::u16string_view Parametros) { return TmRot::WinExec32(Parametros, 1); }

bool TmFile::RegistraDll(std::u16string_view asDll) {
  // The tool is looked up on PATH; where there is none (Linux without a compatibility
  // layer) the start fails and the user is told, as when it cannot start on Windows.
  if (TmRot::WinExec32(u"regsvr32 \"" + std::u16string(asDll) + u"\" /s", 1)) return true;
  TmDlg::Erro(u"não foi possível copiar ou registrar a dll " + std::u16string(asDll) + u"." + u"\r" +
              u"(o programa de registro regsvr32 não pôde ser iniciado)");
  return false;
}

void TmFile::OpenExplorerFileSelect(std::u16string_view asArquivo) {
  // The file manager is opened on the file's folder: the portable opener has no way to
  // select one entry in it.
  TmRot::AbreExplorer(nullptr, FileExists(asArquivo) ? ExtractDir(asArquivo) : std::u16string(asArquivo));
}

}  // namespace zelmor
