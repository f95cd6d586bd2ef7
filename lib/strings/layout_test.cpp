#include <gtest/gtest.h>

#include <array>
#include <random>

#include "core/text.h"
#include "mLib.h"
#include "platform/text_metrics.h"

namespace zelmor {
namespace {

using Lines = TzelArrayString;

// The characters that are text, not layout: everything above the blank range.
std::u16string Printable(std::u16string_view s) {
  std::u16string r;
  for (char16_t c : s)
    if (c > u' ') r += c;
  return r;
}

std::u16string Joined(const TzelArrayString& lines) {
  std::u16string r;
  for (const auto& l : lines) r += l + u"\n";
  return r;
}

// Texts with long words, runs of spaces, tabs, line breaks of every kind, accents,
// the display's separator 191 and a surrogate pair, from a fixed seed.
std::vector<std::u16string> GeneratedTexts() {
  std::mt19937 gen(20261209);
  const std::u16string letters = u"abcdefghijklmnopqrstuvwxyzçãéõ\u00BF";
  std::vector<std::u16string> texts;
  for (int t = 0; t < 400; ++t) {
    std::u16string s;
    const int pieces = std::uniform_int_distribution<int>(0, 40)(gen);
    for (int p = 0; p < pieces; ++p) {
      switch (std::uniform_int_distribution<int>(0, 9)(gen)) {
        case 0: s.append(std::uniform_int_distribution<std::size_t>(2, 6)(gen), u' '); break;
        case 1: s += u"\r\n"; break;
        case 2: s += std::uniform_int_distribution<int>(0, 1)(gen) ? u"\r" : u"\n"; break;
        case 3: s += u"\t"; break;
        case 4: s += u"\U0001F600"; break;
        default: {
          // Mostly short words, now and then one longer than any width tried.
          const std::size_t n = std::uniform_int_distribution<int>(0, 7)(gen) == 0
                                    ? std::uniform_int_distribution<std::size_t>(20, 60)(gen)
                                    : std::uniform_int_distribution<std::size_t>(1, 9)(gen);
          for (std::size_t k = 0; k < n; ++k)
            s += letters[std::uniform_int_distribution<std::size_t>(0, letters.size() - 1)(gen)];
          s += u' ';
        }
      }
    }
    texts.push_back(s);
  }
  return texts;
}

// ---- QuebraTexto ----

TEST(QuebraTextoTest, GreedyWrapCountsTheSpaceBeforeEveryWord) {
  const struct {
    std::u16string texto;
    int largura;
    Lines linhas;
  } cases[] = {
      {u"um dois tres", 7, {u"um dois", u"tres"}},  // 2 + 4 + 1 fits exactly
      {u"um dois tres", 6, {u"um", u"dois", u"tres"}},
      {u"  um   dois  ", 20, {u"um dois"}},                 // trimmed, spaces collapsed
      {u"abcde", 5, {u"abcde"}},                            // a word as wide as the line still goes alone
      {u"ab abcdefgh cd", 4, {u"ab", u"abcdefgh", u"cd"}},  // too long: its own line, never cut
      {u"abcdefgh ab", 4, {u"abcdefgh", u"ab"}},
      {u"", 10, {}},
      {u"   ", 10, {}},
      {u"a b", 0, {u"a", u"b"}},                               // nothing fits: one word per line
      {u"Total\u00BF12,50 ok", 20, {u"Total\u00BF12,50 ok"}},  // 191 is text, not a space
      {u"a\tb c", 5, {u"a\tb c"}},                             // tabs belong to their word
  };
  for (const auto& c : cases) {
    TStringList l;
    l.Add(u"old");
    TmStr::QuebraTexto(c.texto, c.largura, l);
    EXPECT_EQ(l.Items, c.linhas) << U16ToUtf8(c.texto) << " / " << c.largura;
  }
}

TEST(QuebraTextoTest, NeverLosesTextAndKeepsToTheWidth) {
  for (const auto& texto : GeneratedTexts()) {
    for (int largura : {1, 2, 5, 12, 30}) {
      TStringList l;
      TmStr::QuebraTexto(texto, largura, l);
      EXPECT_EQ(Printable(Joined(l.Items)), Printable(texto));
      for (const auto& linha : l.Items) {
        EXPECT_FALSE(linha.empty());
        // Only a single word may pass the width.
        if (static_cast<int>(linha.size()) > largura) {
          EXPECT_EQ(linha.find(u' '), std::u16string::npos) << U16ToUtf8(linha);
        }
      }
    }
  }
}

// ---- JustificarMonoEspacado ----

TEST(JustificarTest, SpacesGoToTheLeftmostGapsFirst) {
  const struct {
    std::u16string linha;
    int largura;
    std::u16string esperado;
  } cases[] = {
      {u"a b c", 7, u"a  b  c"},
      {u"a b c", 6, u"a  b c"},
      {u"a b c", 10, u"a    b   c"},  // two full passes, then the first gap
      {u"a b c", 11, u"a    b    c"},
      {u"  a b  ", 4, u"a  b"},     // trimmed first
      {u"a  b c", 8, u"a   b  c"},  // a run of spaces is one gap
      {u"abc def", 7, u"abc def"},  // already wide enough
      {u"abc def", 3, u"abc def"},  // longer: unchanged
      {u"abcdef", 10, u"abcdef"},   // no gap: cannot be widened
      {u"", 5, u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TmStr::JustificarMonoEspacado(c.linha, c.largura), c.esperado)
        << U16ToUtf8(c.linha) << " / " << c.largura;
}

// ---- FormataParagrafo and FormatarParagrafo ----

TEST(FormataParagrafoTest, CutPointsAtTheBoundaries) {
  const struct {
    std::u16string texto;
    int largura;
    bool justificado;
    Lines linhas;
  } cases[] = {
      {u"aa bb cc", 5, true, {u"aa bb", u"cc"}},
      {u"um dois tres quatro", 10, false, {u"um dois", u"tres", u"quatro"}},
      {u"um dois tres quatro", 10, true, {u"um    dois", u"tres", u"quatro"}},  // the last line stays
      {u"a bb cccc", 6, true, {u"a   bb", u"cccc"}},
      {u"abcde fgh", 5, false, {u"abcde", u"fgh"}},                    // a line that ends exactly at a word end
      {u"abcdefghij kl", 4, false, {u"abcd", u"efgh", u"ij", u"kl"}},  // a longer word is cut at the width
      {u"ab\U0001F600cd", 3, false, {u"ab", u"\U0001F600c", u"d"}},    // but not inside a character
      {u"abcd e", 4, false, {u"abcd", u"e"}},                          // a remainder of one character
      {u"  a   b  ", 3, false, {u"a", u"b"}},
      {u"x y", 0, false, {u"x y"}},  // no width: one line
      {u"", 5, false, {}},
      {u"     ", 2, false, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TmStr::FormataParagrafo(c.texto, c.largura, 99, c.justificado).Items, c.linhas)
        << U16ToUtf8(c.texto) << " / " << c.largura;
  }
}

TEST(FormatarParagrafoTest, LineBreaksJustificationAndAppending) {
  const struct {
    std::u16string texto;
    int largura;
    bool justificar;
    Lines linhas;
  } cases[] = {
      {u"Caro cliente,\r\nsegue a nota fiscal do pedido.",
       20,
       true,
       {u"Caro cliente,", u"segue  a nota fiscal", u"do pedido."}},
      {u"a\r\rb", 10, false, {u"a", u"", u"b"}},  // a blank line stays
      {u"a\r\n\r\nb\r\n", 10, false, {u"a", u"", u"b"}},
      {u"linha um\nlinha dois", 20, false, {u"linha um", u"linha dois"}},  // a lone LF breaks too
      {u"abcde\r\nfgh", 5, false, {u"abcde", u"fgh"}},                     // a break right at the width
      {u"aaa bbb ccc ddd", 9, true, {u"aaa bbb", u"ccc ddd"}},             // 10 characters or fewer: not justified
      {u"aaaaa bbbbb ccccc", 12, true, {u"aaaaa  bbbbb", u"ccccc"}},
      {u"aaaaa bbbbbb\r\ncc", 14, true, {u"aaaaa bbbbbb", u"cc"}},  // ended by a break: not justified
      {u"sem largura\r\nalguma", 0, true, {u"sem largura", u"alguma"}},
  };
  for (const auto& c : cases) {
    TStringList saida;
    saida.Add(u"antes");
    TmStr::FormatarParagrafo(saida, c.texto, c.largura, c.justificar);
    Lines esperado = c.linhas;
    esperado.insert(esperado.begin(), u"antes");
    EXPECT_EQ(saida.Items, esperado) << U16ToUtf8(c.texto) << " / " << c.largura;
  }
}

TEST(FormataParagrafoTest, NeverLosesTextKeepsToTheWidthAndJustifiesOnlyWithSpaces) {
  for (const auto& texto : GeneratedTexts()) {
    for (int largura : {1, 3, 8, 25}) {
      for (bool justificar : {false, true}) {
        const Lines a = TmStr::FormataParagrafo(texto, largura, 0, justificar).Items;
        TStringList b;
        TmStr::FormatarParagrafo(b, texto, largura, justificar);
        EXPECT_EQ(Printable(Joined(a)), Printable(texto));
        EXPECT_EQ(Printable(Joined(b.Items)), Printable(texto));
        for (const Lines* ls : std::array<const Lines*, 2>{&a, &b.Items}) {
          EXPECT_LE(ls->size(), texto.size());  // every line took at least one character
          for (const auto& l : *ls) {
            if (l == u"\U0001F600") continue;  // one character cannot be cut
            EXPECT_LE(static_cast<int>(l.size()), largura) << U16ToUtf8(l);
          }
        }
        if (!justificar) continue;
        // Justifying only widens the gaps.
        const Lines plano = TmStr::FormataParagrafo(texto, largura, 0, false).Items;
        ASSERT_EQ(plano.size(), a.size());
        for (std::size_t i = 0; i < a.size(); ++i)
          EXPECT_EQ(TmStr::RemoveEspacosDuplos(a[i]), TmStr::RemoveEspacosDuplos(plano[i]));
      }
    }
  }
}

// ---- FormataColunas ----

TStringList Itens(int n) {
  TStringList l;
  for (int i = 1; i <= n; ++i) l.Add(IntToStr(i));
  return l;
}

TEST(FormataColunasTest, DownTheColumnsBlockByBlock) {
  const struct {
    int itens, linhas, colunas, tam;
    bool ajustar, entreBlocos;
    Lines esperado;
  } cases[] = {
      {5, 10, 2, 3, false, false, {u"1  4  ", u"2  5  ", u"3     "}},
      {5, 10, 2, 3, true, false, {u"1  4  ", u"2  5  ", u"3     "}},
      {7, 10, 3, 2, true, false, {u"1 4 6 ", u"2 5 7 ", u"3     "}},
      {7, 10, 3, 2, false, false, {u"1 4 7 ", u"2 5   ", u"3 6   "}},
      {4, 10, 3, 2, false, false, {u"1 3   ", u"2 4   "}},
      {5, 2, 2, 2, false, true, {u"1 3 ", u"2 4 ", u"", u"5   ", u""}},  // blocks of 2 × 2
      {3, 0, 2, 2, false, false, {u"1 3 ", u"2   "}},                    // no row limit: one block
      {2, 5, 0, 2, false, false, {u"1 ", u"2 "}},                        // columns below 1 count as 1
      {0, 5, 2, 2, true, true, {}},
  };
  for (const auto& c : cases) {
    TStringList r;
    r.Add(u"old");
    TmStr::FormataColunas(Itens(c.itens), r, c.linhas, c.colunas, c.tam, c.ajustar, c.entreBlocos);
    EXPECT_EQ(r.Items, c.esperado) << c.itens << " itens, " << c.linhas << "x" << c.colunas;
  }
}

TEST(FormataColunasTest, CellsAreCutToTheColumnWidth) {
  TStringList o, r;
  o.Add(u"abcdef");
  o.Add(u"xy");
  TmStr::FormataColunas(o, r, 1, 2, 4, false, false);
  EXPECT_EQ(r.Items, (Lines{u"abcdxy  "}));
}

TEST(FormataColunasTest, EveryItemAppearsOnceInOrder) {
  std::mt19937 gen(77);
  for (int t = 0; t < 300; ++t) {
    const int n = std::uniform_int_distribution<int>(0, 60)(gen);
    const int linhas = std::uniform_int_distribution<int>(0, 8)(gen);
    const int colunas = std::uniform_int_distribution<int>(1, 6)(gen);
    const bool ajustar = gen() & 1;
    TStringList r;
    TmStr::FormataColunas(Itens(n), r, linhas, colunas, 3, ajustar, true);
    // Read the cells back column by column, block by block.
    std::vector<int> vistos;
    std::size_t inicio = 0;
    for (std::size_t i = 0; i <= r.Items.size(); ++i) {
      if (i < r.Items.size() && !r.Items[i].empty()) continue;
      for (int c = 0; c < colunas; ++c)
        for (std::size_t k = inicio; k < i; ++k) {
          ASSERT_EQ(r.Items[k].size(), static_cast<std::size_t>(3 * colunas));
          const std::u16string cel = r.Items[k].substr(static_cast<std::size_t>(3 * c), 3);
          if (cel != u"   ") vistos.push_back(std::stoi(U16ToUtf8(cel)));
        }
      inicio = i + 1;
    }
    std::vector<int> esperado(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) esperado[static_cast<std::size_t>(i)] = i + 1;
    EXPECT_EQ(vistos, esperado) << n << " itens, " << linhas << "x" << colunas << (ajustar ? " ajustado" : "");
  }
}

// ---- GetStringInfo ----

TEST(GetStringInfoTest, WrapsParagraphsToThePixelWidth) {
  const platform::FixedPitchTextMetrics m(10, 20, 1000);  // 10 px a character, 20 px a line
  const struct {
    std::u16string texto;
    int largura;
    int linhas, maior;
    std::u16string tela;
  } cases[] = {
      {u"", 100, 0, 0, u""},
      {u"a\r\nb", 100, 2, 10, u"a\r\nb"},
      {u"aaa bbb ccc", 70, 2, 70, u"aaa bbb\r\nccc"},           // the space at the break goes
      {u"aaa bbb ccc", 80, 2, 80, u"aaa bbb \r\nccc"},          // a space that fits stays on its line
      {u"abcdefghijkl xy", 50, 2, 120, u"abcdefghijkl\r\nxy"},  // a wide word stands alone
      {u"a\r\r\nb", 100, 3, 10, u"a\r\n\r\nb"},                 // an empty paragraph is an empty line
      {u"a\nb", 100, 2, 10, u"a\r\nb"},                         // a lone LF breaks too
      {u"a\r", 100, 1, 10, u"a"},
      {u"\r", 100, 1, 0, u""},
      {std::u16string(60, u'x') + u" y", 0, 2, 600, std::u16string(60, u'x') + u"\r\ny"},  // 0: half the screen
      {std::u16string(40, u'x') + u" y", 5000, 1, 420, std::u16string(40, u'x') + u" y"},  // wider than the screen
      {std::u16string(50, u'x') + u" y", 5000, 2, 500, std::u16string(50, u'x') + u"\r\ny"},
  };
  for (const auto& c : cases) {
    const TmStr::TStringInfo i = TmStr::GetStringInfo(c.texto, m, c.largura);
    EXPECT_EQ(i.LineCount, c.linhas) << U16ToUtf8(c.texto);
    EXPECT_EQ(i.MaxLineWidth, c.maior) << U16ToUtf8(c.texto);
    EXPECT_EQ(i.TextHeight, 20 * c.linhas) << U16ToUtf8(c.texto);
    EXPECT_EQ(i.ScreenText, c.tela) << U16ToUtf8(c.texto);
  }
}

TEST(GetStringInfoTest, NeverLosesTextAndEveryLineIsCounted) {
  const platform::FixedPitchTextMetrics m(7, 15, 800);
  for (const auto& texto : GeneratedTexts()) {
    for (int largura : {1, 40, 150}) {
      const TmStr::TStringInfo i = TmStr::GetStringInfo(texto, m, largura);
      EXPECT_EQ(Printable(i.ScreenText), Printable(texto));
      TStringList l;
      TmStr::Split(i.ScreenText, u'\n', l);
      EXPECT_EQ(i.LineCount, i.ScreenText.empty() && i.LineCount == 0 ? 0 : l.Count());
      int maior = 0;
      for (auto linha : l.Items) {
        if (!linha.empty() && linha.back() == u'\r') linha.pop_back();
        maior = std::max(maior, m.TextWidth(linha));
        // Only one word (after any indentation) may pass the width.
        if (m.TextWidth(linha) > largura) {
          EXPECT_EQ(linha.find(u' ', linha.find_first_not_of(u' ')), std::u16string::npos) << U16ToUtf8(linha);
        }
      }
      EXPECT_EQ(i.MaxLineWidth, maior);
      EXPECT_EQ(i.TextHeight, 15 * i.LineCount);
    }
  }
}

TEST(TextMetricsTest, TheHeadlessEstimateAndItsInstallation) {
  const platform::FixedPitchTextMetrics m;
  EXPECT_EQ(m.TextWidth(u""), 0);
  EXPECT_EQ(m.TextWidth(u"abc"), 24);
  EXPECT_EQ(m.TextWidth(u"e\u0301"), 8);     // a combining accent takes no room
  EXPECT_EQ(m.TextWidth(u"\U0001F600"), 8);  // a surrogate pair is one character
  EXPECT_EQ(m.TextHeight(u"A"), 16);
  EXPECT_EQ(m.ScreenWidth(), 1920);

  EXPECT_EQ(platform::Service<platform::TextMetrics>::Get().TextWidth(u"abc"), 24);
  platform::FixedPitchTextMetrics larga(20, 30, 640);
  platform::Service<platform::TextMetrics>::Set(&larga);
  EXPECT_EQ(&platform::Service<platform::TextMetrics>::Get(), &larga);
  EXPECT_EQ(TmStr::GetStringInfo(u"ab", platform::Service<platform::TextMetrics>::Get(), 0).MaxLineWidth, 40);
  platform::Service<platform::TextMetrics>::Set(nullptr);
  EXPECT_EQ(platform::Service<platform::TextMetrics>::Get().TextWidth(u"abc"), 24);
}

}  // namespace
}  // namespace zelmor
