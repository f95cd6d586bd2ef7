#include <algorithm>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "files/GravaLogsUnit.h"
#include "files/directory_search.h"
#include "files/files.h"
#include "format/format_datetime.h"
#include "platform/file_locks.h"

namespace zelmor {
namespace {

// How long a writer waits for the others before it gives up with an error.
constexpr int kLockWait = 30000;

}  // namespace

TGravaLogs::TGravaLogs(std::u16string_view AOwner) : iNomeOrigem(AOwner) {}

void TGravaLogs::setDiretorio(std::u16string_view pDiretorio) {
  const bool blank = std::all_of(pDiretorio.begin(), pDiretorio.end(), [](char16_t c) { return c <= u' '; });
  const std::u16string folder = blank ? TmFile::DirExe() : std::u16string(pDiretorio);
  if (!TmFile::DirectoryExists(folder) && !TmFile::CreateDirectory(folder))
    throw EFileError(u"Não foi possível criar a pasta de logs \"" + folder + u"\"");
  iDiretorio = folder;
}

void TGravaLogs::loadLogMensagem() {
  TStringList lines;
  if (text_file::Load(iDiretorio + iNomeLog, lines, FEncoding)) iLogs = std::move(lines);
  const std::size_t keep = static_cast<std::size_t>(std::max(iMaximoLinhas, 0));
  if (iLogs.Items.size() > keep) iLogs.Items.resize(keep);
}

void TGravaLogs::addMensagem(std::u16string_view pMensagem, bool pIsFimMensagem) {
  std::u16string line = FormatDateTime(u"yyyy/mm/dd hh:nn:ss", Now());
  line += u" - ";
  line += iNomeOrigem;
  line += u"-> ";
  line += pMensagem;
  auto& items = iLogs.Items;
  items.insert(items.begin(), std::move(line));
  if (pIsFimMensagem) items.insert(items.begin(), std::u16string(80, u'-'));
}

void TGravaLogs::gravaLogMensagem() { text_file::Save(iDiretorio + iNomeLog, iLogs, FEncoding); }

void TGravaLogs::Execute(std::u16string_view pOrigem, std::u16string_view pNomeLog, std::u16string_view pMensagem,
                         std::u16string_view pDiretorio, int pMaximoLinhas) {
  TGravaLogs log(pOrigem);
  log.SetNomeLog(pNomeLog);
  log.SetMaximoLinhas(pMaximoLinhas);
  log.setDiretorio(pDiretorio);
  // Processes writing the same log take turns from reading it to replacing it, so
  // none writes over an entry another has just added.
  const std::u16string path = log.iDiretorio + log.iNomeLog;
  const auto turn = platform::Service<platform::FileLocks>::Get().LockFolder(files::SplitPath(path).Folder, kLockWait);
  log.loadLogMensagem();
  log.addMensagem(pMensagem, true);
  log.gravaLogMensagem();
}

void TGravaLogs::GravaLogMsg(std::u16string_view) {}

void TGravaLogs::EnviaLogsEmail(std::u16string_view, std::u16string_view) {}

}  // namespace zelmor
