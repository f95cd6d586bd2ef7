// Integers in text: the one reader and the one writer the whole system uses. The
// reader's syntax has a few settings because the places that read integers
// differ in what they allow around and before the digits (a conversion takes
// blanks on both sides, a settings file only in front, a command line none).
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string_view>
#include <type_traits>

namespace zelmor {

// The value of a hexadecimal digit (either case), or -1.
constexpr int HexDigitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

enum class IntegerBlanks : std::uint8_t { None, Spaces, SpacesAndTabs };
enum class IntegerHex : std::uint8_t { None, ZeroX, DollarOrZeroX };

struct IntegerSyntax {
  IntegerBlanks Blanks = IntegerBlanks::SpacesAndTabs;  // skipped before the number
  bool TrailingBlanks = true;                           // and after it
  IntegerHex Hex = IntegerHex::DollarOrZeroX;           // the hexadecimal prefixes taken
};

// Reads all of `s` as an `Int`: blanks (as `syntax` says), an optional sign, then
// decimal digits, or hexadecimal digits after "$" or "0x" (as `syntax` says), then
// nothing else. A decimal number must fit `Int`; hexadecimal digits fill its width as
// two's complement ("$FFFFFFFF" is -1 for a 32-bit int); an unsigned `Int` takes no
// "-". False, and `Value` untouched, for anything else.
//   ParseInteger(u" -12 ", v) → v == -12; ParseInteger(u"$1F", v) → v == 31
template <class Int>
constexpr bool ParseInteger(std::u16string_view s, Int& Value, IntegerSyntax syntax = {}) {
  static_assert(std::is_integral_v<Int> && !std::is_same_v<Int, bool>);
  using U = std::make_unsigned_t<Int>;
  auto blank = [&](char16_t c) {
    return (syntax.Blanks != IntegerBlanks::None && c == u' ') ||
           (syntax.Blanks == IntegerBlanks::SpacesAndTabs && c == u'\t');
  };
  std::size_t i = 0, n = s.size();
  while (i < n && blank(s[i])) ++i;
  if (syntax.TrailingBlanks)
    while (n > i && blank(s[n - 1])) --n;
  bool negative = false;
  if (i < n && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  if (negative && std::is_unsigned_v<Int>) return false;
  bool hex = false;
  if (i < n && s[i] == u'$' && syntax.Hex == IntegerHex::DollarOrZeroX) {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X') && syntax.Hex != IntegerHex::None) {
    hex = true;
    i += 2;
  }
  if (i == n) return false;
  U mag = 0;
  if (hex) {
    for (; i < n; ++i) {
      const int d = HexDigitValue(s[i]);
      if (d < 0 || mag > (std::numeric_limits<U>::max() >> 4)) return false;
      mag = static_cast<U>(mag << 4 | static_cast<U>(d));
    }
  } else {
    const U limit = static_cast<U>(std::numeric_limits<Int>::max()) + (negative ? 1 : 0);
    for (; i < n; ++i) {
      if (s[i] < u'0' || s[i] > u'9') return false;
      const U d = static_cast<U>(s[i] - u'0');
      if (mag > (limit - d) / 10) return false;
      mag = static_cast<U>(mag * 10 + d);
    }
  }
  Value = static_cast<Int>(negative ? static_cast<U>(0 - mag) : mag);
  return true;
}

// A TCP port as a user types it on a command line: decimal digits and nothing else,
// 1 to 65535 (0 would ask the system for a random port, and more would wrap).
constexpr bool ParsePort(std::string_view s, std::uint16_t& port) {
  if (s.empty() || s.size() > 5) return false;
  std::uint32_t v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + static_cast<std::uint32_t>(c - '0');
  }
  if (v < 1 || v > 65535) return false;
  port = static_cast<std::uint16_t>(v);
  return true;
}

// How many decimal digits `v` has (1 for 0).
constexpr int DecimalDigitCount(std::uint64_t v) {
  int n = 1;
  while (v >= 10) {
    v /= 10;
    ++n;
  }
  return n;
}

// Appends the digits of `v` in base `Base` (2–16), at least `minDigits` of them
// with zeros in front; letters in lower case unless `upper`. Works on any string of
// characters (std::u16string, std::string). The base is a template argument so the
// divisions are by a constant.
//   AppendUnsigned(s, 42, 5) appends "00042"; AppendUnsigned<16>(s, 255, 1, true) "FF"
template <unsigned Base = 10, class String>
void AppendUnsigned(String& out, std::uint64_t v, int minDigits = 1, bool upper = false) {
  static_assert(Base >= 2 && Base <= 16);
  using Char = typename String::value_type;
  const char* digits = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  Char tmp[64];
  int len = 0;
  do {
    tmp[len++] = static_cast<Char>(digits[v % Base]);
    v /= Base;
  } while (v != 0);
  if (minDigits > len) out.append(static_cast<std::size_t>(minDigits - len), static_cast<Char>('0'));
  while (len > 0) out.push_back(tmp[--len]);
}

// Appends two hexadecimal digits for each byte of `bytes`, in order, letters in lower
// case unless `upper`: AppendHexBytes(s, "\x01\xAB") appends "01ab". Digests, keys and
// hardware addresses are written this way.
template <class String>
void AppendHexBytes(String& out, std::string_view bytes, bool upper = false) {
  out.reserve(out.size() + 2 * bytes.size());
  for (unsigned char b : bytes) AppendUnsigned<16>(out, b, 2, upper);
}

// Appends "-" for a negative `v`, then the decimal digits of its magnitude, at least
// `minDigits` of them: AppendInteger(s, -7, 3) appends "-007".
template <class String>
void AppendInteger(String& out, std::int64_t v, int minDigits = 1) {
  using Char = typename String::value_type;
  if (v < 0) out.push_back(static_cast<Char>('-'));
  AppendUnsigned(out, v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v), minDigits);
}

}  // namespace zelmor
