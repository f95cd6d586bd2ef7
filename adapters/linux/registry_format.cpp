#include "adapters/linux/registry_format.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <unordered_map>

#include "core/errors.h"
#include "core/integer_text.h"
#include "core/surrogates.h"
#include "core/text.h"
#include "core/text_kit.h"

namespace zelmor::adapters::regfile {
namespace {

// ---- Names ----

template <class Item, class Name>
auto FindNamed(std::vector<Item>& items, std::u16string_view name, Name nameOf) {
  return std::find_if(items.begin(), items.end(), [&](const Item& i) { return SameText(nameOf(i), name); });
}

void AppendHex(std::string& out, std::uint64_t v, int digits) { AppendUnsigned<16>(out, v, digits); }

// Every code unit that UTF-8 cannot carry on its own (an unpaired surrogate) and every
// control character is escaped, so any text survives. What lies between escapes holds
// no unpaired surrogate, and the codec writes it as it stands.
void AppendEscaped(std::string& out, std::u16string_view s) {
  std::size_t plain = 0;  // where the text not yet written starts
  for (std::size_t i = 0; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (SurrogatePairAt(s, i)) {
      ++i;
      continue;
    }
    const char* escape = nullptr;
    switch (c) {
      case u'\\': escape = "\\\\"; break;
      case u'"': escape = "\\\""; break;
      case u'\n': escape = "\\n"; break;
      case u'\r': escape = "\\r"; break;
      case u'\t': escape = "\\t"; break;
      default:
        if (c >= 0x20 && c != 0x7F && !IsSurrogate(c)) continue;
    }
    out += U16ToUtf8(s.substr(plain, i - plain));
    plain = i + 1;
    if (escape) {
      out += escape;
    } else {
      out += "\\u";
      AppendHex(out, c, 4);
    }
  }
  out += U16ToUtf8(s.substr(plain));
}

void AppendQuoted(std::string& out, std::u16string_view s) {
  out += '"';
  AppendEscaped(out, s);
  out += '"';
}

// ---- Parsing one line ----

class LineParser {
 public:
  LineParser(std::u16string_view text, int line) : FText(text), FLine(line) {}

  [[noreturn]] void Fail(const std::string& what) const { throw FormatError(FLine, what); }

  bool AtEnd() const { return FPos >= FText.size(); }
  char16_t Peek() const { return AtEnd() ? u'\0' : FText[FPos]; }
  void SkipBlanks() {
    while (!AtEnd() && (FText[FPos] == u' ' || FText[FPos] == u'\t')) ++FPos;
  }
  bool Take(std::u16string_view word) {
    if (FText.substr(FPos, word.size()) != word) return false;
    FPos += word.size();
    return true;
  }
  void Expect(char16_t c, const char* what) {
    if (Peek() != c) Fail(what);
    ++FPos;
  }

  std::u16string Quoted() {
    Expect(u'"', "esperava-se um texto entre aspas");
    std::u16string out;
    for (;;) {
      if (AtEnd()) Fail("texto entre aspas sem as aspas de fechamento");
      char16_t c = FText[FPos++];
      if (c == u'"') return out;
      if (c != u'\\') {
        out += c;
        continue;
      }
      if (AtEnd()) Fail("texto entre aspas sem as aspas de fechamento");
      c = FText[FPos++];
      switch (c) {
        case u'\\': out += u'\\'; break;
        case u'"': out += u'"'; break;
        case u'n': out += u'\n'; break;
        case u'r': out += u'\r'; break;
        case u't': out += u'\t'; break;
        case u'u': {
          unsigned v = 0;
          for (int k = 0; k < 4; ++k) {
            int d = AtEnd() ? -1 : HexDigitValue(FText[FPos]);
            if (d < 0) Fail("\\u deve ser seguido de 4 dígitos hexadecimais");
            v = v * 16 + static_cast<unsigned>(d);
            ++FPos;
          }
          out += static_cast<char16_t>(v);
          break;
        }
        default: Fail("sequência de escape desconhecida \\" + U16ToUtf8(std::u16string(1, c)));
      }
    }
  }

