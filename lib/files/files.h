// TmFile's file routines, the ones this folder defines (updates/ and shell/ open
// TmFile for theirs; mFileUtil.h gathers them). Every folder a
// routine returns ends with the platform's path separator unless its comment says otherwise.
//
// On Linux (docs/files.md has the whole story):
//   - the separator is "/", and it is the only one: there are no drives, and ":" and
//     "\" are ordinary characters of a name;
//   - a mask is a path whose last part may hold the wildcards "*" and "?", matched the
//     Windows way and without case ("*.*" matches every name, dot or not); a name
//     without wildcards names exactly that entry;
//   - searches give their entries in name order, "." and ".." left out;
//   - a hidden file is one whose name starts with "."; no file is a system file;
//   - a read-only file is one whose owner may not write it: it is not deleted, written
//     or replaced, whoever runs the program;
//   - file names are bytes; a name that is not UTF-8 still round-trips (core/text.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "core/types.h"
#include "mConst.h"

namespace zelmor {

namespace TmFile {

// ---- Program folder and trailing separator (program_folder.cpp) ----

// `Pasta` with one path separator added when it does not already end with one.
// No other normalisation. DirBarra(u"") == u"/"; DirBarra(u"/opt/a") == u"/opt/a/"
std::u16string DirBarra(std::u16string_view Pasta);
// The folder of the running program's executable, ending with the separator.
//   for "/opt/zelmor/bin/quindel": u"/opt/zelmor/bin/"
std::u16string DirExe();

// ---- Paths and special folders (paths.cpp, folders.cpp) ----

// Every backslash doubled, for texts where the backslash escapes (paths have none on Linux).
//   DirAnsi(u"a\\b") == u"a\\\\b"
std::u16string DirAnsi(std::u16string_view Pasta);
// The reverse: each pair of adjacent backslashes becomes one, from the right;
// three in a row also become two.
std::u16string DirAnsiRead(std::u16string_view asPath);
// The folder part of `cFile`, separator included. ExtractDir(u"/a/b.txt") == u"/a/"
std::u16string ExtractDir(std::u16string_view cFile);
// The same as ExtractDir.
std::u16string FileDirectoryName(std::u16string_view Arquivo);
// Everything after the last separator. FileName(u"/a/b.txt") == u"b.txt"
std::u16string FileName(std::u16string_view Arquivo);
// From the name's last ".", dot included; empty when the name has none.
//   FileExtension(u"/a.d/b.tar.gz") == u".gz"
std::u16string FileExtension(std::u16string_view Arquivo);
// The name cut at its first ".". FileNameSemExt(u"/dir.old/rel.2018.txt") == u"rel"
std::u16string FileNameSemExt(std::u16string_view Arquivo);
// `asFilePath` + "." + `asExt`, unless it already ends so (case ignored).
//   SetFileExt(u"NOTA.XML", u"xml") == u"NOTA.XML"; SetFileExt(u"nota.txt", u"xml") == u"nota.txt.xml"
std::u16string SetFileExt(std::u16string_view asFilePath, std::u16string_view asExt);
// Resolves the "../" steps of `asPathFile` against the folder `asBasePath`; every
// "../" anywhere in it climbs one level. More steps than levels consume the whole base.
//   ExtractAbsoluteFile(u"/a/b/c", u"../../x.txt") == u"/a/x.txt"
std::u16string ExtractAbsoluteFile(std::u16string_view asBasePath, std::u16string_view asPathFile);
// The folder `aiQtdNiveis` levels above the folder part of `asFolder`; empty past the root.
//   SubirNivel(u"/a/b/c/", 1) == u"/a/b/"; SubirNivel(u"/a/b", 1) == u"/"; SubirNivel(u"/", 1) == u""
std::u16string SubirNivel(std::u16string_view asFolder, int aiQtdNiveis);
// The parent folder; empty for an empty text. DirectoryGetParent(u"/a/b") == u"/a/"
std::u16string DirectoryGetParent(std::u16string_view Pasta);
// `Nome` without the characters names may not hold on Windows: / \ : * ? " < > |
//   LimpaNomeArquivo(u"a/b:c*d?.txt") == u"abcd.txt"
std::u16string LimpaNomeArquivo(std::u16string_view Nome);
// The short form of an existing path. Linux names have no short form, so this is
// the path itself when it exists (as Windows answers where short names are off), else empty.
std::u16string getFileNameDOS(std::u16string_view FileName);
// `aPath`, or the first of `aPath` with "_1", "_2", ... before its extension that
// names no entry at all (hidden files and folders count).
//   with x.txt and x_1.txt present: GetUniqueFilePath(u"/t/x.txt") == u"/t/x_2.txt"
std::u16string GetUniqueFilePath(std::u16string_view aPath);
// Creates a new empty file in the temporary folder named with the first three
// characters of `Prefixo`, a unique hexadecimal number and ".tmp"; answers its
// name without the folder (empty when none could be made). GetNomeArquivoTemp(u"unico") == u"uni3F2A.tmp"
std::u16string GetNomeArquivoTemp(std::u16string_view Prefixo);

// Special folders (each ends with the separator; "/" where Linux has no such folder).
// The operating system's folder, its system folder, the 32-bit programs' folder: "/".
std::u16string PastaWindows();
std::u16string PastaWindowsSystem();
std::u16string PastaWindowsSystem32();
// $TMPDIR, else "/tmp/".
std::u16string PastaWindowsTemp();
// The desktop (XDG_DESKTOP_DIR of ~/.config/user-dirs.dirs, else ~/Desktop/).
std::u16string PastaWindowsDesktop();
std::u16string GetPastaDesktop();
// The user's application launchers: ~/.local/share/applications/.
std::u16string GetPastaStartMenu();
// Every user's: the first folder of $XDG_DATA_DIRS + "applications/" (/usr/local/share/applications/).
std::u16string GetPastaAllUsersStartMenu();
// The user's data folder: $XDG_DATA_HOME, else ~/.local/share/.
std::u16string GetPastaDadosApplicativos();
std::u16string GetPastaAppDataLocal();
std::u16string GetPastaApp();
// The data folders of the Zelmor products, created when missing (a failure to
// create is ignored): data folder + "Zelmor/", + "Zelmor/Ombrix/", + "Zelmor/Temp/".
std::u16string GetDataUserFolderZelmor();
std::u16string GetDataUserFolderOmbrix();
std::u16string GetDataUserFolderTemp();
// The Zelmor installation root for `asPath`: "/ZELMOR/" for a local path; for a
// network path (two separators first) the path up to its "ZELMOR" component (found
// ignoring case, kept in its own case). A network path without one raises
// EFileError "Path inválido para obter o root da Zelmor!" when `abShowException`, else gives "".
//   GetZelmorRoot(u"//srv/dados/zelmor/app", true) == u"//srv/dados/zelmor/"
std::u16string GetZelmorRoot(std::u16string_view asPath, bool abShowException);
// Lets the user pick a folder ("Selecione uma pasta"); the folder without a
// trailing separator ("/" for the root), or empty when cancelled.
std::u16string GetPasta();
// The same, centred, starting at `PastaDef`: the chosen folder with a separator,
// or `PastaDef` without its trailing separator when cancelled.
std::u16string GetPastaDef(std::u16string_view PastaDef);

// True when `Nome` is an existing folder (links followed).
bool DirectoryExists(std::u16string_view Nome);
// True when some entry matches `Arquivo` (a mask) that is neither a folder nor hidden.
bool FileExists(std::u16string_view Arquivo);
// Creates `Nome` and every missing folder above it; true when it exists afterwards.
// An empty name raises EFileError "Unable to create directory".
bool CreateDirectory(std::u16string_view Nome);
// CreateDirectory of each, all attempted; true only when every one succeeded.
bool CriarDiretorios(const TzelArrayString& asDirs);

// ---- File copy, move, delete and backups (copying.cpp, backups.cpp) ----

// Copies file `Origem` into the existing folder `PastaDestino`, with
// `AcrescentarNoFinalDoNome` added before the extension (every occurrence of the
// extension is first removed from the name). The copy keeps the source's
// modification time. With `SubstituirSeExistir` false an existing destination is
// left alone and the answer is false; a read-only destination is never replaced.
//   CopiarArquivo(u"/in/a.xml.xml", u"/out", u"_1", true) copies to "/out/a_1.xml"
bool CopiarArquivo(std::u16string_view Origem, std::u16string_view PastaDestino,
                   std::u16string_view AcrescentarNoFinalDoNome = u"", bool SubstituirSeExistir = true);
// Copies `Origem` to exactly the path `PastaDestino` (whose folder must exist), replacing it.
bool CopiarArquivoRenomeandoDestino(std::u16string_view Origem, std::u16string_view PastaDestino);
// CopiarArquivo of every file matching the mask `Origem`; stops at the first
// failure. False when nothing matches.
bool CopiarArquivos(std::u16string_view Origem, std::u16string_view PastaDestino);
// Copies a whole folder (or the entries matching a mask) the way `cp -r` does: into
// `toDir` when that folder exists, else as `toDir`. Missing folders are created,
// existing files replaced, links copied as links, times kept.
bool CopiarPasta(std::u16string_view fromDir, std::u16string_view toDir);
// Moves one file into a folder by copy and delete (creating the folder when
// `abForcarDiretorio`). True when `Origem` does not exist (nothing to move).
bool MoverArquivo(std::u16string_view Origem, std::u16string_view PastaDestino, bool abForcarDiretorio = false);
// Renames `asSourcePath` to `asDestPath`, creating the destination's folders;
// fails when `asDestPath` exists.
bool MoverArquivoNome(std::u16string_view asSourcePath, std::u16string_view asDestPath);
// MoverArquivo of every file matching the mask `Origem`; stops at the first failure.
bool MoverArquivos(std::u16string_view Origem, std::u16string_view PastaDestino, bool abForcarDiretorio = false);
// Renames every file matching the mask to extension `asNovaExtensao` ("bak" or
// ".bak"); every file is attempted; the answer is the last rename's.
bool ModificarExtensao(std::u16string_view asPastaMascara, std::u16string_view asNovaExtensao);
// Deletes the files matching `Origem` + `Arquivo` (no separator added); stops at
// the first that cannot be deleted (a read-only one). False when nothing matches.
bool DeleteArquivos(std::u16string_view Origem, std::u16string_view Arquivo);
// DirectoryDelete (without the trash) of every file matching the mask; failures ignored.
void DeletarArquivos(std::u16string_view Pasta_Mascara);
// Deletes a folder with everything in it, or a file, or moves it to the user's
// trash when `abMandarParaLixeira`. Refuses "", "/", "." and ".." (and any path
// ending in one of them); a symbolic link inside is deleted, never followed.
bool DirectoryDelete(std::u16string_view DirName, bool abMandarParaLixeira = false);
// Renames a folder: `lsNomeNovo` is a new name in the same folder, or a full path.
// Never replaces an existing entry; reports nothing.
void RenameDir(std::u16string_view lsNomeAntigo, std::u16string_view lsNomeNovo);
// Rotates the numbered backups of `Arquivo` in `Pasta` («nome.001» the newest, up to
// `MaxBackups`) and renames the file itself to «nome.001». Raises EFileError when
// the file exists but could not become «nome.001», so the caller never writes over
// its only copy.
void GerenciaBackup(std::u16string_view Pasta, std::u16string_view Arquivo, int MaxBackups);
// Tests that each folder exists (or, with `abForceDir`, can be created) and that a
// file can be written there, read back and deleted. `asMsg` gets one line per
// folder that failed, joined by CR: «Diretório "/x" não existe.»
bool VerificarPermissaoPasta(const TzelArrayString& asPastas, std::u16string& asMsg, bool abForceDir = false);
// True when the folder holds no entry (also when it does not exist).
bool IsDirectoryEmpty(std::u16string_view Path);
// Whether printer port `aiPorta` can be opened now: LPTn is /dev/lp(n-1), COMn is
// /dev/ttyS(n-1); the other kinds are never ports. `asMsg` stays empty.
bool PortaOK(int aiPorta, TTipoImpressao aeTipo, std::u16string& asMsg);

// ---- Directory listings (listings.cpp) ----

// Fills `Saida` with the files matching the mask `Arquivos` that are not hidden,
// in name order: names, or paths with `IncluirPasta`; with `Detalhes` each line is
// «path;DD/MM/YYYY HH:NN:SS;size». A limit of -1 is no limit; limits are inclusive.
bool GetFiles(TStringList& Saida, std::u16string_view Arquivos, bool IncluirPasta = false, bool Detalhes = false,
              TDateTime ahDtInicial = -1, TDateTime ahDtFinal = -1);
// The same files as records (full path, time to the second, size), ordered by
// path ignoring case, or by time (oldest first, equal times in path order).
bool GetFiles(TzelArrayArquivo& asLista, std::u16string_view asArquivos, bool abOrdenarDataHora = false);
// The files matching the mask in its folder and in every folder below, hidden
// files included and folders whose names start with "." skipped: each folder's own
// files first, then its subfolders one after the other. A folder reached twice
// (through a link) is walked once.
bool GetFilesRecursive(TStringList& Saida, std::u16string_view Arquivos, bool IncluirPasta);
bool GetFilesRecursive(TzelArrayString& asLista, std::u16string_view Arquivos, bool IncluirPasta);
// The folders in `Caminho` that are not hidden, with "." and ".." first (except in
// the root); names or paths without a trailing separator.
bool GetDirectories(std::u16string_view Caminho, TStringList& Saida, bool FullPath = false);
// Every folder below `Arquivos`, each with a trailing separator, a folder's
// subfolders all listed before the first is entered.
bool GetDirectoriesRecursive(TStringList& Saida, std::u16string_view Arquivos);
// How many running processes have an executable named `NomeExe`, compared on the
// first 15 characters ignoring case.
int GetNumeroProcessos(std::u16string_view NomeExe);

// ---- File contents, sizes and dates (contents.cpp, file_dates.cpp) ----
// Text files: read with their byte-order mark (UTF-8, UTF-16 LE or BE) or as
// Windows-1252; lines end at CR LF, CR or LF; written with CR LF after every line.

// Writes `GravarStrDentro` as one line in Windows-1252 (an empty file for an empty
// text). False when it could not be written.
bool CriarArquivoTexto(std::u16string_view FileName, std::u16string_view GravarStrDentro);
// Writes `asText` as lines (CR LF after each) in Windows-1252; raises EFileError.
//   SaveTextSample(u"a\nb", f) writes "a\r\nb\r\n"
bool SaveTextSample(std::u16string_view asText, std::u16string_view asArquivo);
// Parses `asXML` and saves it as a document declaring version "1.0" and encoding
// `asEnconding` (else the text's own, else UTF-8), written in that encoding.
// False with the reason in `asMsg` when the text is not XML or cannot be saved.
bool SaveXMLFile(std::u16string_view asXML, std::u16string_view asArquivo, std::u16string& asMsg,
                 std::u16string_view asEnconding = u"");
// `Saida` := the lines of the file (cleared when it does not exist); true when it has any.
bool LoadFile(std::u16string_view NomeArquivo, TStringList& Saida);
// The first line of the file, without its byte-order mark; empty when there is none.
std::u16string LoadFileFirstLine(std::u16string_view NomeArquivo);
// The file's printable bytes (tab, CR, LF, ASCII and some Windows-1252 letters) as lines.
//   bytes 0, 'A', CR, LF, 'B', 200 → "A", "BÈ"
bool CarregarArquivoBinario(std::u16string_view NomeArquivo, TStringList& Saida);
// The whole file in memory, positioned at its start. Raises EFileError.
std::unique_ptr<TMemoryStream> GetStreamFile(std::u16string_view asArquivo);
// The file's bytes read one by one as Windows-1252, no byte-order mark looked for,
// as lines with CR LF: UTF-8 "ç" arrives as "Ã§".
std::u16string GetFileConvertUTF8ToAnsi(std::u16string_view asArquivo);
// Removes a UTF-8 byte-order mark that was read as the three characters "ï»¿" at
// the start of the file's first line, and writes the file back.
void RemoverBOM_UTF(std::u16string_view NomeArquivo);
// Rewrites the file keeping only printable bytes (no line breaks), after keeping
// the original as `Arquivo` + ".bak". Failures are shown in a message box.
bool LimparArquivoTexto(std::u16string_view Arquivo);
// Makes the file writable again (clears read-only).
void RemoverAtributoSomenteLeitura(std::u16string_view Arquivo);
// Size in bytes of the entry (relative to the current folder; 0 for a folder), -1
// when there is none; 2147483647 for 2 GiB or more (FileSize has the exact size).
int FileLength(std::u16string_view Arquivo);
// Size in bytes of the first entry matching the mask (0 for a folder), 0 when none.
std::int64_t FileSize(std::u16string_view Arquivo);
// A size for people, one decimal truncated. FormatFileSize(1535) == u"1,4 Kb" (Brazilian settings)
std::u16string FormatFileSize(std::int64_t aiBytes);
// Last write time (local) of the first entry matching the mask; 0 when none.
TDateTime GetFileDateTime(std::u16string_view Arquivo);
// Last write time (local) of a folder; 0 when it does not exist.
TDateTime GetFolderDateTime(std::u16string_view asFolder);
// Sets the file's last write time, with seconds cut to an even number. False for a
// missing or read-only file, a date outside 1980–2107 or a local time the clock skips.
bool SetFileDateTime(std::u16string_view Arquivo, TDateTime NovaData);
// The most recently written of the listed files (the first of equal times); empty when none exists.
std::u16string GetFileModificadoRecentemente(const TStringList& ListaArquivos);

// ---- Version texts (versions.cpp) ----

// The comparison VersaoMaior is asked for.
enum class geTiposComparacao { tcIgual, tcDiferente, tcMaior, tcMaiorIgual, tcMenor, tcMenorIgual };

// The version text of a program file: the "FileVersion" of a Windows executable's
// version resource, or the version our own Linux programs are stamped with (the one
// reader TmRot::GetFileVersao uses). Empty when the file has no version (or is
// missing); "0.0" when reading it fails.
//   GetVersaoArquivo(u"/opt/caixa/pdv") == u"1.4.0.27"
std::u16string GetVersaoArquivo(std::u16string_view asArquivo);
// Field `aiPosition` (1-based) of the file's version text; empty past the last.
//   GetTagVersaoScript(a file at 3.1.0.7, 2) == u"1"
std::u16string GetTagVersaoScript(std::u16string_view asExePath, std::int32_t aiPosition);
// The fields at `aiPositions`, in the order given, joined by "." (an empty field
// still adds its ".").  GetTagVersaoApp(a file at 2.5.1.300, {1, 2, 3}) == u"2.5.1"
std::u16string GetTagVersaoApp(std::u16string_view asExePath, const TzelArrayInteger& aiPositions);
// `asMaior` compared with `asAtual` as asked. Each "."-field counts as its last five
// characters right-aligned with "0"s, so fields compare as numbers up to five digits,
// and a version with more fields is greater than its prefix.
//   VersaoMaior(u"1.2", u"1.10", tcMaior) == true; VersaoMaior(u"1.2", u"1.2.0", tcMaior) == true
bool VersaoMaior(std::u16string_view asAtual, std::u16string_view asMaior, geTiposComparacao aeTpComparacao);
// True when `asAtual` is blank or `asNova` is greater than it.
bool NovaVersao(std::u16string_view asAtual, std::u16string_view asNova);

}  // namespace TmFile

}  // namespace zelmor
