// Conversions between the library's UTF-16 text and the bytes of the outside
// world (UTF-8 of terminals, JSON and file names; UTF-16 files), plus small
// helpers every unit needs.
#pragma once

#include <string>
#include <string_view>

namespace zelmor {

// What the UTF-8 codec does with bytes that are not UTF-8.
//   Replace: each such byte reads as U+FFFD, and an unpaired surrogate writes as U+FFFD
//            (text for people: terminals, JSON, messages).
//   Escape:  each such byte b reads as the unpaired surrogate U+DC00 + b (U+DC80–U+DCFF),
//            and such a surrogate writes back as the byte b; other unpaired surrogates
//            write as U+FFFD. Any byte string round-trips, so a Linux file name that is
//            not UTF-8 survives the trip through the library's text (paths, file contents).
//   Utf8ToU16("a\xff", Utf8Invalid::Escape) == u"a\xDCFF"
enum class Utf8Invalid { Replace, Escape };

// The one codec between UTF-8, UTF-16 and the library's text.
// UTF-8 → UTF-16. Each byte that does not start a well-formed sequence becomes
// U+FFFD (or its escape); never throws.
std::u16string Utf8ToU16(std::string_view s, Utf8Invalid invalid = Utf8Invalid::Replace);
// UTF-8 → UTF-16, strictly: false at the first byte that does not start a
// well-formed sequence (for files where such bytes mean damage, not text to guess at).
bool TryUtf8ToU16(std::string_view s, std::u16string& out);
// UTF-16 → UTF-8. Unpaired surrogates become U+FFFD (escaped bytes go back to
// bytes with Escape); never throws.
std::string U16ToUtf8(std::u16string_view s, Utf8Invalid invalid = Utf8Invalid::Replace);
// Appends one code point (up to U+10FFFF; a lone surrogate as its own 3 bytes) as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);
// UTF-16 as bytes, little- or big-endian, no byte-order mark: code units are taken
// as they stand (a trailing odd byte is dropped).
std::u16string Utf16BytesToU16(std::string_view bytes, bool bigEndian);
void AppendUtf16Bytes(std::string& out, std::u16string_view s, bool bigEndian);

// ASCII-only case folding (what the library means by "not case-sensitive" for codes and keys).
char16_t AsciiUpper(char16_t c);
char16_t AsciiLower(char16_t c);

// Unicode case mapping (ICU's data, any script): 'ç' ↔ 'Ç', 'ж' ↔ 'Ж', 'ÿ' ↔ 'Ÿ'.
// One code unit to one: the simple mapping, which keeps lengths and positions (a
// surrogate stays as it is); for comparisons and for one letter of a word.
char16_t UpperChar(char16_t c);
char16_t LowerChar(char16_t c);
// Whole texts: the full mapping, language-neutral, surrogate pairs included. It may
// change the length: UpperCase(u"straße") == u"STRASSE".
std::u16string UpperCase(std::u16string_view s);
std::u16string LowerCase(std::u16string_view s);
// The word with its first character (a whole code point) in title case and the
// rest as it is: UpperFirst(u"škoda") == u"Škoda".
std::u16string UpperFirst(std::u16string_view s);

// Equality ignoring case (code unit by code unit, with UpperChar).
bool SameText(std::u16string_view a, std::u16string_view b);

// Decimal text of an integer.
std::u16string IntToStr(long long v);

}  // namespace zelmor
