#include "core/text.h"

#include <unicode/utf16.h>

#include <algorithm>

#include "core/icu_case.h"
#include "core/integer_text.h"
#include "core/surrogates.h"

namespace zelmor {

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// The code point of the UTF-8 sequence at s[i] and its length, or kInvalid (length
// 1) for a byte that does not start a well-formed sequence: a stray continuation
// byte, a cut sequence, an overlong form, a surrogate or a value past U+10FFFF.
char32_t DecodeAt(std::string_view s, std::size_t i, std::size_t& len) {
  const auto c = static_cast<unsigned char>(s[i]);
  len = 1;
  if (c < 0x80) return c;
  char32_t cp;
  std::size_t n;
  if ((c & 0xE0) == 0xC0) {
    cp = c & 0x1F;
    n = 2;
  } else if ((c & 0xF0) == 0xE0) {
    cp = c & 0x0F;
    n = 3;
  } else if ((c & 0xF8) == 0xF0) {
    cp = c & 0x07;
    n = 4;
  } else {
    return kInvalid;
  }
  if (i + n > s.size()) return kInvalid;
  for (std::size_t k = 1; k < n; ++k) {
    const auto cc = static_cast<unsigned char>(s[i + k]);
    if ((cc & 0xC0) != 0x80) return kInvalid;
    cp = (cp << 6) | (cc & 0x3F);
  }
  static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kInvalid;
  len = n;
  return cp;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(cp));
  }
}

}  // namespace

std::u16string Utf8ToU16(std::string_view s, Utf8Invalid invalid) {
  const bool escape = invalid == Utf8Invalid::Escape;
  std::u16string out;
  out.reserve(s.size());
  for (std::size_t i = 0, len; i < s.size(); i += len) {
    const char32_t cp = DecodeAt(s, i, len);
    if (cp != kInvalid)
      AppendUtf16(out, cp);
    else
      out.push_back(escape ? static_cast<char16_t>(0xDC00 + static_cast<unsigned char>(s[i])) : u'\uFFFD');
  }
  return out;
}

bool TryUtf8ToU16(std::string_view s, std::u16string& out) {
  out.clear();
  out.reserve(s.size());
  for (std::size_t i = 0, len; i < s.size(); i += len) {
    const char32_t cp = DecodeAt(s, i, len);
    if (cp == kInvalid) return false;
    AppendUtf16(out, cp);
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string U16ToUtf8(std::u16string_view s, Utf8Invalid invalid) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (SurrogatePairAt(s, i)) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xDC80 && cp <= 0xDCFF && invalid == Utf8Invalid::Escape) {
      out.push_back(static_cast<char>(cp - 0xDC00));
      continue;
    } else if (IsSurrogate(s[i])) {
      cp = 0xFFFD;
    }
    AppendUtf8(out, cp);
  }
  return out;
}

std::u16string Utf16BytesToU16(std::string_view bytes, bool bigEndian) {
  std::u16string out(bytes.size() / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto lo = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 1 : 0)]);
    const auto hi = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 0 : 1)]);
    out[i] = static_cast<char16_t>(hi << 8 | lo);
  }
  return out;
}

void AppendUtf16Bytes(std::string& out, std::u16string_view s, bool bigEndian) {
  out.reserve(out.size() + 2 * s.size());
  for (char16_t c : s) {
    const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    out.push_back(bigEndian ? hi : lo);
    out.push_back(bigEndian ? lo : hi);
  }
}

char16_t AsciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }
char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

char16_t UpperChar(char16_t c) {
  if (c < 0x80) return AsciiUpper(c);
  if (U16_IS_SURROGATE(c)) return c;
  const UChar32 u = icu_case::Get().ToUpper(c);
  return u <= 0xFFFF ? static_cast<char16_t>(u) : c;
}

char16_t LowerChar(char16_t c) {
  if (c < 0x80) return AsciiLower(c);
  if (U16_IS_SURROGATE(c)) return c;
  const UChar32 l = icu_case::Get().ToLower(c);
  return l <= 0xFFFF ? static_cast<char16_t>(l) : c;
}

namespace {

using CaseMap = int32_t (*)(UChar*, int32_t, const UChar*, int32_t, const char*, UErrorCode*);

// ICU's full mapping of a whole text, root locale (no Turkish dotless i surprises).
std::u16string MapCase(std::u16string_view s, CaseMap map) {
  std::u16string out(s.size() + 8, u'\0');
  for (int attempt = 0; attempt < 2; ++attempt) {
    UErrorCode err = U_ZERO_ERROR;
    const int32_t n = map(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()),
                          reinterpret_cast<const UChar*>(s.data()), static_cast<int32_t>(s.size()), "", &err);
    if (U_SUCCESS(err)) {
      out.resize(static_cast<std::size_t>(n));
      return out;
    }
    if (err != U_BUFFER_OVERFLOW_ERROR) break;
    out.assign(static_cast<std::size_t>(n), u'\0');
  }
  return std::u16string(s);  // ICU refused (a text over 2^31 units): unchanged
}

bool IsAscii(std::u16string_view s) {
  return std::all_of(s.begin(), s.end(), [](char16_t c) { return c < 0x80; });
}

}  // namespace

std::u16string UpperCase(std::u16string_view s) {
  if (!IsAscii(s)) return MapCase(s, icu_case::Get().StrToUpper);
  std::u16string out(s);
  for (auto& c : out) c = AsciiUpper(c);
  return out;
}

std::u16string LowerCase(std::u16string_view s) {
  if (!IsAscii(s)) return MapCase(s, icu_case::Get().StrToLower);
  std::u16string out(s);
  for (auto& c : out) c = AsciiLower(c);
  return out;
}

std::u16string UpperFirst(std::u16string_view s) {
  if (s.empty()) return {};
  std::size_t i = 0;
  UChar32 cp;
  U16_NEXT(s.data(), i, s.size(), cp);
  std::u16string out;
  // Title case, not upper: the digraph 'ǆ' starts a word as 'ǅ'. ASCII's title case is
  // its upper case, which needs no ICU.
  const UChar32 t = cp < 0x80 ? AsciiUpper(static_cast<char16_t>(cp)) : icu_case::Get().ToTitle(cp);
  UChar units[2];
  int32_t n = 0;
  U16_APPEND_UNSAFE(units, n, t);  // a code point takes at most two units
  out.append(reinterpret_cast<const char16_t*>(units), static_cast<std::size_t>(n));
  out.append(s.substr(i));
  return out;
}

bool SameText(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (UpperChar(a[i]) != UpperChar(b[i])) return false;
  return true;
}

std::u16string IntToStr(long long v) {
  std::u16string out;
  AppendInteger(out, v);
  return out;
}

}  // namespace zelmor
