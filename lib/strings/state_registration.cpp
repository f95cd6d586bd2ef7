// State registration (IE) rules of the 27 federative units, and the unit names.
//
// Every state is data: the forms its numbers may take (length, accepted leading
// digits) and, per form, the check digits with their weights and the way a weighted
// sum becomes a digit. A state that issues a new form gets one more row in its list.
#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

#include "core/text.h"
#include "core/text_kit.h"
#include "strings/check_digit_math.h"
#include "strings/mString.h"

namespace zelmor {
namespace {

using checkdigit::DigitValue;

// How a weighted sum becomes a check digit.
enum class Regra : std::uint8_t {
  M11,         // r = Σ mod 11; 0 for r 0 or 1, else 11 − r
  M11x10,      // r = (Σ × 10) mod 11; 10 becomes 0
  M11menos10,  // 11 − (Σ mod 11); 10 and 11 become 0 and 1
  M10,         // 0 for Σ mod 10 = 0, else 10 − (Σ mod 10)
  M11r,        // r = Σ mod 11; 10 becomes 0
  M9,          // Σ mod 9
  M10Somados,  // M10 of the products with two-digit products reduced to the sum of their digits (MG)
  M10ouM11,    // M10 or M11, by the digit at `Seletor` (BA)
  AM,          // 11 − Σ while Σ is below 11, else M11
  AP,          // Σ plus a constant by number range, 11 − (Σ mod 11) with a range-dependent fallback
  GO,          // M11 with r = 1 giving 1 inside a number range
};

struct Digito {
  std::uint8_t Alvo;                   // 0-based place of the check digit
  std::array<std::uint8_t, 13> Pesos;  // weights of d1, d2, ...; trailing zeros unused
  Regra Metodo;
  std::uint8_t Seletor = 0;  // M10ouM11: place of the digit that picks the modulus

