// Conversions between the library's UTF-16 text and the UTF-8 of the outside
// world (terminals, JSON, file names), plus small helpers every unit needs.
#pragma once

#include <string>
#include <string_view>

namespace zelmor {

// UTF-8 → UTF-16. Invalid bytes become U+FFFD; never throws.
std::u16string Utf8ToU16(std::string_view s);
// UTF-16 → UTF-8. Unpaired surrogates become U+FFFD; never throws.
std::string U16ToUtf8(std::u16string_view s);

// ASCII-only case folding (what the library means by "not case-sensitive" for codes and keys).
char16_t AsciiUpper(char16_t c);
char16_t AsciiLower(char16_t c);

// Latin-1-aware upper/lower case, the way the platform's ANSI upper-casing treats
// Portuguese letters: 'ç' ↔ 'Ç', 'á' ↔ 'Á' ... ('ÿ' and 'ß' stay as they are).
char16_t UpperChar(char16_t c);
char16_t LowerChar(char16_t c);
std::u16string UpperCase(std::u16string_view s);
std::u16string LowerCase(std::u16string_view s);

// Equality ignoring case (Latin-1 aware).
bool SameText(std::u16string_view a, std::u16string_view b);

// Decimal text of an integer.
std::u16string IntToStr(long long v);

}  // namespace zelmor
