// TmFile's update of program files from the update server: the version list and the
// newer files by FTP, the server's login from the settings file (docs/updates.md).
#pragma once

#include <string>
#include <string_view>

#include "mConst.h"

namespace zelmor {

namespace TmFile {

// ---- Updates from the update server (lib/updates/updates.cpp) ----

// Updates the program files `aaArquivoExe` (full paths) from the update server,
// whose "Host", "Usuario", "Senha" and "Porta" (21) are read from section
// "[Atualizacao]" of the program's settings file (TmConfig::GetFileNameDefault).
// Downloads "Versoes.ini" into DirExe; a file whose local version is not older
// than the list's is left alone and `asMsg` gets CR + "-O arquivo NAME já possui a
// última versão"; any other is fetched into DirExe + "Temp/" (its size checked
// against the server's), its predecessor copied to the name carrying the old
// version («/opt/caixa/caixa.exe» at 1.4.0.27 keeps «caixa.14027»), and put in
// place in one step, keeping the old file's permissions. Raises the first failure
// (EFileError, ENetworkError); the file it was at is left as it was, files done
// before stay updated. True otherwise.
bool GetExePorVersao(const TzelArrayString& aaArquivoExe, std::u16string& asMsg);
// GetExePorVersao under the wait window ("Aguarde...", "Atualizando arquivos"), then
// "Executavel atualizado com sucesso" when `abAvisarQueFoiAtualizado` and nothing was
// current, or the warning "Avisos :" + the notes when `abAvisarSeJaEstaAtualizado`;
// a failure is shown as "Erro ao atualizar executável. Msg.Original: " + its text
// and answers false.
bool GetAtualizaExe(const TzelArrayString& aaArquivoExe, bool abAvisarSeJaEstaAtualizado,
                    bool abAvisarQueFoiAtualizado);
bool GetAtualizaExe(std::u16string_view asArquivoExe, bool abAvisarSeJaEstaAtualizado, bool abAvisarQueFoiAtualizado);

}  // namespace TmFile

}  // namespace zelmor
