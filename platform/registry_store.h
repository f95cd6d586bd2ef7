// The current user's settings hive: keys in a tree, each holding named, typed
// values. This system has no registry of its own, so the hive is kept in one
// text file per user (see docs/settings.md); the library reaches it only here.
//
// Key paths are taken from the root of the hive, components separated by "\";
// leading, trailing and doubled separators are ignored. Key and value names
// compare without regard to case; the spelling of the first writer is kept.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/service.h"

namespace zelmor::platform {

// The registry's type codes.
enum class RegType : std::uint32_t {
  String = 1,        // REG_SZ
  ExpandString = 2,  // REG_EXPAND_SZ
  Binary = 3,        // REG_BINARY
  DWord = 4,         // REG_DWORD
  MultiString = 7,   // REG_MULTI_SZ
  QWord = 11,        // REG_QWORD
};

// "REG_SZ", "REG_DWORD", ...
const char* RegTypeName(RegType t);
// The type for a name such as "REG_DWORD" (case ignored), or nothing.
std::optional<RegType> RegTypeFromName(std::string_view name);

struct RegValue {
  RegType Type = RegType::String;
  std::u16string Text;                  // String, ExpandString
  std::vector<std::u16string> Strings;  // MultiString
  std::uint64_t Number = 0;             // DWord (32 bits), QWord
  std::string Bytes;                    // Binary

  static RegValue OfString(std::u16string_view s, RegType t = RegType::String);
  static RegValue OfDWord(std::uint32_t v);
  static RegValue OfQWord(std::uint64_t v);
  static RegValue OfBinary(std::string_view bytes);
  static RegValue OfMulti(std::vector<std::u16string> items);
  bool operator==(const RegValue&) const = default;
};

struct RegKeyListing {
  std::u16string Path;  // as spelled in the store, from the hive's root, without leading "\"
  std::vector<std::pair<std::u16string, RegValue>> Values;
  std::vector<std::u16string> SubKeys;
};

// Every operation raises ERegistryError when the store cannot be read or written
// (a damaged store file is reported, never replaced) or a key name is unusable.
class RegistryStore {
 public:
  static constexpr const char* kServiceName = "registry store";
  virtual ~RegistryStore() = default;

  virtual bool KeyExists(std::u16string_view key) = 0;
  // Creates the key and any missing keys above it; nothing when it exists.
  virtual void CreateKey(std::u16string_view key) = 0;
  // The value, or nothing when the key or the value does not exist.
  virtual std::optional<RegValue> ReadValue(std::u16string_view key, std::u16string_view name) = 0;
  // Creates the key when missing; replaces any value of the same name, whatever its type.
  virtual void WriteValue(std::u16string_view key, std::u16string_view name, const RegValue& value) = 0;
  // Writes several values of one key as one change: the store is rewritten once, and
  // a failure leaves every one of them as it was.
  virtual void WriteValues(std::u16string_view key, const std::vector<std::pair<std::u16string, RegValue>>& values) = 0;
  // False when there was no such value.
  virtual bool DeleteValue(std::u16string_view key, std::u16string_view name) = 0;
  // Deletes the key with everything below it. False when there was no such key.
  virtual bool DeleteKey(std::u16string_view key) = 0;
  // The key's values (in stored order) and the names of its subkeys; nothing when missing.
  virtual std::optional<RegKeyListing> ListKey(std::u16string_view key) = 0;
  // Where the store lives (a file path), for messages.
  virtual std::u16string Location() = 0;
};

}  // namespace zelmor::platform
