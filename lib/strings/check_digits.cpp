// Check digits of CPF, CNPJ and PIS numbers and the access key of electronic
// fiscal documents.
#include <algorithm>
#include <array>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "core/text.h"
#include "format/format_number.h"
#include "strings/check_digit_math.h"
#include "strings/federative_table.h"
#include "strings/mString.h"

namespace zelmor {
namespace {

using checkdigit::AlphanumericValue;
using checkdigit::Capital;
using checkdigit::DigitValue;

constexpr std::array<int, 9> kCpfWeights1{10, 9, 8, 7, 6, 5, 4, 3, 2};
constexpr std::array<int, 9> kCpfWeights2{11, 10, 9, 8, 7, 6, 5, 4, 3};
constexpr std::array<int, 12> kCnpjWeights1{5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
constexpr std::array<int, 12> kCnpjWeights2{6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3};
constexpr std::array<int, 10> kPisWeights{3, 2, 9, 8, 7, 6, 5, 4, 3, 2};

[[noreturn]] void NotAnInteger(char16_t c) {
  throw EConvertError(u"'" + std::u16string(1, c) + u"' não é um valor inteiro válido");
}

// The strict per-character conversion of the digit routines.
int StrictDigit(char16_t c) {
  const int v = DigitValue(c);
  if (v < 0) NotAnInteger(c);
  return v;
}

// As StrictDigit, but a capital letter carries its value too (the access key's issuer).
int StrictAlphanumeric(char16_t c) {
  const int v = AlphanumericValue(c);
  if (v < 0) NotAnInteger(c);
  return v;
}

// The two CPF check digits of the values v[0..8].
std::array<int, 2> CpfDigits(const int* v) {
  int s1 = 0, s2 = 0;
  for (std::size_t i = 0; i < 9; ++i) {
    s1 += v[i] * kCpfWeights1[i];
    s2 += v[i] * kCpfWeights2[i];
  }
  const int dv1 = checkdigit::Mod11Times10(s1);
  const int dv2 = checkdigit::Mod11Times10(s2 + 2 * dv1);
  return {dv1, dv2};
}

// The two CNPJ check digits of the values v[0..11].
std::array<int, 2> CnpjDigits(const int* v) {
  int s1 = 0, s2 = 0;
  for (std::size_t i = 0; i < 12; ++i) {
    s1 += v[i] * kCnpjWeights1[i];
    s2 += v[i] * kCnpjWeights2[i];
  }
  const int dv1 = checkdigit::Mod11ZeroBelow2(s1);
  const int dv2 = checkdigit::Mod11ZeroBelow2(s2 + 2 * dv1);
  return {dv1, dv2};
}

// How IsCPFValido reads each ASCII character: digits and letters (either case) by their
// value, the typed punctuation skipped, anything else refused. A table, so that numbers
// with letters cost no more than numbers of digits.
constexpr signed char kPontuacao = -1, kRecusado = -2;
constexpr auto kLeitura = [] {
  std::array<signed char, 128> t{};
  for (char16_t c = 0; c < t.size(); ++c) {
    const int v = AlphanumericValue(Capital(c));
    t[c] = static_cast<signed char>(v >= 0 ? v : c == u'.' || c == u'-' || c == u'/' ? kPontuacao : kRecusado);
  }
  return t;
}();

bool AllSame(std::u16string_view d) {
  for (char16_t c : d)
    if (c != d[0]) return false;
  return true;
}

// "0"s in front up to `width` (never cut), after the sign.
std::u16string ZeroFill(long long v, int width) {
  return FormatFloat(std::u16string(static_cast<std::size_t>(width), u'0'), static_cast<double>(v));
}

}  // namespace

std::u16string TmStr::CalcModulo11(std::u16string_view S, int aiValorCasoCalculoMaior9) {
  int sum = 0;
  int weight = 2;
  for (std::size_t i = S.size(); i-- > 0;) {
    sum += StrictAlphanumeric(S[i]) * weight;
    weight = weight == 9 ? 2 : weight + 1;
  }
  const int digit = 11 - sum % 11;
  return IntToStr(digit > 9 ? aiValorCasoCalculoMaior9 : digit);
}

std::u16string TmStr::CalculaDigitoCnpjCpf(std::u16string_view Numero) {
  const std::size_t len = Numero.size() + 2;  // with the two placeholder digits
  int v[12];
  std::array<int, 2> dv;
  if (len == 11) {
    if (Numero == u"000000000") return {};
    for (std::size_t i = 0; i < 9; ++i) v[i] = StrictDigit(Numero[i]);
    dv = CpfDigits(v);
  } else {
    if (len < 14 || Numero == u"000000000000") return {};
    // A CNPJ's base may hold capital letters; any other character counts as 0, a lower-case
    // letter too (not a character of a CNPJ: callers capitalise what users type).
    for (std::size_t i = 0; i < 12; ++i) v[i] = std::max(AlphanumericValue(Numero[i]), 0);
    dv = CnpjDigits(v);
  }
  return {static_cast<char16_t>(u'0' + dv[0]), static_cast<char16_t>(u'0' + dv[1])};
}

bool TmStr::IsCPFValido(std::u16string_view Codigo) {
  if (Codigo.empty()) return false;
  int v[14];
  std::size_t n = 0;
  bool iguais = true;  // every character the same
  for (char16_t c : Codigo) {
    const int d = c < kLeitura.size() ? kLeitura[c] : kRecusado;
    if (d < 0) {
      if (d == kRecusado) return false;
      continue;  // punctuation
    }
    if (n == 14) return false;  // more characters than any document has
    iguais = iguais && (n == 0 || d == v[0]);
    v[n++] = d;
  }
  if ((n != 11 && n != 14) || iguais) return false;
  if (n == 11 && std::any_of(v, v + n, [](int d) { return d > 9; })) return false;  // a CPF has no letters
  const auto dv = n == 11 ? CpfDigits(v) : CnpjDigits(v);
  // The check digits are 0–9, so a letter in their place never matches.
  return v[n - 2] == dv[0] && v[n - 1] == dv[1];
}

bool TmStr::IsPISValido(std::u16string_view Codigo) {
  const std::u16string digits = SomenteNumeros(Codigo, true);
  if (digits.size() != 11 || AllSame(digits)) return false;
  return checkdigit::Mod11ZeroBelow2(checkdigit::WeightedSum(digits, kPisWeights)) == DigitValue(digits[10]);
}

std::u16string TmStr::CalculaChaveEletronica(std::u16string_view asUF, TDateTime ahDtEmisDocto,
                                             std::u16string_view asCNPJEmissor, TModeloDocumentoEletronico aeTipo,
                                             int aiSerie, int aiNumero, int aiTpEmissao, int aiControle) {
  static constexpr std::u16string_view kModelo[] = {u"55", u"65", u"57", u"60", u"58"};
  const DateParts dt = DecodeDate(ahDtEmisDocto);
  const int yymm = (dt.Year % 100) * 100 + dt.Month;
  const auto modelo = static_cast<std::size_t>(aeTipo);

  std::u16string key;
  key.reserve(44);
  const TUnidadeFederativa* uf = federative::Find(asUF);
  key += IntToStr(uf ? uf->IBGE : 0);
  key += ZeroFill(yymm, 4);
  // The issuer's letters (a CNPJ may have them) go into the key as capitals.
  std::u16string emissor = PadRight(asCNPJEmissor, 14, u'0', true);
  for (char16_t& c : emissor) c = Capital(c);
  key += emissor;
  if (modelo < std::size(kModelo)) key += kModelo[modelo];
  key += ZeroFill(aiSerie, 3);
  key += ZeroFill(aiNumero, 9);
  key += IntToStr(aiTpEmissao);
  key += ZeroFill(aiControle == -1 ? aiNumero : aiControle, 8);
  key += CalcModulo11(key, 0);
  return key;
}

}  // namespace zelmor