  std::uint64_t HexNumber(int maxDigits) {
    std::uint64_t v = 0;
    int digits = 0;
    for (int d; !AtEnd() && (d = HexDigitValue(FText[FPos])) >= 0; ++FPos, ++digits) {
      if (digits == maxDigits) Fail("o número tem mais de " + std::to_string(maxDigits) + " dígitos hexadecimais");
      v = v * 16 + static_cast<unsigned>(d);
    }
    if (digits == 0) Fail("esperava-se um número hexadecimal");
    return v;
  }

  RegValue Data() {
    RegValue v;
    if (Peek() == u'"') {
      v = RegValue::OfString(Quoted());
    } else if (Take(u"expand:")) {
      SkipBlanks();
      v = RegValue::OfString(Quoted(), RegType::ExpandString);
    } else if (Take(u"multi:")) {
      v = RegValue::OfMulti({});
      SkipBlanks();
      if (!AtEnd()) {
        for (;;) {
          SkipBlanks();
          v.Strings.push_back(Quoted());
          SkipBlanks();
          if (Peek() != u',') break;
          ++FPos;
        }
      }
    } else if (Take(u"dword:")) {
      v = RegValue::OfDWord(static_cast<std::uint32_t>(HexNumber(8)));
    } else if (Take(u"qword:")) {
      v = RegValue::OfQWord(HexNumber(16));
    } else if (Take(u"hex:")) {
      v = RegValue::OfBinary({});
      SkipBlanks();
      if (!AtEnd()) {
        for (;;) {
          SkipBlanks();
          int hi = AtEnd() ? -1 : HexDigitValue(FText[FPos]);
          int lo = FPos + 1 < FText.size() ? HexDigitValue(FText[FPos + 1]) : -1;
          if (hi < 0 || lo < 0) Fail("dados binários são pares de dígitos hexadecimais separados por vírgulas");
          FPos += 2;
          v.Bytes += static_cast<char>(hi * 16 + lo);
          SkipBlanks();
          if (Peek() != u',') break;
          ++FPos;
        }
      }
    } else {
      Fail("tipo de dado desconhecido (use \"texto\", expand:, multi:, dword:, qword: ou hex:)");
    }
    SkipBlanks();
    if (!AtEnd()) Fail("texto inesperado depois do dado do valor");
    return v;
  }

 private:
  std::u16string_view FText;
  std::size_t FPos = 0;
  int FLine;
};

// `path` is the key's path in UTF-8; it grows and shrinks by one name per level, so
// the work is linear in the file written.
void SerializeKey(std::string& out, const Key& k, std::string& path, bool isRoot) {
  if (!k.Values.empty() || (k.SubKeys.empty() && !isRoot)) {
    out += '[';
    out += path;
    out += "]\n";
    for (const auto& [name, value] : k.Values) {
      if (name.empty())
        out += '@';
      else
        AppendQuoted(out, name);
      out += '=';
      out += FormatData(value);
      out += '\n';
    }
    out += '\n';
  }
  for (const Key& sub : k.SubKeys) {
    const std::size_t size = path.size();
    path += '\\';
    path += U16ToUtf8(sub.Name);
    SerializeKey(out, sub, path, false);
    path.resize(size);
  }
}

// The tree while a file is read: every key and value found through a hash of its
// name, so a file with many keys side by side (or values in one key) reads in time
// linear in its size. Nodes live in a deque, which never moves them.
struct Draft {
  std::u16string Name;
  std::vector<std::pair<std::u16string, RegValue>> Values;
  std::unordered_map<std::u16string, std::size_t> ValueAt;
  std::vector<Draft*> Children;
  std::unordered_map<std::u16string, Draft*> ChildAt;
};

// Names compare as SameText does: code unit by code unit, case ignored.
std::u16string Folded(std::u16string_view s) {
  std::u16string f(s);
  for (char16_t& c : f) c = UpperChar(c);
  return f;
}

Key Build(Draft& d) {
  Key k{std::move(d.Name), std::move(d.Values), {}};
  k.SubKeys.reserve(d.Children.size());
  for (Draft* child : d.Children) k.SubKeys.push_back(Build(*child));  // at most kMaxKeyDepth deep
  return k;
}

}  // namespace

Key* Key::Child(std::u16string_view name) {
  auto it = FindNamed(SubKeys, name, [](const Key& k) -> std::u16string_view { return k.Name; });
  return it == SubKeys.end() ? nullptr : &*it;
}

const Key* Key::Child(std::u16string_view name) const { return const_cast<Key*>(this)->Child(name); }

const RegValue* Key::Value(std::u16string_view name) const {
  for (const auto& [n, v] : Values)
    if (SameText(n, name)) return &v;
  return nullptr;
}

std::vector<std::u16string_view> SplitPath(std::u16string_view path) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) end = path.size();
    if (end > start) parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

