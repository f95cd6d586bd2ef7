#include "files/directory_search.h"

#include <algorithm>
#include <cstdint>

#include "core/text.h"
#include "platform/dialogs.h"
#include "platform/executable_info.h"
#include "platform/file_system.h"

namespace zelmor::files {
namespace {

enum class Token : unsigned char { Literal, Star, DosStar, QuestionMark, DosDot };

struct Step {
  Token Kind;
  char16_t Char;  // upper-cased, for literals
};

std::vector<Step> Compile(std::u16string_view mask) {
  std::vector<Step> steps;
  steps.reserve(mask.size());
  for (std::size_t i = 0; i < mask.size(); ++i) {
    const char16_t c = mask[i];
    const char16_t next = i + 1 < mask.size() ? mask[i + 1] : u'\0';
    if (c == u'*') {
      steps.push_back({next == u'.' ? Token::DosStar : Token::Star, 0});
    } else if (c == u'?') {
      steps.push_back({Token::QuestionMark, 0});
    } else if (c == u'.' && (i + 1 == mask.size() || next == u'*' || next == u'?')) {
      steps.push_back({Token::DosDot, 0});
    } else {
      steps.push_back({Token::Literal, UpperChar(c)});
    }
  }
  return steps;
}

// Runs the mask as a set of positions in it, one character of the name at a time.
bool Run(const std::vector<Step>& steps, std::u16string_view name) {
  const std::size_t m = steps.size(), n = name.size();
  const std::size_t lastDot = name.rfind(u'.');
  std::vector<char> cur(m + 1, 0), next(m + 1, 0);
  // Adds the positions reachable without taking a character at name position `p`.
  auto close = [&](std::vector<char>& set, std::size_t p) {
    for (std::size_t t = 0; t < m; ++t) {
      if (!set[t]) continue;
      const Token k = steps[t].Kind;
      if (k == Token::Star || k == Token::DosStar || (k == Token::QuestionMark && (p == n || name[p] == u'.')) ||
          (k == Token::DosDot && p == n))
        set[t + 1] = 1;
    }
  };
  cur[0] = 1;
  close(cur, 0);
  for (std::size_t p = 0; p < n; ++p) {
    std::fill(next.begin(), next.end(), 0);
    const char16_t c = name[p];
    bool any = false;
    for (std::size_t t = 0; t < m; ++t) {
      if (!cur[t]) continue;
      const Step& s = steps[t];
      std::size_t to = SIZE_MAX;
      switch (s.Kind) {
        case Token::Star: to = t; break;
        case Token::DosStar:
          if (lastDot == std::u16string_view::npos || p < lastDot) to = t;
          break;
        case Token::QuestionMark:
          if (c != u'.') to = t + 1;
          break;
        case Token::DosDot:
          if (c == u'.') to = t + 1;
          break;
        case Token::Literal:
          if (UpperChar(c) == s.Char) to = t + 1;
          break;
      }
      if (to != SIZE_MAX) next[to] = any = 1;
    }
    if (!any) return false;
    close(next, p + 1);
    cur.swap(next);
  }
  return cur[m] != 0;
}

bool EveryName(std::u16string_view mask) { return mask == u"*" || mask == u"*.*"; }

char16_t Fold(char16_t c) {
  if (c < 0x80) return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c;
  return UpperChar(c);
}

int CompareNoCase(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    // Names in one folder share long beginnings: equal characters need no folding.
    if (a[i] == b[i]) continue;
    const char16_t x = Fold(a[i]), y = Fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

}  // namespace

bool MatchesMask(std::u16string_view name, std::u16string_view mask) {
  if (EveryName(mask)) return true;
  return Run(Compile(mask), name);
}

bool HasWildcards(std::u16string_view text) { return text.find_first_of(u"*?") != std::u16string_view::npos; }

PathParts SplitPath(std::u16string_view path) {
  const std::size_t cut = path.find_last_of(platform::PathDelim);
  if (cut == std::u16string_view::npos) return {{}, path};
  return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

void SortByName(std::vector<platform::FolderEntry>& entries) {
  // Sorted as pointers, then each entry moved once: an entry is many times a
  // pointer's size, and moving a name is not free.
  std::vector<platform::FolderEntry*> order(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) order[i] = &entries[i];
  std::sort(order.begin(), order.end(), [](const platform::FolderEntry* a, const platform::FolderEntry* b) {
    const int c = CompareNoCase(a->Name, b->Name);
    return c != 0 ? c < 0 : a->Name < b->Name;
  });
  std::vector<platform::FolderEntry> sorted;
  sorted.reserve(entries.size());
  for (platform::FolderEntry* e : order) sorted.push_back(std::move(*e));
  entries.swap(sorted);
}

bool FindEntries(std::u16string_view pattern, bool details, std::vector<platform::FolderEntry>& out,
                 platform::EntryInfo* self) {
  out.clear();
  const PathParts parts = SplitPath(pattern);
  if (parts.Name.empty()) return false;
  platform::FileSystem& fs = platform::Service<platform::FileSystem>::Get();
  if (!HasWildcards(parts.Name)) {
    platform::EntryInfo info = fs.Stat(pattern);
    if (info.Kind == platform::EntryKind::None) return false;
    if (self) *self = fs.Stat(parts.Folder.empty() ? u"." : parts.Folder);
    out.push_back({std::u16string(parts.Name), info});
    return true;
  }
  platform::EntryInfo folderInfo;
  if (!fs.ReadFolder(parts.Folder, details, folderInfo, out)) return false;
  if (self) *self = folderInfo;
  if (!EveryName(parts.Name)) {
    const std::vector<Step> steps = Compile(parts.Name);
    std::erase_if(out, [&](const platform::FolderEntry& e) { return !Run(steps, e.Name); });
  }
  SortByName(out);
  return true;
}

std::vector<std::u16string> MatchingFiles(std::u16string_view mask) {
  std::vector<platform::FolderEntry> found;
  std::vector<std::u16string> paths;
  if (!FindEntries(mask, false, found)) return paths;
  const std::u16string folder(SplitPath(mask).Folder);
  for (const auto& e : found)
    if (e.Info.Kind != platform::EntryKind::Folder && !IsHidden(e.Name)) paths.push_back(folder + e.Name);
  return paths;
}

BusyCursorScope::BusyCursorScope() { platform::Service<platform::BusyCursor>::Get().Begin(); }
BusyCursorScope::~BusyCursorScope() { platform::Service<platform::BusyCursor>::Get().End(); }

}  // namespace zelmor::files
