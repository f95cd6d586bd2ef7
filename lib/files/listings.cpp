// Listings of files and folders, also through whole trees, and counting processes.
#include <algorithm>
#include <deque>
#include <set>
#include <utility>

#include "core/text.h"
#include "files/directory_search.h"
#include "files/file_times.h"
#include "files/files.h"
#include "format/format_datetime.h"
#include "platform/dialogs.h"
#include "platform/executable_info.h"
#include "platform/file_system.h"
#include "strings/mString.h"

namespace zelmor {
namespace {

using platform::EntryKind;
using platform::FolderEntry;
using FolderId = std::pair<std::uint64_t, std::uint64_t>;

// A recursive walk: reads each folder once, and never a folder it has already
// entered (a symbolic link back up the tree would otherwise never end).
class TreeWalk {
 public:
  // Reads folder `path` (with a trailing separator) into `entries`, in name order.
  // False when it cannot be read or was already walked.
  bool Enter(const std::u16string& path, std::vector<FolderEntry>& entries) {
    platform::EntryInfo self;
    if (!platform::Service<platform::FileSystem>::Get().ReadFolder(path, false, self, entries)) return false;
    if (!FSeen.insert({self.Device, self.Inode}).second) return false;
    files::SortByName(entries);
    return true;
  }

  // The entries of a folder `depth` levels down, kept from one folder to the next so
  // a tree of thousands of folders grows no list more than once (a deque: the lists
  // of the levels above stay where they are).
  std::vector<FolderEntry>& Entries(std::size_t depth) {
    while (FEntries.size() <= depth) FEntries.emplace_back();
    return FEntries[depth];
  }

