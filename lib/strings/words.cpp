// Money amounts in Brazilian Portuguese words.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "core/text.h"
#include "core/text_kit.h"
#include "strings/check_digit_math.h"
#include "strings/mString.h"

namespace zelmor {
namespace {

constexpr std::array<std::u16string_view, 10> kUnidades{u"",      u"Um",   u"Dois", u"Três", u"Quatro",
                                                        u"Cinco", u"Seis", u"Sete", u"Oito", u"Nove"};
constexpr std::array<std::u16string_view, 10> kDezenas{u"",          u"",         u"Vinte",   u"Trinta",  u"Quarenta",
                                                       u"Cinqüenta", u"Sessenta", u"Setenta", u"Oitenta", u"Noventa"};
constexpr std::array<std::u16string_view, 10> kDezADezenove{
    u"Dez", u"Onze", u"Doze", u"Treze", u"Quatorze", u"Quinze", u"Dezesseis", u"Dezessete", u"Dezoito", u"Dezenove"};
constexpr std::array<std::u16string_view, 10> kCentenas{
    u"",           u"Cento",      u"Duzentos",   u"Trezentos",  u"Quatrocentos",
    u"Quinhentos", u"Seiscentos", u"Setecentos", u"Oitocentos", u"Novecentos"};
// Group names: billions, millions, thousands, units, cents ("!" and "?" stand for the
// cent names until the end).
constexpr std::array<std::u16string_view, 5> kSingular{u" Bilhão", u" Milhão", u" Mil", u"", u" !"};
constexpr std::array<std::u16string_view, 5> kPlural{u" Bilhões", u" Milhões", u" Mil", u"", u" ?"};

constexpr std::int64_t kLimite = 100000000000000;  // a trillion, in cents

// The words of one three-digit group (not zero).
void GroupWords(int g, std::u16string& w) {
  if (g == 100) {
    w += u" Cem ";
    return;
  }
  const int c = g / 100, d = g / 10 % 10, u = g % 10;
  if (c) w += kCentenas[c];
  if (d == 1) {
    if (!w.empty()) w += u" e ";
    w += kDezADezenove[u];
  } else if (d >= 2) {
    if (!w.empty()) w += u" e ";
    w += kDezenas[d];
  }
  if (u && d != 1) {
    if (!w.empty()) w += u" e ";
    w += kUnidades[u];
  }
}

void ReplaceAll(std::u16string& s, char16_t what, std::u16string_view by) {
  for (std::size_t p = 0; (p = s.find(what, p)) != std::u16string::npos; p += by.size()) s.replace(p, 1, by);
}

// Every run of spaces becomes one space (what replacing double spaces until none is left does).
void CollapseSpaces(std::u16string& s) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == u' ' && out > 0 && s[out - 1] == u' ') continue;
    s[out++] = s[i];
  }
  s.resize(out);
}

}  // namespace

std::u16string TmStr::Extenso(Currency Valor, std::u16string_view IntSing, std::u16string_view IntPlural,
                              std::u16string_view DecSing, std::u16string_view DecPlural) {
  // To whole cents, half away from zero.
  const std::int64_t raw = Valor.Raw;
  const std::int64_t mag =
      raw < 0 ? -(raw / 100) + ((-(raw % 100)) >= 50 ? 1 : 0) : raw / 100 + (raw % 100 >= 50 ? 1 : 0);
  if (mag >= kLimite) return {};
  if (raw < 0 && mag > 0)
    return u"Menos " + Extenso(Currency::FromRaw(mag * 100), IntSing, IntPlural, DecSing, DecPlural);
  const std::int64_t centavos = mag;
  if (centavos == 0) return u"Zero";

  const std::int64_t inteiro = centavos / 100;
  const std::array<int, 5> g{static_cast<int>(inteiro / 1000000000), static_cast<int>(inteiro / 1000000 % 1000),
                             static_cast<int>(inteiro / 1000 % 1000), static_cast<int>(inteiro % 1000),
                             static_cast<int>(centavos % 100)};
  std::array<std::u16string, 5> w;
  for (std::size_t i = 0; i < 5; ++i) {
    if (g[i] == 0) continue;
    GroupWords(g[i], w[i]);
    if (i == 4 && !(w[0].empty() && w[1].empty() && w[2].empty() && w[3].empty())) w[4].insert(0, u" e ");
    if (!w[i].empty()) w[i] += g[i] == 1 ? kSingular[i] : kPlural[i];
  }

  // Joints between groups.
  if (!w[0].empty() && !(w[1].empty() && w[2].empty() && w[3].empty())) w[0] += g[1] == 0 && g[2] == 0 ? u" e " : u", ";
  if (!w[1].empty() && !(w[2].empty() && w[3].empty())) w[1] += g[2] == 0 ? u" e " : u", ";
  if (!w[2].empty() && !w[3].empty()) w[2] += g[3] / 100 == 0 || g[3] % 100 == 0 ? u" e " : u", ";
  for (std::size_t i = 0; i < 4; ++i)
    if (!w[i].empty() && !w[i + 1].empty()) w[i] += u' ';

  // Currency names, decided on the exact amount.
  if (centavos < 100) {
    w[4] += u" de ";
    w[4] += IntSing;
  } else if (centavos < 200) {
    w[3] += u' ';
    w[3] += IntSing;
    w[3] += u' ';
  } else if (centavos > 100000000 && w[3].empty()) {
    w[3] = u" de ";
    w[3] += IntPlural;
    w[3] += u' ';
  } else {
    w[3] += u' ';
    w[3] += IntPlural;
    w[3] += u' ';
  }

  std::u16string r = w[0] + w[1] + w[2] + w[3] + w[4];
  ReplaceAll(r, u'!', DecSing);
  ReplaceAll(r, u'?', DecPlural);
  CollapseSpaces(r);
  return std::u16string(textkit::Trim(r));
}

std::u16string TmStr::QuebraExtenso(double Valor, int Linha1, int Linha2) {
  // A value no currency holds (NaN included) cannot be written in words either: nothing to print.
  if (!(std::fabs(Valor) < 9e14)) return {};
  const std::u16string palavras = Extenso(Currency::FromDouble(Valor), u"Real", u"Reais", u"Centavo", u"Centavos");
  if (palavras.empty()) return {};
  const std::u16string t = RemoveAcentos(UpperCase(palavras), true);
  const std::size_t l1 = static_cast<std::size_t>(std::max(Linha1, 0));
  const std::size_t l2 = static_cast<std::size_t>(std::max(Linha2, 0));
  if (t.size() <= l1) return PadLeft(t, Linha1, u'*') + u"^" + std::u16string(l2, u'*');

  // The last space in the first line's width that follows a word (p is 1-based; 0 = none).
  std::size_t p = 0;
  for (std::size_t i = l1; i >= 2; --i)
    if (t[i - 1] == u' ' && t[i - 2] != u' ') {
      p = i;
      break;
    }
  std::u16string r =
      p ? PadLeft(textkit::Trim(std::u16string_view(t).substr(0, p)), Linha1, u'*') : std::u16string(l1, u'*');
  r += u'^';
  // Line 2 starts at the space itself.
  const std::u16string_view linha2 = std::u16string_view(t).substr(p ? p - 1 : 0, l2);
  if (linha2.size() >= l2) return {};
  r += PadLeft(linha2, Linha2, u'*');
  r += u'^';
  return r;
}

}  // namespace zelmor
