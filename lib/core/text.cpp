#include "core/text.h"

namespace zelmor {

std::u16string Utf8ToU16(std::string_view s, Utf8Invalid invalid) {
  const bool escape = invalid == Utf8Invalid::Escape;
  auto bad = [&](unsigned char b) { return escape ? static_cast<char16_t>(0xDC00 + b) : u'\uFFFD'; };
  std::u16string out;
  out.reserve(s.size());
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp;
    std::size_t len;
    if (c < 0x80) {
      cp = c;
      len = 1;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      len = 2;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      len = 3;
    } else if ((c & 0xF8) == 0xF0) {
      cp = c & 0x07;
      len = 4;
    } else {
      out.push_back(bad(c));
      ++i;
      continue;
    }
    if (i + len > n) {
      out.push_back(bad(c));
      ++i;
      continue;
    }
    bool ok = true;
    for (std::size_t k = 1; k < len; ++k) {
      unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xC0) != 0x80) {
        ok = false;
        break;
      }
      cp = (cp << 6) | (cc & 0x3F);
    }
    // Reject overlong forms, surrogates and values past U+10FFFF.
    static constexpr char32_t kMin[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (!ok || cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
      out.push_back(bad(c));
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

std::string U16ToUtf8(std::u16string_view s, Utf8Invalid invalid) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xDC80 && cp <= 0xDCFF && invalid == Utf8Invalid::Escape) {
      out.push_back(static_cast<char>(cp - 0xDC00));
      continue;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
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
  return out;
}

std::u16string Utf16BytesToU16(std::string_view b, bool bigEndian) {
  std::u16string out(b.size() / 2, u'\0');
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto lo = static_cast<unsigned char>(b[2 * i + (bigEndian ? 1 : 0)]);
    const auto hi = static_cast<unsigned char>(b[2 * i + (bigEndian ? 0 : 1)]);
    out[i] = static_cast<char16_t>(hi << 8 | lo);
  }
  return out;
}

std::string U16ToUtf16Bytes(std::u16string_view s, bool bigEndian) {
  std::string out;
  out.reserve(2 * s.size());
  for (char16_t c : s) {
    const char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
    out += bigEndian ? hi : lo;
    out += bigEndian ? lo : hi;
  }
  return out;
}

char16_t AsciiUpper(char16_t c) { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }
char16_t AsciiLower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

char16_t UpperChar(char16_t c) {
  if (c < 0x80) return AsciiUpper(c);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 32);
  return c;
}

char16_t LowerChar(char16_t c) {
  if (c < 0x80) return AsciiLower(c);
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  return c;
}

std::u16string UpperCase(std::u16string_view s) {
  std::u16string out(s);
  for (auto& c : out) c = UpperChar(c);
  return out;
}

std::u16string LowerCase(std::u16string_view s) {
  std::u16string out(s);
  for (auto& c : out) c = LowerChar(c);
  return out;
}

bool SameText(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (UpperChar(a[i]) != UpperChar(b[i])) return false;
  return true;
}

std::u16string IntToStr(long long v) {
  char16_t buf[24];
  int pos = 24;
  unsigned long long u = v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
  do {
    buf[--pos] = static_cast<char16_t>(u'0' + u % 10);
    u /= 10;
  } while (u);
  if (v < 0) buf[--pos] = u'-';
  return std::u16string(buf + pos, buf + 24);
}

}  // namespace zelmor
