// The shell routines: the program's resources written out (TmFile::ExtraiArquivoExe,
// TmRot::ExtractResource), desktop launchers, starting helpers and the file manager.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "mConst.h"

namespace zelmor {

namespace TmFile {

// ---- Shell helpers (lib/shell/shell.cpp, lib/shell/resources.cpp) ----

// Writes the program's resource `asRes` of type `asTipo` out as `asArquivo` in each
// folder of `aaDiretorio` (empty entries skipped; folders created). A program's
// resources are the files of the folder beside it named after it with ".resources"
// («/opt/caixa/pdv» has «/opt/caixa/pdv.resources/RCDATA/LOGO»), type and name
// compared without case. With `abSubstitui` false an existing file is left alone;
// otherwise it is first renamed to its name with ".old" (replacing an older one),
// and renamed back when the write fails. A failed folder raises when `abMostrarErro`,
// else the next folder is tried. A missing resource raises EFileError "Recurso NOME
// não encontrado". True when every folder has the file afterwards.
bool ExtraiArquivoExe(std::u16string_view asTipo, std::u16string_view asRes, std::u16string_view asArquivo,
                      const TzelArrayString& aaDiretorio, bool abSubstitui, bool abMostrarErro);
bool ExtraiArquivoExe(std::u16string_view asTipo, std::u16string_view asRes, std::u16string_view asArquivo,
                      std::u16string_view asDiretorio, bool abSubstitui);

// A launcher for the program `asArquivo` on the desktop (PastaWindowsDesktop): a
// ".desktop" file named after the program («/opt/caixa/caixa.exe» gives «caixa.desktop»),
// with `asParArquivo` read as a Windows command line into its arguments and the
// program's folder as working folder; replaces one of that name. True when the file
// is there afterwards; false when it could not be written.
bool CriarAtalhoDesktop(std::u16string_view asArquivo, std::u16string_view asParArquivo);
// The name of the exit code of an interrupted process: 0xC000013A "Cancelamento do
// processo (Prompt fechado)", 255 "Cancelamento do processo (Ctrl + C)", 1 "Processo
// finalizado (Gerenciador de tarefas)"; empty for any other.
std::u16string GetMsgExitCode(std::uint32_t aiExitCode);
// Starts a command line without waiting (TmRot::WinExec32); true when it started.
bool WinExec32(std::u16string_view Parametros);
// Starts the component-registration tool without waiting; when it cannot start (as on
// a system without one) shows why and answers false.
bool RegistraDll(std::u16string_view asDll);
// Opens the file manager on the file's folder (on the path itself when it is no file).
void OpenExplorerFileSelect(std::u16string_view asArquivo);
// The open-file dialog titled "Abrir arquivo (" + asExtensao + ")", offering the file
// types of the filter `asExtensao` («XML|*.xml»), opened in the folder of
// `asDiretorio` (in `asDiretorio` itself when that is a folder) with the file it
// names preselected when it exists. The chosen file's full path; empty when cancelled.
std::u16string SelecionaArquivo(std::u16string_view asExtensao, std::u16string_view asDiretorio);

}  // namespace TmFile

namespace TmRot {

// Writes the program's resource `asResourceName` of type `asResType` (the files
// TmFile::ExtraiArquivoExe reads) to «asOutFolder/NAME.TYPE», creating the folder.
// A missing resource raises EFileError before anything is touched. When the old file
// cannot be deleted or the new one is not there afterwards, "Não foi possivel
// extrair o arquivo "NAME.TYPE"" is shown (logged) if `abShowFailMessage`. With
// `abDescompactZIP` a "ZIP" resource is unpacked into that folder and, unpacked,
// deleted. (lib/shell/resources.cpp)
void ExtractResource(std::u16string_view asResType, std::u16string_view asResourceName, std::u16string_view asOutFolder,
                     bool abDescompactZIP, bool abShowFailMessage);

}  // namespace TmRot

}  // namespace zelmor
