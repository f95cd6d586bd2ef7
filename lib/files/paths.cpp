// Building and taking apart path texts; existence tests; unique names; folders.
#include <algorithm>
#include <climits>

#include "core/errors.h"
#include "core/text.h"
#include "files/directory_search.h"
#include "files/files.h"
#include "platform/dialogs.h"
#include "platform/executable_info.h"
#include "platform/file_system.h"
#include "strings/mString.h"

namespace zelmor {
namespace {

constexpr char16_t kDelim = platform::PathDelim;

// Position of the extension's dot in `path`, or npos: the last "." after the last separator.
std::size_t ExtensionDot(std::u16string_view path) {
  const std::size_t dot = path.find_last_of(u'.');
  if (dot == std::u16string_view::npos) return dot;
  const std::size_t sep = path.find_last_of(kDelim);
  return (sep != std::u16string_view::npos && sep > dot) ? std::u16string_view::npos : dot;
}

}  // namespace

std::u16string TmFile::DirAnsi(std::u16string_view Pasta) { return TmStr::Replace(Pasta, u"\\", u"\\\\"); }

std::u16string TmFile::DirAnsiRead(std::u16string_view asPath) {
  std::u16string s(asPath);
  // From the right: a pair loses its right-hand backslash and the walk skips its left one.
  for (std::size_t i = s.size(); i >= 2;) {
    if (s[i - 1] == u'\\' && s[i - 2] == u'\\') {
      s.erase(i - 1, 1);
      i -= 2;
    } else {
      --i;
    }
  }
  return s;
}

std::u16string TmFile::ExtractDir(std::u16string_view cFile) {
  return std::u16string(cFile.substr(0, cFile.size() - FileName(cFile).size()));
}

std::u16string TmFile::FileDirectoryName(std::u16string_view Arquivo) {
  return std::u16string(files::SplitPath(Arquivo).Folder);
}

std::u16string TmFile::FileName(std::u16string_view Arquivo) { return std::u16string(files::SplitPath(Arquivo).Name); }

std::u16string TmFile::FileExtension(std::u16string_view Arquivo) {
  const std::size_t dot = ExtensionDot(Arquivo);
  return dot == std::u16string_view::npos ? std::u16string() : std::u16string(Arquivo.substr(dot));
}

std::u16string TmFile::FileNameSemExt(std::u16string_view Arquivo) {
  std::u16string_view name = files::SplitPath(Arquivo).Name;
  return std::u16string(name.substr(0, name.find(u'.')));
}

std::u16string TmFile::SetFileExt(std::u16string_view asFilePath, std::u16string_view asExt) {
  const std::u16string ending = u"." + std::u16string(asExt);
  if (TmStr::EndsWith(UpperCase(asFilePath), UpperCase(ending))) return std::u16string(asFilePath);
  return std::u16string(asFilePath) + ending;
}

std::u16string TmFile::ExtractAbsoluteFile(std::u16string_view asBasePath, std::u16string_view asPathFile) {
  const std::u16string up = std::u16string(u"..") + kDelim;
  int n = TmStr::Ocorre(asPathFile, up);
  std::u16string r = DirBarra(asBasePath);
  if (n == 0) return r + std::u16string(asPathFile);
  // Walk back from the end: each separator met spends one step; the one met with
  // no step left stays, and so does everything before it.
  std::size_t keep = 0;
  for (std::size_t i = r.size(); i > 0; --i) {
    if (r[i - 1] == kDelim && --n < 0) {
      keep = i;
      break;
    }
  }
  r.resize(keep);
  return r + TmStr::Replace(asPathFile, up, u"");
}

std::u16string TmFile::SubirNivel(std::u16string_view asFolder, int aiQtdNiveis) {
  const TzelArrayString fields = TmStr::Split(ExtractDir(asFolder), kDelim);
  const long long c = static_cast<long long>(fields.size());
  if (c - aiQtdNiveis - 2 < 0) return {};
  std::u16string r;
  for (long long i = 0; i < c - aiQtdNiveis - 1; ++i) r += fields[static_cast<std::size_t>(i)] + kDelim;
  return r;
}

std::u16string TmFile::DirectoryGetParent(std::u16string_view Pasta) {
  if (Pasta.empty()) return {};
  std::u16string s(Pasta);
  if (s.back() == kDelim) s.pop_back();
  const std::size_t sep = s.find_last_of(kDelim);
  if (sep != std::u16string::npos) s.resize(sep + 1);
  return DirBarra(s);
}

std::u16string TmFile::LimpaNomeArquivo(std::u16string_view Nome) {
  std::u16string s(Nome);
  std::erase_if(s, [](char16_t c) { return std::u16string_view(u"/\\:*?\"<>|").find(c) != std::u16string_view::npos; });
  return s;
}

std::u16string TmFile::getFileNameDOS(std::u16string_view FileName) {
  if (FileName.empty() || !platform::Service<platform::FileSystem>::Get().EntryExists(FileName)) return {};
  return std::u16string(FileName);
}

std::u16string TmFile::GetUniqueFilePath(std::u16string_view aPath) {
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  std::u16string candidate(aPath);
  const std::size_t dot = ExtensionDot(aPath);
  const std::u16string_view stem = aPath.substr(0, dot),
                            ext = dot == std::u16string_view::npos ? u"" : aPath.substr(dot);
  // Any entry counts, hidden or not, file or folder: the name must be free.
  for (long long counter = 1; fs.EntryExists(candidate) && counter < LLONG_MAX; ++counter)
    candidate = std::u16string(stem) + u"_" + IntToStr(counter) + std::u16string(ext);
  return candidate;
}

std::u16string TmFile::GetNomeArquivoTemp(std::u16string_view Prefixo) {
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  return fs.CreateUniqueFile(fs.SpecialFolderPath(platform::SpecialFolder::Temp), Prefixo.substr(0, 3), u".tmp");
}

std::u16string TmFile::GetZelmorRoot(std::u16string_view asPath, bool abShowException) {
  const std::u16string net(2, kDelim);
  if (asPath.substr(0, 2) != net) return std::u16string(kDelim + std::u16string(u"ZELMOR") + kDelim);
  const std::u16string p = DirBarra(asPath);
  const std::u16string component = kDelim + std::u16string(u"ZELMOR") + kDelim;
  // Compared in place: a whole-text upper-casing may change the length ("ß" → "SS")
  // and so the position found.
  for (std::size_t at = 0; at + component.size() <= p.size(); ++at)
    if (SameText(std::u16string_view(p).substr(at, component.size()), component))
      return p.substr(0, at + component.size());
  if (abShowException) throw EFileError(u"Path inválido para obter o root da Zelmor!");
  return {};
}

std::u16string TmFile::GetPasta() {
  std::u16string chosen;
  if (!platform::Service<platform::Dialogs>::Get().SelectFolder(u"Selecione uma pasta", u"", false, chosen)) return {};
  if (chosen.size() > 1 && chosen.back() == kDelim) chosen.pop_back();
  return chosen;
}

std::u16string TmFile::GetPastaDef(std::u16string_view PastaDef) {
  std::u16string s(PastaDef);
  if (!s.empty() && s.back() == kDelim && s.size() > 1) s.pop_back();
  // A folder that does not exist gives no initial selection.
  const std::u16string initial = !s.empty() && DirectoryExists(s) ? s : std::u16string();
  std::u16string chosen;
  if (!platform::Service<platform::Dialogs>::Get().SelectFolder(u"Selecione uma pasta", initial, true, chosen))
    return s;
  return DirBarra(chosen);
}

bool TmFile::DirectoryExists(std::u16string_view Nome) {
  return !Nome.empty() && platform::Service<platform::FileSystem>::Get().Stat(Nome).Kind == platform::EntryKind::Folder;
}

bool TmFile::FileExists(std::u16string_view Arquivo) {
  std::vector<platform::FolderEntry> found;
  if (!files::FindEntries(Arquivo, false, found)) return false;
  return std::any_of(found.begin(), found.end(), [](const platform::FolderEntry& e) {
    return e.Info.Kind != platform::EntryKind::Folder && !files::IsHidden(e.Name);
  });
}

bool TmFile::CreateDirectory(std::u16string_view Nome) {
  if (Nome.empty()) throw EFileError(u"Unable to create directory");
  return platform::Service<platform::FileSystem>::Get().CreateFolders(Nome);
}

bool TmFile::CriarDiretorios(const TzelArrayString& asDirs) {
  bool all = true;
  for (const auto& d : asDirs) all = CreateDirectory(d) && all;
  return all;
}

}  // namespace zelmor