void CheckKeyNames(const std::vector<std::u16string_view>& parts) {
  if (parts.size() > kMaxKeyDepth)
    throw ERegistryError(u"Chave com níveis demais: " + IntToStr(static_cast<long long>(parts.size())) +
                         u" (até 512 níveis)");
  for (std::u16string_view p : parts) {
    bool control = std::any_of(p.begin(), p.end(), [](char16_t c) { return c < 0x20 || c == 0x7F; });
    if (p.size() > kMaxKeyNameLength || control)
      throw ERegistryError(u"Nome de chave inválido: \"" + std::u16string(p) +
                           u"\" (até 255 caracteres, sem caracteres de controle)");
  }
}

const Key* Find(const Key& root, const std::vector<std::u16string_view>& parts) {
  const Key* k = &root;
  for (std::u16string_view p : parts)
    if (!(k = k->Child(p))) return nullptr;
  return k;
}

Key* Find(Key& root, const std::vector<std::u16string_view>& parts) {
  return const_cast<Key*>(Find(static_cast<const Key&>(root), parts));
}

Key* FindOrCreate(Key& root, const std::vector<std::u16string_view>& parts) {
  Key* k = &root;
  for (std::u16string_view p : parts) {
    Key* next = k->Child(p);
    if (!next) {
      k->SubKeys.push_back(Key{std::u16string(p), {}, {}});
      next = &k->SubKeys.back();
    }
    k = next;
  }
  return k;
}

bool SetValue(Key& key, std::u16string_view name, const RegValue& value) {
  for (auto& [n, v] : key.Values) {
    if (!SameText(n, name)) continue;
    if (v == value) return false;
    v = value;
    return true;
  }
  key.Values.emplace_back(std::u16string(name), value);
  return true;
}

bool RemoveValue(Key& key, std::u16string_view name) {
  auto it = FindNamed(key.Values, name, [](const auto& p) -> std::u16string_view { return p.first; });
  if (it == key.Values.end()) return false;
  key.Values.erase(it);
  return true;
}

bool RemoveKey(Key& root, const std::vector<std::u16string_view>& parts) {
  if (parts.empty()) return false;  // the hive's root is not a key that can go
  Key* parent = &root;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i)
    if (!(parent = parent->Child(parts[i]))) return false;
  auto it = FindNamed(parent->SubKeys, parts.back(), [](const Key& k) -> std::u16string_view { return k.Name; });
  if (it == parent->SubKeys.end()) return false;
  parent->SubKeys.erase(it);
  return true;
}

std::string Escaped(std::u16string_view text) {
  std::string out;
  AppendEscaped(out, text);
  return out;
}

std::string FormatData(const RegValue& v) {
  std::string out;
  switch (v.Type) {
    case RegType::String: AppendQuoted(out, v.Text); break;
    case RegType::ExpandString:
      out += "expand:";
      AppendQuoted(out, v.Text);
      break;
    case RegType::MultiString:
      out += "multi:";
      for (std::size_t i = 0; i < v.Strings.size(); ++i) {
        if (i) out += ',';
        AppendQuoted(out, v.Strings[i]);
      }
      break;
    case RegType::DWord:
      out += "dword:";
      AppendHex(out, v.Number & 0xFFFFFFFFu, 8);
      break;
    case RegType::QWord:
      out += "qword:";
      AppendHex(out, v.Number, 16);
      break;
    case RegType::Binary:
      out += "hex:";
      for (std::size_t i = 0; i < v.Bytes.size(); ++i) {
        if (i) out += ',';
        AppendHex(out, static_cast<unsigned char>(v.Bytes[i]), 2);
      }
      break;
  }
  return out;
}

