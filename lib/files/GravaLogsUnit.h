// TGravaLogs: a text log file with the newest entry on top, kept to a number of
// lines. Execute does it all in one call; the steps are also offered one by one so
// a caller can add several entries before writing.
//
// The file, from the top: a line of 80 "-", the newest entry, the previous entry's
// separator, the previous entry, and so on. An entry line reads
//   «2018/05/02 10:11:12 - frmVenda-> Caixa aberto»
// (date and time with the regional separators, the origin's name, "-> ", the message).
// The file is read and written as the library's text files are (docs/files.md); it is
// replaced in one step, so a failed write leaves the previous log as it was.
#pragma once

#include <string>
#include <string_view>

#include "core/types.h"
#include "textfile/text_file.h"

namespace zelmor {

class TGravaLogs {
 public:
  // `AOwner` is the name of the component on whose behalf entries are written
  // (empty when there is none).
  explicit TGravaLogs(std::u16string_view AOwner = {});

  // The log's folder: the program's folder for an empty or blank text, else `pDiretorio`
  // exactly (no separator added: «/logs» + «a.log» is «/logsa.log»). A missing folder is
  // created; raises EFileError when it cannot be.
  void setDiretorio(std::u16string_view pDiretorio);
  // Loads the log file, when there is one, and keeps its newest MaximoLinhas lines.
  // Raises EFileError when it exists but cannot be read.
  void loadLogMensagem();
  // Puts the entry line for `pMensagem` on top, with the separator line above it
  // when `pIsFimMensagem`.
  void addMensagem(std::u16string_view pMensagem, bool pIsFimMensagem);
  // Writes the lines to the folder + name, replacing the file; raises EFileError.
  void gravaLogMensagem();

  // Adds one entry on top of the log `pNomeLog` in `pDiretorio`, keeping at most
  // `pMaximoLinhas` old lines (a negative count keeps none).
  //   Execute(u"frmVenda", u"caixa.log", u"Caixa aberto", u"/var/log/pdv/", 1000)
  static void Execute(std::u16string_view pOrigem, std::u16string_view pNomeLog, std::u16string_view pMensagem,
                      std::u16string_view pDiretorio, int pMaximoLinhas);
  // Does nothing: the dialogs hand their messages here when asked to log them.
  static void GravaLogMsg(std::u16string_view pTexto);
  // Does nothing.
  static void EnviaLogsEmail(std::u16string_view pPathLogs, std::u16string_view pExtensaoLogs);

  const std::u16string& NomeLog() const { return iNomeLog; }
  void SetNomeLog(std::u16string_view Value) { iNomeLog = Value; }
  const std::u16string& NomeOrigem() const { return iNomeOrigem; }
  void SetNomeOrigem(std::u16string_view Value) { iNomeOrigem = Value; }
  int MaximoLinhas() const { return iMaximoLinhas; }
  // A negative count is taken as 0.
  void SetMaximoLinhas(int Value) { iMaximoLinhas = Value < 0 ? 0 : Value; }
  // The lines as they stand, index 0 the top of the file.
  const TStringList& Logs() const { return iLogs; }
  const std::u16string& Diretorio() const { return iDiretorio; }

 private:
  TStringList iLogs;
  std::u16string iNomeLog;
  std::u16string iDiretorio;
  std::u16string iNomeOrigem;
  int iMaximoLinhas = 0;
  // The encoding the file was read in; a new log is written in Windows-1252.
  text_file::Encoding FEncoding = text_file::Encoding::Ansi;
};

}  // namespace zelmor
