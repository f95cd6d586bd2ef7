#include <gtest/gtest.h>

#include "mLib.h"
#include "strings/list_error.h"

namespace zelmor {
namespace {

TzelArrayString Items(const TStringList& l) { return l.Items; }

TEST(SplitTest, IntoAList) {
  const struct {
    std::u16string texto;
    bool ignorar;
    TzelArrayString out;
  } cases[] = {
      {u"a , ,b", true, {u"a ", u"b"}}, {u"a , ,b", false, {u"a ", u" ", u"b"}}, {u"", false, {u""}}, {u"", true, {}},
      {u",", false, {u"", u""}},        {u"a,\t,b,", true, {u"a", u"b"}},
  };
  for (const auto& c : cases) {
    TStringList l;
    TmStr::Split(c.texto, u',', l, c.ignorar, true);
    EXPECT_EQ(Items(l), c.out);
  }
}

TEST(SplitTest, IntoAListAppendsUnlessCleared) {
  TStringList l;
  l.Add(u"old");
  TmStr::Split(u"a;b", u';', l, false, false);
  EXPECT_EQ(Items(l), (TzelArrayString{u"old", u"a", u"b"}));
  TmStr::Split(u"c", u';', l, false, true);
  EXPECT_EQ(Items(l), (TzelArrayString{u"c"}));
}

TEST(SplitTest, ToArrays) {
  EXPECT_EQ(TmStr::Split(u"a,,b", u','), (TzelArrayString{u"a", u"", u"b"}));
  EXPECT_EQ(TmStr::Split(u"", u','), (TzelArrayString{u""}));
  EXPECT_EQ(TmStr::Split(u"1.2.3", u'.'), (TzelArrayString{u"1", u"2", u"3"}));
  EXPECT_EQ(TmStr::SplitInt(u"1;x;;3", u';'), (TzelArrayInteger{1, 0, 3}));
  EXPECT_EQ(TmStr::SplitInt(u"", u';'), TzelArrayInteger{});
  EXPECT_EQ(TmStr::SplitInt(u"-5; 7 ;99999999999", u';'), (TzelArrayInteger{-5, 7, 0}));
}

// Property: the one-pass split gives exactly the fields Separa and Ocorre define.
TEST(SplitTest, AgreesWithSeparaAndOcorre) {
  std::uint32_t seed = 99;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  const std::u16string alphabet = u"ab ;";
  for (int round = 0; round < 2000; ++round) {
    std::u16string s;
    for (int i = 0, n = static_cast<int>(next() % 20); i < n; ++i) s.push_back(alphabet[next() % alphabet.size()]);
    const TzelArrayString fields = TmStr::Split(s, u';');
    ASSERT_EQ(static_cast<int>(fields.size()), TmStr::Ocorre(s, u";") + 1);
    for (std::size_t i = 0; i < fields.size(); ++i)
      ASSERT_EQ(fields[i], TmStr::Separa(s, u';', static_cast<int>(i) + 1));
    // And joining them back gives the text.
    std::u16string joined;
    for (std::size_t i = 0; i < fields.size(); ++i) joined += (i ? u";" : u"") + fields[i];
    ASSERT_EQ(joined, s);
  }
}

TEST(SplitTest, Csv) {
  const struct {
    std::u16string texto;
    TzelArrayString out;
  } cases[] = {
      {u"\"x,y\",z,", {u"x,y", u"z"}},
      {u",a", {u"", u"a"}},
      {u"a,,b", {u"a", u"", u"b"}},
      {u"\"a\"\"b\",c", {u"ab", u"c"}},  // two quotes are not a quote character
      {u"", {}},
      {u",", {u""}},
      {u"\"unterminated,x", {u"unterminated,x"}},
      {u"a\"b\"c", {u"abc"}},
  };
  for (const auto& c : cases) {
    TStringList l;
    TmStr::SplitCSV(l, c.texto, u',', true);
    EXPECT_EQ(Items(l), c.out);
  }
  TStringList l;
  l.Add(u"keep");
  TmStr::SplitCSV(l, u"a", u',', false);
  EXPECT_EQ(Items(l), (TzelArrayString{u"keep", u"a"}));
}

TEST(SplitTest, SplitBKeepsSeparatorsAsItems) {
  TStringList l;
  l.Add(u"stale");
  TmStr::SplitB(u"a;b;;c", u';', l);
  EXPECT_EQ(Items(l), (TzelArrayString{u"a", u";", u"b", u";", u";", u"c"}));
  TmStr::SplitB(u";", u';', l);
  EXPECT_EQ(Items(l), (TzelArrayString{u";"}));
  TmStr::SplitB(u"", u';', l);
  EXPECT_EQ(Items(l), TzelArrayString{});
}

TEST(SplitTest, GetStringPartReadsTheSplitBList) {
  EXPECT_EQ(TmStr::GetStringPart(u"a;b", u';', 0), u"a");
  EXPECT_EQ(TmStr::GetStringPart(u"a;b", u';', 1), u";");
  EXPECT_EQ(TmStr::GetStringPart(u"a;b", u';', 2), u"b");
  EXPECT_EQ(TmStr::GetStringPart(u"a;b", u';', 3), u"");
  EXPECT_EQ(TmStr::GetStringPart(u"", u';', 0), u"");
  // Property against SplitB on generated texts.
  std::uint32_t seed = 5;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 500; ++round) {
    std::u16string s;
    for (int i = 0, n = static_cast<int>(next() % 12); i < n; ++i) s.push_back(u"x;"[next() % 2]);
    TStringList l;
    TmStr::SplitB(s, u';', l);
    for (int i = 0; i <= l.Count(); ++i) ASSERT_EQ(TmStr::GetStringPart(s, u';', i), i < l.Count() ? l[i] : u"");
  }
  try {
    TmStr::GetStringPart(u"a;b", u';', -1);
    FAIL() << "a negative index must raise";
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), u"Índice da lista fora dos limites (-1)");
  }
}

TEST(SplitTest, SplitInQuotedStr) {
  const struct {
    std::u16string texto;
    std::u16string out;
  } cases[] = {
      {u"a,'b',c", u"'a','b','c'"},
      {u"", u"''"},
      {u"a,,b", u"'a','','b'"},
      {u"d'Ávila", u"'d''Ávila'"},
      {u"'x'y", u"'''x''y'"},
      {u"'", u"''''"},  // a lone quote is not a quoted field
      {u"''", u"''"},
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::SplitInQuotedStr(c.texto, u','), c.out);
}

TEST(CopyStrTest, TextBetweenMarkers) {
  const struct {
    std::u16string texto, inicio, fim, out;
  } cases[] = {
      {u"abc[def]ghi", u"[", u"]", u"def"},
      {u"abc", u"[", u"]", u""},
      {u"a]b[c]", u"[", u"]", u""},  // the end marker is searched from the start
      {u"[]", u"[", u"]", u""},
      {u"<nNF>123</nNF>", u"<nNF>", u"</nNF>", u"123"},
      {u"x[y", u"[", u"]", u""},
      {u"abc", u"", u"c", u""},
      {u"abc", u"a", u"", u""},
      {u"a--b--c", u"--", u"--", u""},  // the same marker: the end is the start's own occurrence
  };
  for (const auto& c : cases) EXPECT_EQ(TmStr::CopyStr(c.texto, c.inicio, c.fim), c.out);
}

}  // namespace
}  // namespace zelmor
