// `zelmor reg`: inspect and edit the current user's settings store, the way
// people use their system's registry tool.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "adapters/linux/registry_format.h"
#include "core/errors.h"
#include "core/integer_text.h"
#include "core/text.h"
#include "platform/registry_store.h"
#include "tools/zelmor/commands.h"

namespace zelmor::cli {
namespace {

using platform::RegType;
using platform::RegValue;

constexpr const char* kUsage =
    "usage: zelmor reg query KEY [VALUE]\n"
    "       zelmor reg add KEY [VALUE TYPE DATA]\n"
    "       zelmor reg delete KEY [VALUE]\n"
    "       zelmor reg list KEY\n"
    "       zelmor reg file\n"
    "KEY is a path under HKEY_CURRENT_USER (the prefix HKEY_CURRENT_USER\\ or HKCU\\ may be given);\n"
    "VALUE \"\" is the key's unnamed value. TYPE is REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ (items\n"
    "separated by \\0), REG_DWORD, REG_QWORD (decimal, or hexadecimal after 0x) or REG_BINARY\n"
    "(hexadecimal digits, two per byte). Without VALUE, add creates the key and delete removes\n"
    "the key with everything below it.";

class Failure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// "HKCU\Software\X" → "Software\X". Other hives are not kept here.
std::u16string KeyOf(const std::string& arg) {
  std::u16string k = Utf8ToU16(arg);
  for (std::u16string_view root : {u"HKEY_CURRENT_USER", u"HKCU"}) {
    if (k.size() >= root.size() && SameText(std::u16string_view(k).substr(0, root.size()), root) &&
        (k.size() == root.size() || k[root.size()] == u'\\'))
      return k.substr(root.size());
  }
  if (k.rfind(u"HKEY_", 0) == 0 || k.rfind(u"HKLM", 0) == 0 || k.rfind(u"HKCR", 0) == 0 || k.rfind(u"HKU\\", 0) == 0)
    throw Failure("only HKEY_CURRENT_USER is kept in this store: " + arg);
  return k;
}

std::string FullName(std::u16string_view path) {
  std::string s = "HKEY_CURRENT_USER";
  if (!path.empty()) s += "\\" + U16ToUtf8(path);
  return s;
}

std::string Hex(std::uint64_t v, bool upper = false) {
  std::string s;
  AppendUnsigned<16>(s, v, 1, upper);
  return s;
}

std::string Shown(const RegValue& v) {
  switch (v.Type) {
    case RegType::String:
    case RegType::ExpandString: return adapters::regfile::Escaped(v.Text);
    case RegType::DWord:
    case RegType::QWord: return "0x" + Hex(v.Number);
    case RegType::MultiString: {
      std::string s;
      for (std::size_t i = 0; i < v.Strings.size(); ++i)
        s += (i ? "\\0" : "") + adapters::regfile::Escaped(v.Strings[i]);
      return s;
    }
    case RegType::Binary: {
      std::string s;
      for (unsigned char b : v.Bytes) s += (b < 16 ? "0" : "") + Hex(b, true);
      return s;
    }
  }
  return {};
}

void PrintValue(const std::u16string& name, const RegValue& v) {
  // Names and texts are escaped as the store file escapes them, so each value is one line.
  PrintLine("    " + (name.empty() ? std::string("@") : adapters::regfile::Escaped(name)) + "    " +
            platform::RegTypeName(v.Type) + "    " + Shown(v));
}

// Decimal (a "-" allowed: the two's complement is stored) or hexadecimal after "0x";
// nothing around the digits.
std::uint64_t Number(const std::string& data, RegType type) {
  const std::u16string text = Utf8ToU16(data);
  const bool dword = type == RegType::DWord;
  constexpr IntegerSyntax kSyntax{IntegerBlanks::None, false, IntegerHex::ZeroX};
  bool ok = false;
  std::uint64_t v = 0;
  if (text.starts_with(u'-')) {
    // Negative numbers are decimal only.
    const bool hex = text.size() > 2 && text[1] == u'0' && (text[2] == u'x' || text[2] == u'X');
    std::int32_t n32 = 0;
    std::int64_t n64 = 0;
    ok = !hex && (dword ? ParseInteger(text, n32, kSyntax) : ParseInteger(text, n64, kSyntax));
    v = dword ? static_cast<std::uint32_t>(n32) : static_cast<std::uint64_t>(n64);
  } else if (!text.starts_with(u'+')) {
    std::uint32_t u32 = 0;
    ok = dword ? ParseInteger(text, u32, kSyntax) : ParseInteger(text, v, kSyntax);
    if (dword) v = u32;
  }
  if (!ok) throw Failure("not a " + std::string(platform::RegTypeName(type)) + " number: " + data);
  return v;
}

RegValue ValueOf(const std::string& typeName, const std::string& data) {
  std::optional<RegType> type = platform::RegTypeFromName(typeName);
  if (!type)
    throw Failure("unknown type " + typeName +
                  " (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD, REG_QWORD, REG_BINARY)");
  switch (*type) {
    case RegType::String:
    case RegType::ExpandString: return RegValue::OfString(Utf8ToU16(data), *type);
    case RegType::DWord: return RegValue::OfDWord(static_cast<std::uint32_t>(Number(data, *type)));
    case RegType::QWord: return RegValue::OfQWord(Number(data, *type));
    case RegType::MultiString: {
      std::vector<std::u16string> items;
      std::size_t start = 0;
      for (std::size_t at; (at = data.find("\\0", start)) != std::string::npos; start = at + 2)
        items.push_back(Utf8ToU16(data.substr(start, at - start)));
      if (!data.empty()) items.push_back(Utf8ToU16(data.substr(start)));
      return RegValue::OfMulti(std::move(items));
    }
    case RegType::Binary: {
      std::string digits;
      for (char c : data)
        if (c != ',' && c != ' ') digits += c;
      std::string bytes;
      if (digits.size() % 2) throw Failure("REG_BINARY data needs two hexadecimal digits per byte: " + data);
      for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int hi = HexDigitValue(static_cast<unsigned char>(digits[i]));
        const int lo = HexDigitValue(static_cast<unsigned char>(digits[i + 1]));
        if (hi < 0 || lo < 0) throw Failure("not hexadecimal REG_BINARY data: " + data);
        bytes += static_cast<char>(hi * 16 + lo);
      }
      return RegValue::OfBinary(bytes);
    }
  }
  throw Failure("unknown type " + typeName);
}

platform::RegKeyListing Listing(platform::RegistryStore& store, const std::u16string& key) {
  std::optional<platform::RegKeyListing> l = store.ListKey(key);
  if (!l) throw Failure("the key " + FullName(key) + " does not exist");
  return *l;
}

void PrintKey(const platform::RegKeyListing& l) {
  PrintLine(FullName(l.Path));
  for (const auto& [name, value] : l.Values) PrintValue(name, value);
}

void ListTree(platform::RegistryStore& store, const std::u16string& key) {
  const platform::RegKeyListing l = Listing(store, key);
  PrintKey(l);
  PrintLine("");
  for (const auto& sub : l.SubKeys) ListTree(store, l.Path.empty() ? sub : l.Path + u"\\" + sub);
}

int Usage() {
  PrintError(kUsage);
  return 2;
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) return Usage();
  const std::string& verb = args[0];
  platform::RegistryStore& store = platform::Service<platform::RegistryStore>::Get();
  try {
    if (verb == "file" && args.size() == 1) {
      PrintLine(U16ToUtf8(store.Location()));
    } else if (verb == "query" && (args.size() == 2 || args.size() == 3)) {
      const std::u16string key = KeyOf(args[1]);
      const platform::RegKeyListing l = Listing(store, key);
      if (args.size() == 3) {
        const std::u16string name = Utf8ToU16(args[2]);
        std::optional<RegValue> v = store.ReadValue(key, name);
        if (!v) throw Failure("the value \"" + args[2] + "\" does not exist in " + FullName(l.Path));
        PrintLine(FullName(l.Path));
        for (const auto& [n, value] : l.Values)
          if (SameText(n, name)) PrintValue(n, value);
      } else {
        PrintKey(l);
        if (!l.SubKeys.empty()) PrintLine("");
        for (const auto& sub : l.SubKeys) PrintLine(FullName(l.Path.empty() ? sub : l.Path + u"\\" + sub));
      }
    } else if (verb == "list" && args.size() == 2) {
      ListTree(store, KeyOf(args[1]));
    } else if (verb == "add" && args.size() == 2) {
      store.CreateKey(KeyOf(args[1]));
    } else if (verb == "add" && args.size() == 5) {
      const std::u16string key = KeyOf(args[1]);
      store.WriteValue(key, Utf8ToU16(args[2]), ValueOf(args[3], args[4]));
    } else if (verb == "delete" && args.size() == 2) {
      const std::u16string key = KeyOf(args[1]);
      if (key.find_first_not_of(u'\\') == std::u16string::npos) throw Failure("the root of the hive cannot be deleted");
      if (!store.DeleteKey(key)) throw Failure("the key " + FullName(key) + " does not exist");
    } else if (verb == "delete" && args.size() == 3) {
      const std::u16string key = KeyOf(args[1]);
      Listing(store, key);
      if (!store.DeleteValue(key, Utf8ToU16(args[2])))
        throw Failure("the value \"" + args[2] + "\" does not exist in " + FullName(key));
    } else {
      return Usage();
    }
  } catch (const Failure& e) {
    PrintError(std::string("zelmor reg: ") + e.what());
    return 1;
  } catch (const EZelmorError& e) {
    PrintError(std::string("zelmor reg: ") + e.what());
    return 1;
  }
  return 0;
}

ZELMOR_COMMAND("reg",
               "reg query KEY [VALUE] | reg add KEY [VALUE TYPE DATA] | reg delete KEY [VALUE] | reg list KEY | "
               "reg file   (the user's settings store)",
               Run);

}  // namespace
}  // namespace zelmor::cli
