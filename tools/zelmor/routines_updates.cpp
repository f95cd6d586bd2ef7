// Version routines: version texts read from program files, picked apart and compared.
#include "files/mFileUtil.h"
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
}

}  // namespace zelmor::cli
