// Copying, moving, renaming and deleting files and folders, one at a time or by mask.
#include <set>
#include <utility>

#include "core/errors.h"
#include "files/directory_search.h"
#include "files/files.h"
#include "platform/dialogs.h"
#include "platform/executable_info.h"
#include "platform/file_system.h"
#include "strings/mString.h"

namespace zelmor {
namespace {

constexpr char16_t kDelim = platform::PathDelim;
using platform::EntryKind;

// `path` with its extension (from the last "." of its name) replaced by `ext`.
std::u16string ChangeExtension(std::u16string_view path, std::u16string_view ext) {
  const std::u16string current = TmFile::FileExtension(path);
  return std::u16string(path.substr(0, path.size() - current.size())) + std::u16string(ext);
}

std::u16string WithoutTrailingSeparators(std::u16string_view path) {
  while (!path.empty() && path.back() == kDelim) path.remove_suffix(1);
  return std::u16string(path);
}

// Paths a whole-tree deletion must never take: empty, the root, "." or ".." (alone or last).
bool IsForbiddenTree(std::u16string_view path) {
  const std::u16string p = WithoutTrailingSeparators(path);
  if (p.empty()) return true;
  const std::u16string_view last = files::SplitPath(p).Name;
  return last == u"." || last == u"..";
}

using FolderId = std::pair<std::uint64_t, std::uint64_t>;

// The copy of a tree for CopiarPasta: links are followed (as the shell does); a
// folder met a second time (a link loop, or the copy itself when it is made inside
// the source) is not copied again.
class TreeCopy {
 public:
  bool Copy(const std::u16string& from, const std::u16string& to) {
    return Copy(from, to, platform::Service<platform::FileSystem>::Get().Stat(from).Kind);
  }

 private:
  bool Copy(const std::u16string& from, const std::u16string& to, EntryKind kind) {
    platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
    if (kind == EntryKind::File) return fs.CopyFile(from, to, true);
    if (kind != EntryKind::Folder) return false;
    std::vector<platform::FolderEntry> entries;
    platform::EntryInfo self;
    if (!fs.ReadFolder(from, false, self, entries)) return false;
    if (!FSeen.insert({self.Device, self.Inode}).second) return true;
    if (!fs.CreateFolders(to)) return false;
    const platform::EntryInfo made = fs.Stat(to);
    FSeen.insert({made.Device, made.Inode});
    bool ok = true;
    const std::u16string fromDir = TmFile::DirBarra(from), toDir = TmFile::DirBarra(to);
    for (const auto& e : entries) ok = Copy(fromDir + e.Name, toDir + e.Name, e.Info.Kind) && ok;
    fs.SetModified(to, self.Modified);
    return ok;
  }

