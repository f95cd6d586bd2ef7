// Shell helpers: launchers on the desktop, the names of exit codes, resources written out.
#include "mFileUtil.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

using SV = std::u16string_view;

ZELMOR_ROUTINES(shell) {
  Register("TmFile.CriarAtalhoDesktop", &TmFile::CriarAtalhoDesktop, {"asArquivo", "asParArquivo"});
  Register("TmFile.GetMsgExitCode", &TmFile::GetMsgExitCode, {"aiExitCode"});
  Register("TmFile.WinExec32", &TmFile::WinExec32, {"Parametros"});
  Register("TmFile.RegistraDll", &TmFile::RegistraDll, {"asDll"});
  Register("TmFile.ExtraiArquivoExe",
           static_cast<bool (*)(SV, SV, SV, const TzelArrayString&, bool, bool)>(&TmFile::ExtraiArquivoExe),
           {"asTipo", "asRes", "asArquivo", "aaDiretorio", "abSubstitui", "abMostrarErro"});
  Register("TmFile.ExtraiArquivoExe", static_cast<bool (*)(SV, SV, SV, SV, bool)>(&TmFile::ExtraiArquivoExe),
           {"asTipo", "asRes", "asArquivo", "asDiretorio", "abSubstitui"});
  Register("TmFile.OpenExplorerFileSelect", &TmFile::OpenExplorerFileSelect, {"asArquivo"}, {},
           "asks the desktop's file manager to show the file selected, else opens its folder");
  Register("TmFile.SelecionaArquivo", &TmFile::SelecionaArquivo, {"asExtensao", "asDiretorio"}, {},
           "the open-file dialog; the headless dialogs cancel it, so the answer is empty");
}

}  // namespace zelmor::cli
