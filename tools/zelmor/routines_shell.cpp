// Shell helpers: launchers on the desktop and the names of exit codes.
#include "files/mFileUtil.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

ZELMOR_ROUTINES(shell) {
  Register("TmFile.CriarAtalhoDesktop", &TmFile::CriarAtalhoDesktop, {"asArquivo", "asParArquivo"});
  Register("TmFile.GetMsgExitCode", &TmFile::GetMsgExitCode, {"aiExitCode"});
  Register("TmFile.WinExec32", &TmFile::WinExec32, {"Parametros"});
  Register("TmFile.RegistraDll", &TmFile::RegistraDll, {"asDll"});
  Register("TmFile.OpenExplorerFileSelect", &TmFile::OpenExplorerFileSelect, {"asArquivo"},
           {}, "opens the file's folder: the opener cannot select the file in it");
}

}  // namespace zelmor::cli
