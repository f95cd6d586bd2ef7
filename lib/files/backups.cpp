// Numbered backups and the folder and port access tests.
#include "core/errors.h"
#include "core/text.h"
#include "files/directory_search.h"
#include "files/files.h"
#include "textfile/text_file.h"
#include "calendar/calendar.h"
#include "format/format_datetime.h"
#include "platform/file_system.h"

namespace zelmor {
namespace {

// `name` with its extension replaced by the backup number: at least three digits.
std::u16string BackupName(const std::u16string& folder, std::u16string_view name, int i) {
  std::u16string number = IntToStr(i);
  if (number.size() < 3) number.insert(0, 3 - number.size(), u'0');
  return folder + std::u16string(name.substr(0, name.size() - TmFile::FileExtension(name).size())) + u"." + number;
}

// Runs one step of the folder test; an error becomes `ending` + its text.
template <class Action>
std::u16string Step(std::u16string_view ending, Action&& action) {
  try {
    action();
    return {};
  } catch (const EZelmorError& e) {
    return std::u16string(ending) + e.Message();
  }
}

}  // namespace

void TmFile::GerenciaBackup(std::u16string_view Pasta, std::u16string_view Arquivo, int MaxBackups) {
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  const std::u16string folder = DirBarra(Pasta);
  const std::u16string current = folder + std::u16string(Arquivo), first = BackupName(folder, Arquivo, 1);
  // With no file to back up, rotating would only throw the oldest copy away.
  if (!fs.EntryExists(current)) return;
  // Oldest first, so every rename has a free name to go to; single failures are
  // left for the last step to notice.
  for (int i = MaxBackups; i >= 1; --i) {
    const std::u16string b = BackupName(folder, Arquivo, i);
    if (!FileExists(b)) continue;
    if (i == MaxBackups)
      fs.DeleteFile(b);
    else
      fs.Rename(b, BackupName(folder, Arquivo, i + 1));
  }
  // Without numbered copies the file only becomes .001 when that name is free.
  if (MaxBackups <= 0 && fs.EntryExists(first)) return;
  std::u16string why;
  if (!fs.Rename(current, first, &why))
    throw EFileError(u"Não foi possível criar a cópia de segurança \"" + first + u"\" de \"" + current + u"\": " + why);
}

bool TmFile::VerificarPermissaoPasta(const TzelArrayString& asPastas, std::u16string& asMsg, bool abForceDir) {
  asMsg.clear();
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  for (const auto& p : asPastas) {
    std::u16string problem;
    try {
      if (!DirectoryExists(p)) {
        if (!abForceDir)
          problem = u" não existe.";
        else if (!CreateDirectory(p))
          problem = u" não existe e não pode ser criado.";
      }
      const std::u16string test = DirBarra(p) + FormatDateTime(u"ddmmyyhhnnss", Now()) + u".testepermissao";
      if (problem.empty())
        problem = Step(u" com erro de gravação. Msg.Original: ", [&] {
          TStringList lines;
          lines.Add(u"TESTE");
          text_file::Save(test, lines, text_file::Encoding::Ansi);
          if (fs.Stat(test).Kind != platform::EntryKind::File) throw EFileError(u"Arquivo teste gravado não encontrado");
        });
      if (problem.empty())
        problem = Step(u" com erro de leitura. Msg.Original: ", [&] {
          TStringList lines;
          text_file::Encoding encoding;
          text_file::Load(test, lines, encoding);
          if (lines.Count() == 0 || lines[0] != u"TESTE")
            throw EFileError(u"Conteúdo do arquivo teste inválido " + lines.Text());
        });
      if (problem.empty())
        problem = Step(u" com erro de exclusão. Msg.Original: ", [&] {
          if (!fs.DeleteFile(test)) throw EFileError(u"Não foi possível deletar o arquivo teste");
        });
    } catch (const EZelmorError& e) {
      problem = u" com erro. Msg.Original" + e.Message();
    }
    if (problem.empty()) continue;
    if (!asMsg.empty()) asMsg += u'\r';
    asMsg += u"Diretório \"" + p + u"\"" + problem;
  }
  return asMsg.empty();
}

bool TmFile::IsDirectoryEmpty(std::u16string_view Path) {
  std::vector<platform::FolderEntry> found;
  return !files::FindEntries(DirBarra(Path) + u"*", false, found) || found.empty();
}

bool TmFile::PortaOK(int aiPorta, TTipoImpressao aeTipo, std::u16string& asMsg) {
  asMsg.clear();
  if (aeTipo != TTipoImpressao::tiLPT && aeTipo != TTipoImpressao::tiCOM) return false;
  return platform::Service<platform::FileSystem>::Get().CanOpenPort(
      aeTipo == TTipoImpressao::tiLPT ? platform::PortKind::Parallel : platform::PortKind::Serial, aiPorta);
}

}  // namespace zelmor
