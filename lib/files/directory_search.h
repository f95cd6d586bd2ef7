// The one directory search of the library, with the Windows rules its callers
// rely on: masks with "*" and "?" matched without case, entries in name order,
// "." and ".." left out. Every file routine that walks a folder goes through here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace zelmor::files {

// Whether `name` matches the mask `mask` the way Windows matches file names:
//   "*" any run of characters; "*" just before a "." stops at the name's last dot;
//   "?" one character other than ".", or nothing at the end of the name or before a ".";
//   a "." that ends the mask or comes before "*" or "?" also matches the end of the name;
//   other characters match themselves, case ignored (Latin-1 letters too).
// So "*.*" and "*" match every name, "*." the names without a dot, "*.txt" "a.b.TXT"
// but not "a.txt.bak", "a?.txt" "a.txt" and "ab.txt".
bool MatchesMask(std::u16string_view name, std::u16string_view mask);

// True when `text` holds a wildcard.
bool HasWildcards(std::u16string_view text);

// The split of a path or mask into its folder part (up to and including the last
// separator; empty for none) and its name part.
struct PathParts {
  std::u16string_view Folder, Name;
};
PathParts SplitPath(std::u16string_view path);

// A name starting with "." is hidden (the Linux convention).
inline bool IsHidden(std::u16string_view name) { return !name.empty() && name[0] == u'.'; }

// The entries matching `pattern` (a folder part and a name mask), in name order
// (case ignored, then exact). A name part without wildcards looks up exactly that
// entry. With `details` each entry's facts are complete. False when the folder
// cannot be read or the name part is empty; `self` (when given) gets the folder's facts.
bool FindEntries(std::u16string_view pattern, bool details, std::vector<platform::FolderEntry>& out,
                 platform::EntryInfo* self = nullptr);

// The paths (folder part + name) of the files matching the mask: neither folders
// nor hidden, in name order. What every routine that walks a mask acts on.
std::vector<std::u16string> MatchingFiles(std::u16string_view mask);

// Orders entries by name: case ignored first, then exactly, so the order never
// depends on the order the system read them in.
void SortByName(std::vector<platform::FolderEntry>& entries);

// Shows the busy cursor for the life of the object.
class BusyCursorScope {
 public:
  BusyCursorScope();
  ~BusyCursorScope();
  BusyCursorScope(const BusyCursorScope&) = delete;
  BusyCursorScope& operator=(const BusyCursorScope&) = delete;
};

}  // namespace zelmor::files
