// The registry store's file: the hive as an in-memory tree, and its text form.
//
//   Zelmor Registry Version 2
//   ; comment lines start with ';'
//
//   [HKEY_CURRENT_USER\SOFTWARE\Zelmor\Forms\QuindelForm]
//   "Top"=dword:00000064
//   "State"="Nor"
//   "Path"=expand:"%HOME%\\bin"
//   "Names"=multi:"one","two"
//   "Big"=qword:0000000100000000
//   "Ratio"=hex:00,00,00,00,00,00,04,40
//   @="the key's unnamed value"
//
//   End of Zelmor Registry
//
// UTF-8; quoted texts escape \\ \" \n \r \t and other control characters as \uXXXX.
// The full grammar is in docs/settings.md.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/registry_store.h"

namespace zelmor::adapters::regfile {

using platform::RegType;
using platform::RegValue;

// Version 2 files end with kEndLine, so a file cut short is told from a whole one;
// version 1 files (written before) have no such line and are still read.
inline constexpr std::string_view kSignature = "Zelmor Registry Version 2";
inline constexpr std::string_view kSignatureV1 = "Zelmor Registry Version 1";
inline constexpr std::string_view kEndLine = "End of Zelmor Registry";
inline constexpr std::u16string_view kRootName = u"HKEY_CURRENT_USER";
// Limits of the registry's names.
inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxValueNameLength = 16383;
// Levels of keys below the hive's root, as the platform's registry allows.
inline constexpr std::size_t kMaxKeyDepth = 512;

struct Key {
  std::u16string Name;
  std::vector<std::pair<std::u16string, RegValue>> Values;
  std::vector<Key> SubKeys;

  Key* Child(std::u16string_view name);
  const Key* Child(std::u16string_view name) const;
  // The value of that name, or nullptr.
  const RegValue* Value(std::u16string_view name) const;
};

// "\A\\B\" → {"A", "B"}.
std::vector<std::u16string_view> SplitPath(std::u16string_view path);
// Throws ERegistryError when a component cannot be a key name (too long, control
// characters) or the path is deeper than kMaxKeyDepth.
void CheckKeyNames(const std::vector<std::u16string_view>& parts);

const Key* Find(const Key& root, const std::vector<std::u16string_view>& parts);
Key* Find(Key& root, const std::vector<std::u16string_view>& parts);
// Creates what is missing; returns the key.
Key* FindOrCreate(Key& root, const std::vector<std::u16string_view>& parts);
// Sets the value; false when it already had exactly this name spelling, type and content.
bool SetValue(Key& key, std::u16string_view name, const RegValue& value);
bool RemoveValue(Key& key, std::u16string_view name);
bool RemoveKey(Key& root, const std::vector<std::u16string_view>& parts);

// A file that does not follow the format: the line (1-based) and what is wrong there.
class FormatError : public std::runtime_error {
 public:
  FormatError(int line, const std::string& what) : std::runtime_error(what), Line(line) {}
  int Line;
};

// Parses a whole file, in time linear in its size. An empty file (or one of blanks
// only) is an empty hive; a version 2 file without its end line is damaged.
Key Parse(std::string_view bytes);
std::string Serialize(const Key& root);

// A text escaped as the file escapes quoted texts (\\ \" \n \r \t, \uXXXX), without
// the quotes: one line whatever the text holds.
std::string Escaped(std::u16string_view text);

// A value's data the way `zelmor reg` and the file show it ("dword:00000064", "\"Nor\"").
std::string FormatData(const RegValue& v);

}  // namespace zelmor::adapters::regfile
