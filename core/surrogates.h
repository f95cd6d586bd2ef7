// UTF-16 surrogates, the two halves of a character past U+FFFF, for code that walks the
// library's text by code unit. A high half followed by a low one is a pair; either half
// anywhere else is unpaired and stands for no character. Conversions are core/text.h's.
#pragma once

#include <cstddef>
#include <string_view>

namespace zelmor {

constexpr bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
constexpr bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
constexpr bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// True when a pair (one character, two code units) starts at s[i].
//   SurrogatePairAt(u"a\U0001F600", 1) == true   SurrogatePairAt(u"\xDC00\xD800", 0) == false
constexpr bool SurrogatePairAt(std::u16string_view s, std::size_t i) {
  return i + 1 < s.size() && IsHighSurrogate(s[i]) && IsLowSurrogate(s[i + 1]);
}

}  // namespace zelmor