  constexpr std::size_t NPesos() const {
    std::size_t n = Pesos.size();
    while (n > 0 && Pesos[n - 1] == 0) --n;
    return n;
  }
};

struct Forma {
  std::uint8_t Tamanho;                        // characters of the digit string
  std::array<std::u16string_view, 5> Inicios;  // accepted beginnings; none listed = any
  std::array<Digito, 2> Digitos;
  std::uint8_t NDigitos;
};

struct Estado {
  std::u16string_view Sigla;
  std::uint8_t Ajuste;  // the digit string is zero-filled or cut to this length first (0 = never)
  std::span<const Forma> Formas;
};

// Weight tables used by several states.
constexpr std::array<std::uint8_t, 13> P98765432{9, 8, 7, 6, 5, 4, 3, 2};

constexpr Forma Simples9(std::array<std::u16string_view, 5> inicios, Regra r = Regra::M11) {
  return {9, inicios, {{{8, P98765432, r}}}, 1};
}

constexpr Forma kAC[] = {
    {13,
     {u"01"},
     {{{11, {4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}, Regra::M11}, {12, {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}, Regra::M11}}},
     2}};
constexpr Forma kAL[] = {Simples9({u"24"}, Regra::M11x10)};
constexpr Forma kAM[] = {Simples9({}, Regra::AM)};
constexpr Forma kAP[] = {Simples9({u"03"}, Regra::AP)};
// The 9-digit form is the 8-digit rule one place further right, the modulus picked by
// d2: an 8-digit number with a 0 in front is the same number in the 9-digit form.
constexpr Forma kBA[] = {
    {8, {}, {{{7, {7, 6, 5, 4, 3, 2}, Regra::M10ouM11, 0}, {6, {8, 7, 6, 5, 4, 3, 0, 2}, Regra::M10ouM11, 0}}}, 2},
    {9,
     {},
     {{{8, {8, 7, 6, 5, 4, 3, 2}, Regra::M10ouM11, 1}, {7, {9, 8, 7, 6, 5, 4, 3, 0, 2}, Regra::M10ouM11, 1}}},
     2}};
constexpr Forma kCE[] = {Simples9({})};
constexpr Forma kDF[] = {
    {13,
     {u"07"},
     {{{11, {4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}, Regra::M11}, {12, {5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}, Regra::M11}}},
     2}};
constexpr Forma kGO[] = {Simples9({u"10", u"11", u"15"}, Regra::GO)};
constexpr Forma kMA[] = {Simples9({u"12"})};
// d12 on d1 d2 d3 0 d4 ... d11 with weights 1, 2, 1, 2, ...: the inserted zero shifts
// the weights of d4 onwards.
constexpr Forma kMG[] = {{13,
                          {},
                          {{{11, {1, 2, 1, 1, 2, 1, 2, 1, 2, 1, 2}, Regra::M10Somados},
                            {12, {3, 2, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2}, Regra::M11}}},
                          2}};
constexpr Forma kMS[] = {Simples9({u"28"})};
constexpr Forma kMT[] = {{11, {}, {{{10, {3, 2, 9, 8, 7, 6, 5, 4, 3, 2}, Regra::M11}}}, 1}};
constexpr Forma kPA[] = {Simples9({u"15"})};
constexpr Forma kPB[] = {Simples9({u"16"})};
// The old 14-digit form, and the current 9-digit one (7 digits and two check digits).
constexpr Forma kPE[] = {{14, {u"18"}, {{{13, {5, 4, 3, 2, 1, 9, 8, 7, 6, 5, 4, 3, 2}, Regra::M11menos10}}}, 1},
                         {9, {}, {{{7, {8, 7, 6, 5, 4, 3, 2}, Regra::M11}, {8, P98765432, Regra::M11}}}, 2}};
constexpr Forma kPI[] = {Simples9({u"19"})};
constexpr Forma kPR[] = {
    {10, {}, {{{8, {3, 2, 7, 6, 5, 4, 3, 2}, Regra::M11}, {9, {4, 3, 2, 7, 6, 5, 4, 3, 2}, Regra::M11}}}, 2}};
constexpr Forma kRJ[] = {{8, {}, {{{7, {2, 7, 6, 5, 4, 3, 2}, Regra::M11}}}, 1}};
constexpr Forma kRN[] = {Simples9({u"20"}, Regra::M11x10),
                         {10, {u"20"}, {{{9, {10, 9, 8, 7, 6, 5, 4, 3, 2}, Regra::M11x10}}}, 1}};
constexpr Forma kRO[] = {{14, {}, {{{13, {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2}, Regra::M11menos10}}}, 1}};
constexpr Forma kRR[] = {{9, {u"24"}, {{{8, {1, 2, 3, 4, 5, 6, 7, 8}, Regra::M9}}}, 1}};
constexpr Forma kRS[] = {{10, {u"0", u"1", u"2", u"3", u"4"}, {{{9, {2, 9, 8, 7, 6, 5, 4, 3, 2}, Regra::M11}}}, 1}};
constexpr Forma kSC[] = {Simples9({u"25"})};
constexpr Forma kSE[] = {Simples9({})};
// The rural-producer form is "P" and 12 digits: the P weighs nothing, the last three
// digits are not checked.
constexpr Forma kSP[] = {
    {12, {}, {{{8, {1, 3, 4, 5, 6, 7, 8, 10}, Regra::M11r}, {11, {3, 2, 10, 9, 8, 7, 6, 5, 4, 3, 2}, Regra::M11r}}}, 2},
    {13, {u"P"}, {{{9, {0, 1, 3, 4, 5, 6, 7, 8, 10}, Regra::M11r}}}, 1}};
// d3 and d4 (01, 02, 03 or 99) are left out of the 11-digit sum.
constexpr Forma kTO[] = {
    {11, {u"2901", u"2902", u"2903", u"2999"}, {{{10, {9, 8, 0, 0, 7, 6, 5, 4, 3, 2}, Regra::M11}}}, 1},
    Simples9({u"2901", u"2902", u"2903", u"2999"})};

constexpr std::array<Estado, 27> kEstados{{
    {u"AC", 0, kAC},  {u"AL", 0, kAL}, {u"AM", 0, kAM}, {u"AP", 0, kAP}, {u"BA", 0, kBA}, {u"CE", 0, kCE},
    {u"DF", 0, kDF},  {u"ES", 0, kCE}, {u"GO", 0, kGO}, {u"MA", 0, kMA}, {u"MG", 0, kMG}, {u"MS", 0, kMS},
    {u"MT", 11, kMT}, {u"PA", 0, kPA}, {u"PB", 0, kPB}, {u"PE", 0, kPE}, {u"PI", 0, kPI}, {u"PR", 0, kPR},
    {u"RJ", 0, kRJ},  {u"RN", 0, kRN}, {u"RO", 0, kRO}, {u"RR", 0, kRR}, {u"RS", 0, kRS}, {u"SC", 0, kSC},
    {u"SE", 0, kSE},  {u"SP", 0, kSP}, {u"TO", 0, kTO},
}};

// Row of kEstados for each pair of capital letters, -1 for none.
constexpr std::array<std::int8_t, 26 * 26> kIndice = [] {
  std::array<std::int8_t, 26 * 26> t{};
  t.fill(-1);
  for (std::size_t i = 0; i < kEstados.size(); ++i)
    t[(kEstados[i].Sigla[0] - u'A') * 26 + (kEstados[i].Sigla[1] - u'A')] = static_cast<std::int8_t>(i);
  return t;
}();

const Estado* Procura(std::u16string_view uf) {
  if (uf.size() != 2 || uf[0] < u'A' || uf[0] > u'Z' || uf[1] < u'A' || uf[1] > u'Z') return nullptr;
  const int i = kIndice[(uf[0] - u'A') * 26 + (uf[1] - u'A')];
  return i < 0 ? nullptr : &kEstados[static_cast<std::size_t>(i)];
}

// The number formed by d1–d8.
std::int32_t Primeiros8(std::u16string_view d) {
  std::int32_t n = 0;
  for (std::size_t i = 0; i < 8; ++i) n = n * 10 + DigitValue(d[i]);
  return n;
}

// The digit the rule expects at `dig.Alvo`, or -1 when no digit can satisfy it.
int Esperado(std::u16string_view d, const Digito& dig) {
  const std::size_t n = dig.NPesos();
  int soma = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const int v = DigitValue(d[i]);
    const int p = v > 0 ? v * dig.Pesos[i] : 0;
    soma += dig.Metodo == Regra::M10Somados && p > 9 ? p / 10 + p % 10 : p;
  }
  switch (dig.Metodo) {
    case Regra::M11: return checkdigit::Mod11ZeroBelow2(soma);
    case Regra::M11x10: return checkdigit::Mod11Times10(soma);
    case Regra::M11menos10: {
      const int r = 11 - soma % 11;
      return r >= 10 ? r - 10 : r;
    }
    case Regra::M10:
    case Regra::M10Somados: return checkdigit::Mod10Complement(soma);
    case Regra::M11r: return soma % 11 % 10;
    case Regra::M9: return soma % 9;
    case Regra::M10ouM11: {
      const int s = DigitValue(d[dig.Seletor]);
      return s == 6 || s == 7 || s == 9 ? checkdigit::Mod11ZeroBelow2(soma) : checkdigit::Mod10Complement(soma);
    }
    case Regra::AM: return soma < 11 ? 11 - soma : checkdigit::Mod11ZeroBelow2(soma);
    case Regra::AP: {
      const std::int32_t num = Primeiros8(d);
      int p = 0, reserva = 0;
      if (num >= 3000001 && num <= 3017000) {
        p = 5;
      } else if (num >= 3017001 && num <= 3019022) {
        p = 9;
        reserva = 1;
      }
      const int r = 11 - (soma + p) % 11;
      return r == 10 ? 0 : r == 11 ? reserva : r;
    }
    case Regra::GO: {
      const int r = soma % 11;
      if (r >= 2) return 11 - r;
      if (r == 0) return 0;
      const std::int32_t num = Primeiros8(d);
      return num >= 10103105 && num <= 10119997 ? 1 : 0;
    }
  }
  return -1;
}

bool ConfereForma(std::u16string_view d, const Forma& f) {
  if (d.size() != f.Tamanho) return false;
  bool inicioOk = f.Inicios[0].empty();
  for (std::u16string_view ini : f.Inicios)
    if (!ini.empty() && d.starts_with(ini)) inicioOk = true;
  if (!inicioOk) return false;
  // The one GO number that is valid with either final digit.
  if (f.Digitos[0].Metodo == Regra::GO && d.substr(0, 8) == u"11094402" && (d[8] == u'0' || d[8] == u'1')) return true;
  for (std::size_t i = 0; i < f.NDigitos; ++i)
    if (Esperado(d, f.Digitos[i]) != DigitValue(d[f.Digitos[i].Alvo])) return false;
  return true;
}

bool ContemIsento(std::u16string_view s) {
  constexpr std::u16string_view kIsento = u"ISENTO";
  if (s.size() < kIsento.size()) return false;
  for (std::size_t i = 0; i + kIsento.size() <= s.size(); ++i) {
    std::size_t k = 0;
    while (k < kIsento.size() && AsciiUpper(s[i + k]) == kIsento[k]) ++k;
    if (k == kIsento.size()) return true;
  }
  return false;
}

}  // namespace

