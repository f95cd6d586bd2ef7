#include "core/text.h"

#include <unicode/utf16.h>

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/byte_blocks.h"
#include "core/icu_case.h"
#include "core/integer_text.h"
#include "core/surrogates.h"

namespace zelmor {

namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// The length of the UTF-8 sequence a byte starts: 1 to 4, or 0 for a byte that starts
// none (a continuation byte, 0xF8 and up).
constexpr std::array<std::uint8_t, 256> kSequenceLength = [] {
  std::array<std::uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c)
    t[static_cast<std::size_t>(c)] = c < 0x80 ? 1 : c < 0xC0 ? 0 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : c < 0xF8 ? 4 : 0;
  return t;
}();

// The code point of the UTF-8 sequence at p (with `left` bytes from there) and its
// length, or kInvalid (length 1) for a byte that does not start a well-formed
// sequence: a stray continuation byte, a cut sequence, an overlong form, a surrogate
// or a value past U+10FFFF.
char32_t DecodeAt(const unsigned char* p, std::size_t left, std::size_t& len) {
  const unsigned char c = p[0];
  len = 1;
  const std::size_t n = kSequenceLength[c];
  if (n == 1) return c;
  if (n == 0 || n > left) return kInvalid;
  if (n == 2) {  // the accented letters of Latin scripts, the commonest case past ASCII
    if ((p[1] & 0xC0) != 0x80 || c < 0xC2) return kInvalid;
    len = 2;
    return static_cast<char32_t>((c & 0x1F) << 6 | (p[1] & 0x3F));
  }
  char32_t cp = c & (0x7F >> n);
  for (std::size_t k = 1; k < n; ++k) {
    if ((p[k] & 0xC0) != 0x80) return kInvalid;
    cp = (cp << 6) | (p[k] & 0x3F);
  }
  static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kInvalid;
  len = n;
  return cp;
}

// What the decoder does at a byte that starts no well-formed sequence: U+FFFD, its
// escape, or stop.
enum class OnInvalid { Replace, Escape, Stop };

struct Decoded {
  std::size_t units;  // written at `out`
  bool whole;         // false when Stop stopped it
};

// UTF-8 into `out`, which has room for s.size() code units (a sequence never takes
// more units than bytes). A run of plain ASCII widens a block at a time; the block that
// holds the end of the run widens whole too, and what follows the run is written over.
template <OnInvalid kOnInvalid>
Decoded DecodeInto(std::string_view s, char16_t* out) {
  const auto* p = reinterpret_cast<const unsigned char*>(s.data());
  const std::size_t n = s.size();
  std::size_t i = 0, o = 0;  // o <= i throughout
  while (i < n) {
    if (byte_blocks::kBlocks && p[i] < 0x80) {
      while (i + byte_blocks::kBlock <= n) {
        const byte_blocks::Words w = byte_blocks::Load(p + i);
        const std::uint64_t lo = w.lo & byte_blocks::kHighBits, hi = w.hi & byte_blocks::kHighBits;
        byte_blocks::Widen(p + i, out + o);
        if ((lo | hi) == 0) {
          i += byte_blocks::kBlock;
          o += byte_blocks::kBlock;
          continue;
        }
        const std::size_t k = byte_blocks::FirstMarked(lo, hi);
        i += k;
        o += k;
        break;
      }
      if (i >= n) break;
    }
    std::size_t len;
    char32_t cp = DecodeAt(p + i, n - i, len);
    if (cp == kInvalid) {
      if constexpr (kOnInvalid == OnInvalid::Stop) return {o, false};
      out[o++] = kOnInvalid == OnInvalid::Escape ? static_cast<char16_t>(0xDC00 + p[i]) : u'\uFFFD';
    } else if (cp >= 0x10000) {
      cp -= 0x10000;
      out[o++] = static_cast<char16_t>(0xD800 + (cp >> 10));
      out[o++] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    } else {
      out[o++] = static_cast<char16_t>(cp);
    }
    i += len;
  }
  return {o, true};
}

}  // namespace

std::u16string Utf8ToU16(std::string_view s, Utf8Invalid invalid) {
  std::u16string out(s.size(), u'\0');
  const Decoded d = invalid == Utf8Invalid::Escape ? DecodeInto<OnInvalid::Escape>(s, out.data())
                                                   : DecodeInto<OnInvalid::Replace>(s, out.data());
  out.resize(d.units);
  return out;
}

bool TryUtf8ToU16(std::string_view s, std::u16string& out) {
  out.resize(s.size());
  const Decoded d = DecodeInto<OnInvalid::Stop>(s, out.data());
  out.resize(d.units);
  return d.whole;
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
  // The ASCII beginning (most names and paths whole) a unit to a byte.
  std::size_t ascii = 0;
  while (ascii < s.size() && s[ascii] < 0x80) ++ascii;
  std::string out(ascii, '\0');
  for (std::size_t i = 0; i < ascii; ++i) out[i] = static_cast<char>(s[i]);
  if (ascii == s.size()) return out;
  out.reserve(s.size() + 8);
  for (std::size_t i = ascii; i < s.size(); ++i) {
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
