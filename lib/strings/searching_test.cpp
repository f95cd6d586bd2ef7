#include <gtest/gtest.h>

#include <chrono>

#include "core/text.h"
#include "mLib.h"

namespace zelmor {
namespace {

TEST(ReplaceTest, Cases) {
  const struct {
    std::u16string texto, este, porEste;
    bool ignoreCase;
    std::u16string out;
  } cases[] = {
      {u"a.b.c", u".", u"", false, u"abc"},
      {u"aaa", u"aa", u"b", false, u"ba"},  // left to right, non-overlapping
      {u"abc", u"", u"x", false, u"abc"},   // an empty pattern changes nothing
      {u"abc", u"abcd", u"x", false, u"abc"},
      {u"abc", u"b", u"<b>", false, u"a<b>c"},
      {u"Ação e AÇÃO e ação", u"ação", u"x", true, u"x e x e x"},  // full folding
      {u"Ação e AÇÃO", u"ação", u"x", false, u"Ação e AÇÃO"},
      {u"ПРИВЕТ привет", u"привет", u"oi", true, u"oi oi"},
      {u"xAbAbx", u"ab", u"-", true, u"x--x"},
      {u"", u"a", u"b", true, u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TmStr::Replace(c.texto, c.este, c.porEste, c.ignoreCase), c.out)
        << std::string(c.out.begin(), c.out.end());
}

// Property: Replace agrees with a plain reference on generated texts over a small
// alphabet (many overlaps and near-misses). Fixed seed, bounded loop.
TEST(ReplaceTest, AgreesWithAReference) {
  auto reference = [](std::u16string t, std::u16string_view e, std::u16string_view p, bool fold) {
    auto f = [fold](char16_t c) { return fold ? UpperChar(c) : c; };
    std::u16string out;
    for (std::size_t i = 0; i < t.size();) {
      bool match = i + e.size() <= t.size();
      for (std::size_t k = 0; match && k < e.size(); ++k) match = f(t[i + k]) == f(e[k]);
      if (match) {
        out.append(p);
        i += e.size();
      } else {
        out.push_back(t[i++]);
      }
    }
    return out;
  };
  const std::u16string alphabet = u"aAbãÃ";
  std::uint32_t seed = 7;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  auto text = [&](int maxLen) {
    std::u16string s;
    for (int i = 0, n = static_cast<int>(next() % maxLen); i < n; ++i) s.push_back(alphabet[next() % alphabet.size()]);
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    const std::u16string t = text(30), e = text(4), p = text(5);
    const bool fold = next() & 1;
    if (e.empty()) continue;
    ASSERT_EQ(TmStr::Replace(t, e, p, fold), reference(t, e, p, fold));
  }
}

// Property: long patterns (searched by the linear matcher) give the same answers as
// the standard library's searches; the small alphabet makes many partial matches.
TEST(SearchTest, LongPatternsAgreeWithStandardSearches) {
  std::uint32_t seed = 11;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  auto text = [&](std::size_t minLen, std::size_t maxLen, std::u16string_view alphabet) {
    std::u16string s;
    const std::size_t n = minLen + next() % (maxLen - minLen + 1);
    for (std::size_t i = 0; i < n; ++i) s.push_back(alphabet[next() % alphabet.size()]);
    return s;
  };
  for (int round = 0; round < 2000; ++round) {
    std::u16string t = text(0, 120, u"ab");
    const std::u16string p = text(9, 14, u"ab");
    if (next() % 2) t.insert(next() % (t.size() + 1), p);  // make sure of a match half the time
    const std::size_t last = std::u16string_view(t).rfind(p);
    ASSERT_EQ(TmStr::PosReverse(p, t),
              last == std::u16string::npos ? 0 : static_cast<int>(t.size() - last - p.size() + 1));
    ASSERT_EQ(TmStr::ContemTodos(t, {p}), t.find(p) != std::u16string::npos);
    std::u16string expected;
    for (std::size_t i = 0, f; i <= t.size(); i = f + p.size()) {
      f = t.find(p, i);
      expected += t.substr(i, f == std::u16string::npos ? std::u16string::npos : f - i);
      if (f == std::u16string::npos) break;
      expected += u"<>";
    }
    ASSERT_EQ(TmStr::Replace(t, p, u"<>", false), expected);
    const std::u16string marked = u"[" + p + u"]" + t + u"{" + p + u"}";
    ASSERT_EQ(TmStr::CopyStr(marked, u"[" + p + u"]", u"{" + p + u"}"), t);
  }
  // Case-insensitive long patterns.
  EXPECT_EQ(TmStr::Replace(u"xAÇÃOaçãoAÇÃO-aÇÃoAçÃOação", u"açãoaçãoação", u"#", true), u"x#-#");
}

// The searches stay linear where a plain scan would compare a long pattern at every
// position (about 10^10 steps here).
TEST(SearchTest, NoQuadraticSearches) {
  const std::u16string text(200000, u'a');
  const std::u16string pattern = std::u16string(100000, u'a') + u"b";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(TmStr::Replace(text, pattern, u"x", false), text);
  EXPECT_EQ(TmStr::Replace(text, pattern, u"x", true), text);
  EXPECT_EQ(TmStr::PosReverse(pattern, text), 0);
  EXPECT_FALSE(TmStr::ContemTodos(text, {pattern}));
  EXPECT_EQ(TmStr::CopyStr(text, pattern, u"a"), u"");
  EXPECT_EQ(TmStr::PosReverse(std::u16string(100000, u'a'), text), 1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
}

TEST(CompareTest, PrefixesSuffixesAndEquality) {
  EXPECT_TRUE(TmStr::StartsWith(u"abc", u"AB", true));
  EXPECT_FALSE(TmStr::StartsWith(u"abc", u"AB", false));
  EXPECT_FALSE(TmStr::StartsWith(u"ação", u"AÇ", true));  // ASCII folding only
  EXPECT_TRUE(TmStr::StartsWith(u"ação", u"", false));
  EXPECT_TRUE(TmStr::StartsWith(u"", u"", true));
  EXPECT_FALSE(TmStr::StartsWith(u"ab", u"abc", true));
  EXPECT_TRUE(TmStr::EndsWith(u"nota.xml", u".xml"));
  EXPECT_FALSE(TmStr::EndsWith(u"nota.XML", u".xml"));
  EXPECT_TRUE(TmStr::EndsWith(u"x", u""));
  EXPECT_FALSE(TmStr::EndsWith(u"ml", u".xml"));
  EXPECT_TRUE(TmStr::EqualsIgnoreCase(u"abc", u"ABC"));
  EXPECT_FALSE(TmStr::EqualsIgnoreCase(u"ação", u"AÇÃO"));
  EXPECT_FALSE(TmStr::EqualsIgnoreCase(u"abc", u"abcd"));
}

TEST(MembershipTest, ContemIsEqualityUnderFullFolding) {
  EXPECT_TRUE(TmStr::Contem(u"sp", {u"SP", u"RJ"}));
  EXPECT_TRUE(TmStr::Contem(u"São Paulo", {u"SÃO PAULO"}));
  EXPECT_FALSE(TmStr::Contem(u"Paulo", {u"São Paulo"}));
  EXPECT_FALSE(TmStr::Contem(u"x", {}));
  EXPECT_EQ(TmStr::ContemPos(u"rj", {u"SP", u"RJ", u"rj"}), 1);
  EXPECT_EQ(TmStr::ContemPos(u"mg", {u"SP", u"RJ"}), -1);
  EXPECT_EQ(TmStr::ContemPos(u"ÿ", TzelArrayString{u"a", u"Ÿ"}), 1);
  EXPECT_TRUE(TmStr::Contem(u"", TzelArrayString{u"a", u""}));
}

TEST(MembershipTest, ContemTodosIsContainment) {
  EXPECT_TRUE(TmStr::ContemTodos(u"Nota Fiscal Eletrônica", {u"nota", u"ELETRÔNICA"}));
  EXPECT_FALSE(TmStr::ContemTodos(u"Nota Fiscal Eletrônica", {u"nota", u"ELETRONICA"}));
  EXPECT_TRUE(TmStr::ContemTodos(u"abc", {}));
  EXPECT_TRUE(TmStr::ContemTodos(u"abc", {u""}));
  EXPECT_TRUE(TmStr::ContemTodos(u"aab", TzelArrayString{u"AB", u"aa"}));
  EXPECT_FALSE(TmStr::ContemTodos(u"", {u"a"}));
}

TEST(MembershipTest, ContemInt) {
  EXPECT_TRUE(TmStr::ContemInt(3, {1, 2, 3}));
  EXPECT_FALSE(TmStr::ContemInt(4, {1, 2, 3}));
  EXPECT_FALSE(TmStr::ContemInt(0, TzelArrayInteger{}));
  EXPECT_TRUE(TmStr::ContemInt(-7, TzelArrayInteger{-7}));
}

TEST(LocateTest, Positions) {
  EXPECT_EQ(TmStr::PosReverse(u"ab", u"xxabyy"), 3);
  EXPECT_EQ(TmStr::PosReverse(u"ab", u"abxxab"), 1);  // the last occurrence
  EXPECT_EQ(TmStr::PosReverse(u"zz", u"xxabyy"), 0);
  EXPECT_EQ(TmStr::PosReverse(u"", u"abc"), 0);
  EXPECT_EQ(TmStr::PosReverse(u"abc", u"abc"), 1);
  EXPECT_EQ(TmStr::PosPrimeiroNumero(u"abc1d2"), 4);
  EXPECT_EQ(TmStr::PosPrimeiroNumero(u"abc"), 0);
  EXPECT_EQ(TmStr::PosPrimeiroNumero(u"9"), 1);

  const struct {
    std::u16string texto;
    int qtde;
    int pos;
  } back[] = {
      {u"a\\b\\c", 2, 2}, {u"a\\b\\c", 1, 4}, {u"a\\b\\c", 0, 4}, {u"a\\b\\c", -3, 4},
      {u"a\\b\\c", 3, 0}, {u"", 1, 0},        {u"\\\\\\", 3, 1},
  };
  for (const auto& c : back) EXPECT_EQ(TmStr::GetPosCaracterBackJumpingNCaracter(c.texto, u'\\', c.qtde), c.pos);
}

TEST(JoinTest, Coalesce) {
  EXPECT_EQ(TmStr::Coalesce(u"", u"x"), u"x");
  EXPECT_EQ(TmStr::Coalesce(u" ", u"x"), u" ");
  EXPECT_EQ(TmStr::Coalesce(u"a", u"x"), u"a");
}

TEST(JoinTest, ConcatenaPutsTheSeparatorOnlyBetweenParts) {
  std::u16string s;
  TmStr::Concatena(s, u"a", u", ");
  EXPECT_EQ(s, u"a");
  TmStr::Concatena(s, u"b", u", ");
  EXPECT_EQ(s, u"a, b");
  TmStr::Concatena(s, u"", u", ");  // an empty value still adds the separator
  EXPECT_EQ(s, u"a, b, ");

  std::u16string empty;
  TmStr::Concatena(empty, u"", u",");
  EXPECT_EQ(empty, u"");

  std::u16string p = u"b";
  TmStr::ConcatenaInicio(p, u"a", u"/");
  EXPECT_EQ(p, u"a/b");
  std::u16string q;
  TmStr::ConcatenaInicio(q, u"a", u"/");
  EXPECT_EQ(q, u"a");
}

TEST(JoinTest, ConcatenaCanSkipValuesAlreadyPresent) {
  std::u16string s = u"SP, RJ";
  TmStr::Concatena(s, u"RJ", u", ", true);
  EXPECT_EQ(s, u"SP, RJ");
  TmStr::Concatena(s, u"R", u", ", true);  // a part, not a substring
  EXPECT_EQ(s, u"SP, RJ, R");
  TmStr::Concatena(s, u"MG", u", ", false);
  TmStr::Concatena(s, u"MG", u", ", false);
  EXPECT_EQ(s, u"SP, RJ, R, MG, MG");
  std::u16string t = u"abc";
  TmStr::Concatena(t, u"b", u"", true);  // without a separator: contained
  EXPECT_EQ(t, u"abc");
}

TEST(JoinTest, ArraysJoinByTheConcatenaRule) {
  EXPECT_EQ(TmStr::Concatena(TzelArrayString{u"a", u"b", u"c"}, u", "), u"a, b, c");
  EXPECT_EQ(TmStr::Concatena(TzelArrayString{u"", u"a"}, u","), u"a");
  EXPECT_EQ(TmStr::Concatena(TzelArrayString{u"a", u"", u"b"}, u","), u"a,,b");
  EXPECT_EQ(TmStr::Concatena(TzelArrayString{u"", u"", u"a", u""}, u","), u"a,");
  EXPECT_EQ(TmStr::Concatena(TzelArrayString{}, u","), u"");
  EXPECT_EQ(TmStr::ArrayConcatToStr({u"a", u"b", u"c"}, u", ", true), u"'a', 'b', 'c'");
  EXPECT_EQ(TmStr::ArrayConcatToStr({u"d'Ávila", u""}, u",", true), u"'d''Ávila',''");
  EXPECT_EQ(TmStr::ArrayConcatToStr({u"a", u"b"}, u"", false), u"ab");
  EXPECT_EQ(TmStr::ArrayStrConcatToStr(TArrayStr{u"x", u"y"}, u";", true), u"'x';'y'");
  EXPECT_EQ(TmStr::ArrayConcatToStr(TArrayStr{u"x", u"y"}, u";", false), u"x;y");  // both array types fit
  EXPECT_EQ(TmStr::ArrayIntToStr({1, -2, 2147483647}, u","), u"1,-2,2147483647");
  EXPECT_EQ(TmStr::ArrayIntToStr(TzelArrayInteger{-2147483647 - 1}, u","), u"-2147483648");
  EXPECT_EQ(TmStr::ArrayIntToStr(TzelArrayInteger{}, u","), u"");
  EXPECT_EQ(TmStr::ArrayCharToString({u'a', u'\0', u'b'}), std::u16string(u"a\0b", 3));
  EXPECT_EQ(TmStr::ArrayCharToString(std::vector<char16_t>{}), u"");
}

TEST(ArrayTest, Helpers) {
  TzelArrayString s;
  TmStr::AddArray(s, u"a");
  TmStr::AddArray(s, u"");
  EXPECT_EQ(s, (TzelArrayString{u"a", u""}));
  TzelArrayInteger i;
  TmStr::AddArray(i, 5);
  TmStr::AddArray(i, -1);
  EXPECT_EQ(i, (TzelArrayInteger{5, -1}));
  const TStringList l = TmStr::zelAStrToTStrings(s);
  ASSERT_EQ(l.Count(), 2);
  EXPECT_EQ(l[0], u"a");
  EXPECT_EQ(l[1], u"");
  TmStr::ClearArray(s);
  TmStr::ClearArray(i);
  EXPECT_TRUE(s.empty());
  EXPECT_TRUE(i.empty());
}

}  // namespace
}  // namespace zelmor