bool TmStr::isIEValido(std::u16string_view aUF, std::u16string_view aIE, std::u16string_view aCGC) {
  // The digit string, with the rural producer's P kept in front for SP. Only the last
  // digits matter beyond the longest form (MT keeps its last 11), so the buffer slides.
  constexpr std::size_t kMax = 32;
  char16_t buf[kMax];
  std::size_t n = 0, total = 0;
  if (aUF == u"SP") {
    const std::u16string_view ie = textkit::Trim(aIE);
    if (!ie.empty() && ie[0] == u'P') buf[n++] = u'P', ++total;
  }
  bool temLetra = false;  // "ISENTO" is looked for only where there are letters
  for (char16_t c : aIE) {
    if (!checkdigit::IsDigit(c)) {
      temLetra = temLetra || c == u'I' || c == u'i';
      continue;
    }
    if (n == kMax) {
      std::copy(buf + kMax / 2, buf + kMax, buf);
      n = kMax / 2;
    }
    buf[n++] = c;
    ++total;
  }

  if (textkit::Trim(aCGC).size() == 11) return true;  // individuals need no IE
  if (total == 0) return true;
  if (temLetra && ContemIsento(aIE)) return true;
  if (aUF.size() != 2) return false;

  const Estado* e = Procura(aUF);
  if (!e) return false;
  std::u16string_view d(buf, n);
  char16_t ajustado[16];
  if (e->Ajuste) {
    // Zero-filled on the left, or only the last digits kept.
    const std::size_t w = e->Ajuste;
    const std::size_t keep = std::min(n, w);
    std::fill(ajustado, ajustado + (w - keep), u'0');
    std::copy(buf + n - keep, buf + n, ajustado + (w - keep));
    d = std::u16string_view(ajustado, w);
  } else if (total != n) {
    return false;  // longer than any form
  }
  for (const Forma& f : e->Formas)
    if (d.size() == f.Tamanho) return ConfereForma(d, f);
  return false;
}

