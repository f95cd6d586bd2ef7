#include "config/integer_text.h"

#include <cstdint>

namespace zelmor {
namespace {

int Digit(char16_t c, int base) {
  int d = -1;
  if (c >= u'0' && c <= u'9')
    d = c - u'0';
  else if (c >= u'a' && c <= u'f')
    d = c - u'a' + 10;
  else if (c >= u'A' && c <= u'F')
    d = c - u'A' + 10;
  return d < base ? d : -1;
}

}  // namespace

bool ParseIntegerText(std::u16string_view s, int& Value) {
  std::size_t i = 0;
  while (i < s.size() && (s[i] == u' ' || s[i] == u'\t')) ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  int base = 10;
  if (i < s.size() && s[i] == u'$') {
    base = 16;
    ++i;
  } else if (i + 1 < s.size() && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i >= s.size()) return false;
  std::uint64_t v = 0;
  for (; i < s.size(); ++i) {
    const int d = Digit(s[i], base);
    if (d < 0) return false;
    v = v * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    if (v > (base == 16 ? 0xFFFFFFFFull : 0x80000000ull)) return false;
  }
  std::int64_t value =
      base == 16 ? static_cast<std::int32_t>(static_cast<std::uint32_t>(v)) : static_cast<std::int64_t>(v);
  if (negative) value = -value;
  if (base == 10 && (value > INT32_MAX || value < INT32_MIN)) return false;
  Value = static_cast<int>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
  return true;
}

}  // namespace zelmor