  std::set<FolderId> FSeen;
};

}  // namespace

bool TmFile::CopiarArquivo(std::u16string_view Origem, std::u16string_view PastaDestino,
                           std::u16string_view AcrescentarNoFinalDoNome, bool SubstituirSeExistir) {
  if (!FileExists(Origem) || !DirectoryExists(PastaDestino)) return false;
  std::u16string name = FileName(Origem);
  if (!AcrescentarNoFinalDoNome.empty()) {
    const std::u16string ext = FileExtension(Origem);
    if (!ext.empty()) name = TmStr::Replace(name, ext, u"");
    name += std::u16string(AcrescentarNoFinalDoNome) + ext;
  }
  return platform::Service<platform::FileSystem>::Get().CopyFile(Origem, DirBarra(PastaDestino) + name,
                                                                 SubstituirSeExistir);
}

bool TmFile::CopiarArquivoRenomeandoDestino(std::u16string_view Origem, std::u16string_view PastaDestino) {
  if (!FileExists(Origem)) return false;
  const std::u16string folder = ExtractDir(PastaDestino);
  if (!folder.empty() && !DirectoryExists(folder)) return false;
  return platform::Service<platform::FileSystem>::Get().CopyFile(Origem, PastaDestino, true);
}

bool TmFile::CopiarArquivos(std::u16string_view Origem, std::u16string_view PastaDestino) {
  files::BusyCursorScope busy;
  bool result = false;
  for (const auto& f : files::MatchingFiles(Origem)) {
    result = CopiarArquivo(f, PastaDestino, u"", true);
    if (!result) break;
  }
  return result;
}

bool TmFile::CopiarPasta(std::u16string_view fromDir, std::u16string_view toDir) {
  files::BusyCursorScope busy;
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  const std::u16string from = WithoutTrailingSeparators(fromDir);
  const std::u16string to = WithoutTrailingSeparators(toDir);
  if (from.empty() || to.empty()) return false;
  // The entries to copy and where each goes.
  std::vector<std::pair<std::u16string, std::u16string>> work;
  const files::PathParts parts = files::SplitPath(from);
  if (files::HasWildcards(parts.Name)) {
    std::vector<platform::FolderEntry> found;
    if (!files::FindEntries(from, false, found) || found.empty() || !fs.CreateFolders(to)) return false;
    for (const auto& e : found) work.emplace_back(std::u16string(parts.Folder) + e.Name, DirBarra(to) + e.Name);
  } else {
    if (fs.Stat(from).Kind == EntryKind::None) return false;
    work.emplace_back(from, DirectoryExists(to) ? DirBarra(to) + std::u16string(parts.Name) : to);
  }
  bool ok = true;
  TreeCopy copy;
  for (const auto& [source, target] : work) ok = copy.Copy(source, target) && ok;
  return ok;
}

bool TmFile::MoverArquivo(std::u16string_view Origem, std::u16string_view PastaDestino, bool abForcarDiretorio) {
  if (!FileExists(Origem)) return true;
  if (abForcarDiretorio && !DirectoryExists(PastaDestino)) CreateDirectory(PastaDestino);
  return platform::Service<platform::FileSystem>::Get().MoveFile(Origem, DirBarra(PastaDestino) + FileName(Origem));
}

bool TmFile::MoverArquivoNome(std::u16string_view asSourcePath, std::u16string_view asDestPath) {
  const std::u16string folder = ExtractDir(asDestPath);
  if (!DirectoryExists(folder)) CreateDirectory(folder);
  return platform::Service<platform::FileSystem>::Get().Rename(asSourcePath, asDestPath);
}

bool TmFile::MoverArquivos(std::u16string_view Origem, std::u16string_view PastaDestino, bool abForcarDiretorio) {
  files::BusyCursorScope busy;
  if (abForcarDiretorio && !DirectoryExists(PastaDestino)) CreateDirectory(PastaDestino);
  const std::vector<std::u16string> files = files::MatchingFiles(Origem);
  if (files.empty() || !DirectoryExists(PastaDestino)) return false;
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  const std::u16string folder = DirBarra(PastaDestino);
  for (const auto& f : files)
    if (!fs.MoveFile(f, folder + FileName(f))) return false;
  return true;
}

bool TmFile::ModificarExtensao(std::u16string_view asPastaMascara, std::u16string_view asNovaExtensao) {
  files::BusyCursorScope busy;
  const std::u16string ext = !asNovaExtensao.empty() && asNovaExtensao[0] == u'.'
                                 ? std::u16string(asNovaExtensao)
                                 : u"." + std::u16string(asNovaExtensao);
  bool result = false;
  for (const auto& f : files::MatchingFiles(asPastaMascara))
    result = platform::Service<platform::FileSystem>::Get().Rename(f, ChangeExtension(f, ext));
  return result;
}

bool TmFile::DeleteArquivos(std::u16string_view Origem, std::u16string_view Arquivo) {
  files::BusyCursorScope busy;
  const std::u16string mask = std::u16string(Origem) + std::u16string(Arquivo);
  bool result = false;
  for (const auto& f : files::MatchingFiles(mask)) {
    result = platform::Service<platform::FileSystem>::Get().DeleteFile(std::u16string(Origem) + FileName(f));
    if (!result) break;
  }
  return result;
}

void TmFile::DeletarArquivos(std::u16string_view Pasta_Mascara) {
  for (const auto& f : files::MatchingFiles(Pasta_Mascara)) DirectoryDelete(f, false);
}

bool TmFile::DirectoryDelete(std::u16string_view DirName, bool abMandarParaLixeira) {
  if (IsForbiddenTree(DirName)) return false;
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  auto remove = [&](const std::u16string& path) {
    return abMandarParaLixeira ? fs.MoveToTrash(path) : fs.DeleteTree(path);
  };
  try {
    const std::u16string path = WithoutTrailingSeparators(DirName);
    const files::PathParts parts = files::SplitPath(path);
    if (!files::HasWildcards(parts.Name)) return remove(path);
    // A mask, as the shell takes it: every matching entry, hidden ones and folders too.
    std::vector<platform::FolderEntry> found;
    if (!files::FindEntries(path, false, found) || found.empty()) return false;
    bool ok = true;
    for (const auto& e : found) ok = remove(std::u16string(parts.Folder) + e.Name) && ok;
    return ok;
  } catch (const std::exception&) {
    return false;
  }
}

void TmFile::RenameDir(std::u16string_view lsNomeAntigo, std::u16string_view lsNomeNovo) {
  const std::u16string from = WithoutTrailingSeparators(lsNomeAntigo);
  if (from.empty() || lsNomeNovo.empty()) return;
  // A bare name renames in place, as the command interpreter's "ren" does.
  const std::u16string to = lsNomeNovo.find(kDelim) == std::u16string_view::npos
                                ? ExtractDir(from) + std::u16string(lsNomeNovo)
                                : WithoutTrailingSeparators(lsNomeNovo);
  platform::Service<platform::FileSystem>::Get().Rename(from, to);
}

}  // namespace zelmor