 private:
  std::set<FolderId> FSeen;
  std::deque<std::vector<FolderEntry>> FEntries;
};

bool IsWalkedFolder(const FolderEntry& e) { return e.Info.Kind == EntryKind::Folder && !files::IsHidden(e.Name); }

// `folder` + `name` (+ `delim`), made in one allocation.
std::u16string Joined(const std::u16string& folder, const std::u16string& name, std::u16string_view delim = {}) {
  std::u16string path;
  path.reserve(folder.size() + name.size() + delim.size());
  return path.append(folder).append(name).append(delim);
}

constexpr std::u16string_view kDelim(&platform::PathDelim, 1);

void WalkFiles(TreeWalk& walk, const std::u16string& folder, std::u16string_view mask, bool withFolder,
               TStringList& out, std::size_t depth = 0) {
  std::vector<FolderEntry>& entries = walk.Entries(depth);
  if (!walk.Enter(folder, entries)) return;
  for (const auto& e : entries)
    if (e.Info.Kind != EntryKind::Folder && files::MatchesMask(e.Name, mask))
      out.Items.push_back(withFolder ? Joined(folder, e.Name) : e.Name);
  for (const auto& e : entries)
    if (IsWalkedFolder(e)) WalkFiles(walk, Joined(folder, e.Name, kDelim), mask, withFolder, out, depth + 1);
}

void WalkFolders(TreeWalk& walk, const std::u16string& folder, TStringList& out, std::size_t depth = 0) {
  std::vector<FolderEntry>& entries = walk.Entries(depth);
  if (!walk.Enter(folder, entries)) return;
  std::erase_if(entries, [](const FolderEntry& e) { return !IsWalkedFolder(e); });
  for (const auto& e : entries) out.Add(Joined(folder, e.Name, kDelim));
  for (const auto& e : entries) WalkFolders(walk, Joined(folder, e.Name, kDelim), out, depth + 1);
}

// The whole-line comparison of the listing's detail lines, ignoring case the way a
// Portuguese reader does: accents count only between lines that are otherwise equal.
bool LineBefore(const std::u16string& a, const std::u16string& b) {
  const std::u16string fa = UpperCase(TmStr::RemoveAcentosSQL(a)), fb = UpperCase(TmStr::RemoveAcentosSQL(b));
  if (fa != fb) return fa < fb;
  const std::u16string ua = UpperCase(a), ub = UpperCase(b);
  return ua != ub ? ua < ub : a < b;
}

std::u16string DetailLine(const std::u16string& entry, TDateTime when, std::int64_t size) {
  return entry + u";" + FormatDateTime(u"dd/mm/yyyy hh:nn:ss", when) + u";" + IntToStr(size);
}

}  // namespace

bool TmFile::GetFiles(TStringList& Saida, std::u16string_view Arquivos, bool IncluirPasta, bool Detalhes,
                      TDateTime ahDtInicial, TDateTime ahDtFinal) {
  Saida.Clear();
  files::BusyCursorScope busy;
  const bool dated = Detalhes || ahDtInicial > -1 || ahDtFinal > -1;
  std::vector<FolderEntry> found;
  files::FindEntries(Arquivos, dated, found);
  const std::u16string folder(files::SplitPath(Arquivos).Folder);
  for (auto& e : found) {
    if (e.Info.Kind == EntryKind::Folder || files::IsHidden(e.Name)) continue;
    const TDateTime d = dated ? files::FileTimeToDateTime(e.Info.Modified) : TDateTime(0);
    if (ahDtInicial > -1 && d < ahDtInicial) continue;
    if (ahDtFinal > -1 && d > ahDtFinal) continue;
    std::u16string entry = IncluirPasta ? Joined(folder, e.Name) : std::move(e.Name);
    if (Detalhes) entry = DetailLine(entry, d, e.Info.Size);
    Saida.Items.push_back(std::move(entry));
  }
  return Saida.Count() > 0;
}

bool TmFile::GetFiles(TzelArrayArquivo& asLista, std::u16string_view asArquivos, bool abOrdenarDataHora) {
  asLista.clear();
  files::BusyCursorScope busy;
  std::vector<FolderEntry> found;
  files::FindEntries(asArquivos, true, found);
  const std::u16string folder(files::SplitPath(asArquivos).Folder);
  // Each record is kept beside the detail line it is ordered by, so a name holding
  // ";" is never cut into fields.
  std::vector<std::pair<std::u16string, TzelArquivo>> rows;
  for (const auto& e : found) {
    if (e.Info.Kind == EntryKind::Folder || files::IsHidden(e.Name)) continue;
    TzelArquivo a;
    a.Nome = folder + e.Name;
    a.DataHora = files::FileTimeToDateTimeSeconds(e.Info.Modified);
    a.Tamanho = e.Info.Size;
    rows.emplace_back(DetailLine(a.Nome, a.DataHora, a.Tamanho), std::move(a));
  }
  std::stable_sort(rows.begin(), rows.end(), [](const auto& x, const auto& y) { return LineBefore(x.first, y.first); });
  for (auto& r : rows) asLista.push_back(std::move(r.second));
  if (abOrdenarDataHora)
    std::stable_sort(asLista.begin(), asLista.end(),
                     [](const TzelArquivo& x, const TzelArquivo& y) { return x.DataHora < y.DataHora; });
  return !asLista.empty();
}

bool TmFile::GetFilesRecursive(TStringList& Saida, std::u16string_view Arquivos, bool IncluirPasta) {
  Saida.Clear();
  const files::PathParts parts = files::SplitPath(Arquivos);
  TreeWalk walk;
  // A mask without a folder walks the current folder (not the whole file system).
  WalkFiles(walk, parts.Folder.empty() ? std::u16string() : DirBarra(parts.Folder), parts.Name, IncluirPasta, Saida);
  return Saida.Count() > 0;
}

bool TmFile::GetFilesRecursive(TzelArrayString& asLista, std::u16string_view Arquivos, bool IncluirPasta) {
  TStringList list;
  GetFilesRecursive(list, Arquivos, IncluirPasta);
  asLista = std::move(list.Items);
  return !asLista.empty();
}

bool TmFile::GetDirectories(std::u16string_view Caminho, TStringList& Saida, bool FullPath) {
  Saida.Clear();
  files::BusyCursorScope busy;
  const std::u16string c = DirBarra(Caminho);
  std::vector<FolderEntry> found;
  if (!files::FindEntries(c + u"*", false, found)) return false;
  // The search leaves "." and ".." out; callers of this listing expect them first,
  // except at the root, which has neither (as a drive root has not).
  if (c != std::u16string(1, platform::PathDelim))
    for (const char16_t* dot : {u".", u".."}) Saida.Add(FullPath ? c + dot : std::u16string(dot));
  for (const auto& e : found)
    if (IsWalkedFolder(e)) Saida.Add(FullPath ? c + e.Name : e.Name);
  return Saida.Count() > 0;
}

bool TmFile::GetDirectoriesRecursive(TStringList& Saida, std::u16string_view Arquivos) {
  Saida.Clear();
  TreeWalk walk;
  WalkFolders(walk, Arquivos.empty() ? std::u16string() : DirBarra(Arquivos), Saida);
  return Saida.Count() > 0;
}

int TmFile::GetNumeroProcessos(std::u16string_view NomeExe) {
  auto key = [](std::u16string_view s) {
    std::u16string k(s.substr(0, 15));
    for (auto& c : k) c = AsciiUpper(c);
    return k;
  };
  const std::u16string wanted = key(NomeExe);
  int count = 0;
  for (const auto& name : platform::Service<platform::ProcessInfo>::Get().RunningExecutableNames())
    if (key(name) == wanted) ++count;
  return count;
}

}  // namespace zelmor