bool TmStr::IsEstadoValido(std::u16string_view Estado) {
  if (Estado.size() != 2) return false;
  constexpr std::u16string_view kLista = u"SPMGRJRSSCPRESDFMTMSGOTOBASEALPBPEMARNCEPIPAAMAPFNACRRRO";
  const char16_t uf[2] = {AsciiUpper(Estado[0]), AsciiUpper(Estado[1])};
  const std::size_t p = kLista.find(std::u16string_view(uf, 2));
  return p != std::u16string_view::npos && p % 2 == 0;
}

std::u16string TmStr::EstadoExtenso(std::u16string_view Estado) {
  static constexpr std::array<std::u16string_view, 27> kSiglas{
      u"AC", u"AL", u"AM", u"AP", u"BA", u"CE", u"DF", u"ES", u"GO", u"MA", u"MG", u"MS", u"MT", u"PA",
      u"PB", u"PE", u"PI", u"PR", u"RJ", u"RN", u"RO", u"RR", u"RS", u"SC", u"SE", u"SP", u"TO"};
  static constexpr std::array<std::u16string_view, 27> kNomes{
      u"Acre",        u"Alagoas",   u"Amazonas",          u"Amapá",
      u"Bahia",       u"Ceará",     u"Distrito Federal",  u"Espírito Santo",
      u"Goiás",       u"Maranhão",  u"Minas Gerais",      u"Mato Grosso do Sul",
      u"Mato Grosso", u"Pará",      u"Paraíba",           u"Pernambuco",
      u"Piauí",       u"Paraná",    u"Rio de Janeiro",    u"Rio Grande do Norte",
      u"Rondônia",    u"Roraima",   u"Rio Grande do Sul", u"Santa Catarina",
      u"Sergipe",     u"São Paulo", u"Tocantins"};
  if (Estado.size() != 2) return {};
  const char16_t uf[2] = {AsciiUpper(Estado[0]), AsciiUpper(Estado[1])};
  for (std::size_t i = 0; i < kSiglas.size(); ++i)
    if (kSiglas[i] == std::u16string_view(uf, 2)) return std::u16string(kNomes[i]);
  return {};
}

}  // namespace zelmor
