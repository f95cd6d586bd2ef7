// Shell helpers: launchers on the desktop and the names of exit codes.
#include "files/mFileUtil.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

ZELMOR_ROUTINES(shell) {
  Register("TmFile.CriarAtalhoDesktop", &TmFile::CriarAtalhoDesktop, {"asArquivo", "asParArquivo"});
  Register("TmFile.GetMsgExitCode", &TmFile::GetMsgExitCode, {"aiExitCode"});
}

}  // namespace zelmor::cli
