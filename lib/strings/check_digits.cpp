// Check digits of CPF, CNPJ and PIS numbers and the access key of electronic
// fiscal documents.
#include <algorithm>
#include <array>

#include "core/errors.h"
#include "core/text.h"
#include "format/calendar.h"
#include "format/format_number.h"
#include "strings/check_digit_math.h"
#include "strings/mString.h"
#include "system/federative_units.h"

namespace zelmor {
namespace {

using checkdigit::DigitValue;

constexpr std::array<int, 9> kCpfWeights1{10, 9, 8, 7, 6, 5, 4, 3, 2};
constexpr std::array<int, 9> kCpfWeights2{11, 10, 9, 8, 7, 6, 5, 4, 3};
constexpr std::array<int, 12> kCnpjWeights1{5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
constexpr std::array<int, 12> kCnpjWeights2{6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3};
constexpr std::array<int, 10> kPisWeights{3, 2, 9, 8, 7, 6, 5, 4, 3, 2};

// The strict per-character conversion of the digit routines.
int StrictDigit(char16_t c) {
  const int v = DigitValue(c);
  if (v < 0) throw EConvertError(u"'" + std::u16string(1, c) + u"' não é um valor inteiro válido");
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
    sum += StrictDigit(S[i]) * weight;
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
    // In a CNPJ a character without a value counts as 0.
    for (std::size_t i = 0; i < 12; ++i) v[i] = std::max(DigitValue(Numero[i]), 0);
    dv = CnpjDigits(v);
  }
  return {static_cast<char16_t>(u'0' + dv[0]), static_cast<char16_t>(u'0' + dv[1])};
}

bool TmStr::IsCPFValido(std::u16string_view Codigo) {
  if (Codigo.empty()) return false;
  int v[14];
  std::size_t n = 0;
  bool iguais = true;  // every digit the same
  for (char16_t c : Codigo) {
    const int d = DigitValue(c);
    if (d >= 0) {
      if (n == 14) return false;  // more digits than any document has
      iguais = iguais && (n == 0 || d == v[0]);
      v[n++] = d;
    } else if (c != u'-' && c != u'.' && c != u'/') {
      return false;
    }
  }
  if ((n != 11 && n != 14) || iguais) return false;
  const auto dv = n == 11 ? CpfDigits(v) : CnpjDigits(v);
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
  key += IntToStr(TmUF::IBGE(asUF));
  key += ZeroFill(yymm, 4);
  key += PadRight(asCNPJEmissor, 14, u'0', true);
  if (modelo < std::size(kModelo)) key += kModelo[modelo];
  key += ZeroFill(aiSerie, 3);
  key += ZeroFill(aiNumero, 9);
  key += IntToStr(aiTpEmissao);
  key += ZeroFill(aiControle == -1 ? aiNumero : aiControle, 8);
  key += CalcModulo11(key, 0);
  return key;
}

}  // namespace zelmor
