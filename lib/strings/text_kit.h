// Small building blocks shared by the text routines' implementations (not part
// of the library's interface).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelmor::textkit {

inline bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
inline bool IsAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// The classic Trim: characters with codes up to 32 removed from both ends.
inline std::u16string_view Trim(std::u16string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] <= u' ') ++b;
  while (e > b && s[e - 1] <= u' ') --e;
  return s.substr(b, e - b);
}

// A result whose length is known not to exceed `bound`. Short results are
// gathered on the stack and copied out once at their exact size (no heap at all
// when they fit the string's own small buffer); long ones go straight into one
// string reserved at the bound, so nothing is ever reallocated.
class BoundedText {
 public:
  explicit BoundedText(std::size_t bound) : FHeap(bound > kInline) {
    if (FHeap) FText.reserve(bound);
  }
  BoundedText(const BoundedText&) = delete;
  BoundedText& operator=(const BoundedText&) = delete;

  void Add(char16_t c) {
    if (FHeap)
      FText.push_back(c);
    else
      FInline[FSize++] = c;
  }
  void Add(std::u16string_view s) {
    if (FHeap) {
      FText.append(s);
    } else {
      s.copy(FInline + FSize, s.size());
      FSize += s.size();
    }
  }
  std::size_t Size() const { return FHeap ? FText.size() : FSize; }
  std::u16string Take() { return FHeap ? std::move(FText) : std::u16string(FInline, FSize); }

 private:
  static constexpr std::size_t kInline = 256;
  bool FHeap;
  std::size_t FSize = 0;
  std::u16string FText;
  char16_t FInline[kInline];
};

// Appends `s` in SQL quotes, inner single quotes doubled.
inline void AppendQuoted(std::u16string& out, std::u16string_view s) {
  out.push_back(u'\'');
  for (char16_t c : s) {
    out.push_back(c);
    if (c == u'\'') out.push_back(u'\'');
  }
  out.push_back(u'\'');
}

// Length of AppendQuoted's output.
inline std::size_t QuotedLength(std::u16string_view s) {
  std::size_t n = s.size() + 2;
  for (char16_t c : s) n += c == u'\'';
  return n;
}

}  // namespace zelmor::textkit
