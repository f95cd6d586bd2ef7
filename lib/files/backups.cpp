// Numbered backups and the folder and port access tests.
#include <algorithm>
#include <functional>
#include <vector>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "core/text.h"
#include "files/directory_search.h"
#include "files/files.h"
#include "format/format_datetime.h"
#include "platform/file_system.h"
#include "textfile/text_file.h"

namespace zelmor {
namespace {

// `name` with its extension replaced by the backup number: at least three digits.
std::u16string BackupName(const std::u16string& folder, std::u16string_view name, int i) {
  std::u16string number = IntToStr(i);
  if (number.size() < 3) number.insert(0, 3 - number.size(), u'0');
  return folder + std::u16string(name.substr(0, name.size() - TmFile::FileExtension(name).size())) + u"." + number;
}

// The numbers from 1 to `most` of the copies that exist, highest first: the folder is
// read once, so a large `most` costs nothing. A name counts only as BackupName writes
// it ("log.0001" is not copy 1).
std::vector<int> ExistingBackups(const std::u16string& folder, std::u16string_view name, int most) {
  std::vector<int> numbers;
  if (most < 1) return numbers;
  const std::u16string first = BackupName(folder, name, 1);
  const std::u16string prefix = first.substr(0, first.size() - 3);  // up to the "."
  const files::PathParts parts = files::SplitPath(prefix);
  platform::EntryInfo self;
  std::vector<platform::FolderEntry> entries;
  if (!platform::Service<platform::FileSystem>::Get().ReadFolder(parts.Folder, false, self, entries)) return numbers;
  for (const auto& e : entries) {
    if (e.Name.size() <= parts.Name.size() || e.Name.compare(0, parts.Name.size(), parts.Name) != 0) continue;
    const std::u16string_view digits = std::u16string_view(e.Name).substr(parts.Name.size());
    if (digits.size() > 10 || digits.find_first_not_of(u"0123456789") != std::u16string_view::npos) continue;
    long long n = 0;
    for (char16_t d : digits) n = n * 10 + (d - u'0');
    if (n < 1 || n > most) continue;
    if (BackupName(folder, name, static_cast<int>(n)) == prefix + std::u16string(digits))
      numbers.push_back(static_cast<int>(n));
  }
  std::sort(numbers.begin(), numbers.end(), std::greater<int>());
  return numbers;
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
  for (const int i : ExistingBackups(folder, Arquivo, MaxBackups)) {
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
          if (fs.Stat(test).Kind != platform::EntryKind::File)
            throw EFileError(u"Arquivo teste gravado não encontrado");
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