Key Parse(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);  // a mark added by an editor
  std::deque<Draft> drafts(1);
  drafts.front().Name = kRootName;
  Draft* current = nullptr;
  bool signed_ = false;
  bool needsEnd = false;  // version 2: the file must end with kEndLine
  bool ended = false;
  int lineNo = 0;
  std::u16string text;
  for (std::size_t pos = 0; pos < bytes.size();) {
    std::size_t end = bytes.find('\n', pos);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view raw = bytes.substr(pos, end - pos);
    pos = end + 1;
    ++lineNo;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    if (!TryUtf8ToU16(raw, text)) throw FormatError(lineNo, "a linha não é texto UTF-8 válido");
    std::u16string_view line = textkit::Trim(text, textkit::IsSpaceOrTab);
    if (line.empty() || line.front() == u';') continue;
    if (ended) throw FormatError(lineNo, "texto depois da linha \"" + std::string(kEndLine) + "\"");
    if (!signed_) {
      needsEnd = line == Utf8ToU16(kSignature);
      if (!needsEnd && line != Utf8ToU16(kSignatureV1))
        throw FormatError(lineNo, "a primeira linha deve ser \"" + std::string(kSignature) + "\"");
      signed_ = true;
      continue;
    }
    if (needsEnd && line == Utf8ToU16(kEndLine)) {
      ended = true;
      continue;
    }
    LineParser p(line, lineNo);
    if (line.front() == u'[') {
      if (line.back() != u']') p.Fail("a linha de chave deve terminar com ']'");
      std::u16string_view path = line.substr(1, line.size() - 2);
      std::vector<std::u16string_view> parts = SplitPath(path);
      if (parts.empty() || !(SameText(parts[0], kRootName) || SameText(parts[0], u"HKCU")) ||
          path.substr(0, parts[0].size()) != parts[0])
        p.Fail("a chave deve começar com HKEY_CURRENT_USER\\");
      parts.erase(parts.begin());
      try {
        CheckKeyNames(parts);
      } catch (const ERegistryError& e) {
        p.Fail(e.what());
      }
      current = &drafts.front();
      for (std::u16string_view part : parts) {
        std::u16string folded = Folded(part);
        auto it = current->ChildAt.find(folded);
        if (it == current->ChildAt.end()) {
          Draft& child = drafts.emplace_back();
          child.Name = part;
          current->Children.push_back(&child);
          it = current->ChildAt.emplace(std::move(folded), &child).first;
        }
        current = it->second;
      }
      continue;
    }
    if (line.front() != u'"' && line.front() != u'@')
      p.Fail("esperava-se uma linha de chave [HKEY_CURRENT_USER\\...] ou de valor \"nome\"=dado");
    if (!current) p.Fail("um valor aparece antes da primeira linha de chave");
    std::u16string name;
    if (p.Peek() == u'@')
      p.Take(u"@");
    else
      name = p.Quoted();
    if (name.size() > kMaxValueNameLength) p.Fail("o nome do valor passa de 16383 caracteres");
    p.SkipBlanks();
    p.Expect(u'=', "falta '=' depois do nome do valor");
    p.SkipBlanks();
    RegValue data = p.Data();
    // A name given twice: the later line's data wins, as on import; the first spelling stays.
    auto [at, added] = current->ValueAt.emplace(Folded(name), current->Values.size());
    if (added)
      current->Values.emplace_back(std::move(name), std::move(data));
    else
      current->Values[at->second].second = std::move(data);
  }
  if (needsEnd && !ended)
    throw FormatError(lineNo + 1,
                      "o arquivo termina sem a linha \"" + std::string(kEndLine) + "\" (foi cortado ou truncado)");
  return Build(drafts.front());
}

std::string Serialize(const Key& root) {
  std::string out(kSignature);
  out +=
      "\n; The settings of the current user (HKEY_CURRENT_USER).\n"
      "; Change them with `zelmor reg`, or by hand while no Zelmor program is running.\n\n";
  std::string path = U16ToUtf8(kRootName);
  SerializeKey(out, root, path, true);
  out += kEndLine;
  out += '\n';
  return out;
}

}  // namespace zelmor::adapters::regfile
