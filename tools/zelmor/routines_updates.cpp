// Version routines: version texts read from program files, picked apart and compared;
// the update of program files from the update server.
#include "mFileUtil.h"
#include "tools/zelmor/registry.h"

namespace zelmor::cli {

ZELMOR_ENUM_NAMES(TmFile::geTiposComparacao, "tcIgual", "tcDiferente", "tcMaior", "tcMaiorIgual", "tcMenor",
                  "tcMenorIgual");

ZELMOR_ROUTINES(updates) {
  Register("TmFile.GetVersaoArquivo", &TmFile::GetVersaoArquivo, {"asArquivo"});
  Register("TmFile.GetTagVersaoScript", &TmFile::GetTagVersaoScript, {"asExePath", "aiPosition"});
  Register("TmFile.GetTagVersaoApp", &TmFile::GetTagVersaoApp, {"asExePath", "aiPositions"});
  Register("TmFile.VersaoMaior", &TmFile::VersaoMaior, {"asAtual", "asMaior", "aeTpComparacao"});
  Register("TmFile.NovaVersao", &TmFile::NovaVersao, {"asAtual", "asNova"});
  Register("TmFile.GetExePorVersao", &TmFile::GetExePorVersao, {"aaArquivoExe", "asMsg"});
  Register("TmFile.GetAtualizaExe", static_cast<bool (*)(const TzelArrayString&, bool, bool)>(&TmFile::GetAtualizaExe),
           {"aaArquivoExe", "abAvisarSeJaEstaAtualizado", "abAvisarQueFoiAtualizado"});
  Register("TmFile.GetAtualizaExe", static_cast<bool (*)(std::u16string_view, bool, bool)>(&TmFile::GetAtualizaExe),
           {"asArquivoExe", "abAvisarSeJaEstaAtualizado", "abAvisarQueFoiAtualizado"});
}

}  // namespace zelmor::cli
