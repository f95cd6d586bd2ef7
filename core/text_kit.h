// Small building blocks shared by the text routines' implementations across the
// layers (not part of the library's interface): the one trim, the one scanner of
// quoted pattern text, a bounded result buffer, SQL quoting and a substring searcher.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace zelmor::textkit {

inline bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
inline bool IsAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// What counts as blank where text is trimmed. The classic Trim takes every code up
// to 32 (controls and the space); number texts allow spaces and tabs; some fields
// only spaces.
inline constexpr auto IsControlOrSpace = [](char16_t c) { return c <= u' '; };
inline constexpr auto IsSpaceOrTab = [](char16_t c) { return c == u' ' || c == u'\t'; };
inline constexpr auto IsSpace = [](char16_t c) { return c == u' '; };

// `s` without the characters `blank` accepts at either end; by default the classic
// Trim (codes up to 32).  Trim(u" \tab\r\n") == u"ab"
template <class Blank = decltype(IsControlOrSpace)>
constexpr std::u16string_view Trim(std::u16string_view s, Blank blank = IsControlOrSpace) {
  std::size_t b = 0, e = s.size();
  while (b < e && blank(s[b])) ++b;
  while (e > b && blank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// The quoted run that opens at f[i] (a ' or a "), the way patterns quote literal
// text: `Text` is what stands between the quotes, `End` the index past the closing
// quote. An unclosed quote runs to the end of `f`.
//   ScanQuoted(u"d 'de' m", 2) == {u"de", 6}
struct QuotedRun {
  std::u16string_view Text;
  std::size_t End;
};
constexpr QuotedRun ScanQuoted(std::u16string_view f, std::size_t i) {
  const std::size_t close = f.find(f[i], i + 1);
  if (close == std::u16string_view::npos) return {f.substr(i + 1), f.size()};
  return {f.substr(i + 1, close - i - 1), close + 1};
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

struct SameChar {
  char16_t operator()(char16_t c) const { return c; }
};

// Finds a pattern in texts in time linear in the text, whatever the pattern
// (Knuth–Morris–Pratt; short patterns are compared directly, which is as fast and
// still bounded by a few steps per character). `Fold` maps each character before
// comparing, for case-insensitive searches. An empty pattern is never found.
template <class Fold = SameChar>
class Searcher {
 public:
  explicit Searcher(std::u16string_view pattern, Fold fold = {}) : FFold(fold), FPattern(pattern) {
    for (char16_t& c : FPattern) c = FFold(c);
    if (FPattern.size() <= kDirect) return;
    FNext.assign(FPattern.size(), 0);
    for (std::size_t i = 1, k = 0; i < FPattern.size(); ++i) {
      while (k > 0 && FPattern[i] != FPattern[k]) k = FNext[k - 1];
      if (FPattern[i] == FPattern[k]) ++k;
      FNext[i] = static_cast<std::uint32_t>(k);
    }
  }

  std::size_t Size() const { return FPattern.size(); }

  // Start of the first occurrence at or after `from`, or npos.
  std::size_t Find(std::u16string_view text, std::size_t from = 0) const {
    const std::size_t m = FPattern.size();
    if (m == 0 || from > text.size() || text.size() - from < m) return std::u16string_view::npos;
    if (m <= kDirect) {
      for (std::size_t i = from, last = text.size() - m; i <= last; ++i) {
        if constexpr (std::is_same_v<Fold, SameChar>) {
          i = text.find(FPattern[0], i);  // jump to the next candidate
          if (i > last) return std::u16string_view::npos;
        }
        std::size_t k = 0;
        while (k < m && FFold(text[i + k]) == FPattern[k]) ++k;
        if (k == m) return i;
      }
      return std::u16string_view::npos;
    }
    std::size_t k = 0;
    for (std::size_t i = from; i < text.size(); ++i) {
      const char16_t c = FFold(text[i]);
      while (k > 0 && c != FPattern[k]) k = FNext[k - 1];
      if (c == FPattern[k] && ++k == m) return i + 1 - m;
    }
    return std::u16string_view::npos;
  }

  // Start of the last occurrence, or npos.
  std::size_t FindLast(std::u16string_view text) const {
    const std::size_t m = FPattern.size();
    if (m == 0 || text.size() < m) return std::u16string_view::npos;
    if (m <= kDirect) {
      for (std::size_t i = text.size() - m + 1; i-- > 0;) {
        std::size_t k = 0;
        while (k < m && FFold(text[i + k]) == FPattern[k]) ++k;
        if (k == m) return i;
      }
      return std::u16string_view::npos;
    }
    // One forward pass; after a match the search goes on from its longest border,
    // so overlapping occurrences are seen too.
    std::size_t last = std::u16string_view::npos, k = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const char16_t c = FFold(text[i]);
      while (k > 0 && c != FPattern[k]) k = FNext[k - 1];
      if (c == FPattern[k] && ++k == m) {
        last = i + 1 - m;
        k = FNext[m - 1];
      }
    }
    return last;
  }

 private:
  static constexpr std::size_t kDirect = 8;
  Fold FFold;
  std::u16string FPattern;
  std::vector<std::uint32_t> FNext;
};

}  // namespace zelmor::textkit
