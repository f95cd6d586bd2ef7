// TmFile's shell helpers: launchers on the desktop and the names of exit codes.
#include "shell/shell.h"
#include "core/errors.h"
#include "core/integer_text.h"
#include "core/text.h"
#include "dialogs/mMensagem.h"
#include "files/files.h"
#include "platform/dialogs.h"
#include "platform/executable_info.h"
#include "platform/file_system.h"
#include "platform/program_start.h"
#include "platform/service.h"
#include "processes/command_line.h"
#include "processes/processes.h"
#include "shell/desktop_entry.h"

namespace zelmor {

bool TmFile::CriarAtalhoDesktop(std::u16string_view asArquivo, std::u16string_view asParArquivo) {
  const std::u16string name = FileName(asArquivo);
  const std::u16string extension = FileExtension(name);
  const std::u16string base = name.substr(0, name.size() - extension.size());
  if (base.empty()) return false;
  std::vector<std::u16string> exec = {std::u16string(asArquivo)};
  for (std::u16string& argument : SplitCommandLine(asParArquivo)) exec.push_back(std::move(argument));
  return WriteDesktopLauncher(base, std::move(exec));
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

std::u16string TmFile::SelecionaArquivo(std::u16string_view asExtensao, std::u16string_view asDiretorio) {
  // A folder named without its separator still opens on itself, not on its parent.
  const bool folder = !asDiretorio.empty() && DirectoryExists(asDiretorio);
  const std::u16string start = folder ? DirBarra(asDiretorio) : ExtractDir(asDiretorio);
  const std::u16string selected = !folder && FileExists(asDiretorio) ? FileName(asDiretorio) : u"";
  std::u16string chosen;
  if (!platform::Service<platform::Dialogs>::Get().SelectFile(u"Abrir arquivo (" + std::u16string(asExtensao) + u")",
                                                              asExtensao, start, selected, chosen))
    return {};
  return chosen;
}

namespace {

// A local path as a file URI: every byte but the unreserved ones and "/" percent-
// encoded, which also keeps quotes out of the D-Bus argument text below.
std::u16string FileUri(std::u16string_view path) {
  std::u16string uri = u"file://";
  for (unsigned char b : U16ToUtf8(path)) {
    const bool plain = (b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9');
    if (plain || b == '/' || b == '-' || b == '_' || b == '.' || b == '~') {
      uri.push_back(b);
    } else {
      uri.push_back(u'%');
      AppendUnsigned<16>(uri, b, 2, true);
    }
  }
  return uri;
}

// Asks the desktop's file manager (its org.freedesktop.FileManager1 interface on the
// session bus, through gdbus) to open the file's folder with the file selected. False
// when no file manager answered within 5 s.
bool ShowSelected(std::u16string_view file) {
  platform::ProgramStart start;
  start.Arguments = {u"gdbus",
                     u"call",
                     u"--session",
                     u"--timeout",
                     u"5",
                     u"--dest",
                     u"org.freedesktop.FileManager1",
                     u"--object-path",
                     u"/org/freedesktop/FileManager1",
                     u"--method",
                     u"org.freedesktop.FileManager1.ShowItems",
                     u"['" + FileUri(file) + u"']",
                     u""};
  start.StandardOutput = u"/dev/null";
  start.StandardError = u"/dev/null";  // no bus, no file manager: the folder is opened instead
  start.Wait = true;
  int code = -1;
  return platform::Service<platform::Processes>::Get().Start(start, &code) && code == 0;
}

}  // namespace

void TmFile::OpenExplorerFileSelect(std::u16string_view asArquivo) {
  if (FileExists(asArquivo)) {
    platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
    const std::u16string full = asArquivo.starts_with(platform::PathDelim)
                                    ? std::u16string(asArquivo)
                                    : ExtractAbsoluteFile(DirBarra(fs.CurrentFolder()), asArquivo);
    if (ShowSelected(full)) return;
    TmRot::AbreExplorer(nullptr, ExtractDir(full));
    return;
  }
  TmRot::AbreExplorer(nullptr, std::u16string(asArquivo));
}

}  // namespace zelmor
