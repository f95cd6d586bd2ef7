// EAN/GTIN check digits and CMC-7 cheque lines.
#include <random>

#include "core/errors.h"
#include "strings/check_digit_math.h"
#include "strings/mString.h"

namespace zelmor {
namespace {

int StrictDigit(char16_t c) {
  const int v = checkdigit::DigitValue(c);
  if (v < 0) throw EConvertError(u"'" + std::u16string(1, c) + u"' não é um valor inteiro válido");
  return v;
}

// The check digit of `Valor` zero-filled on the left to `width` digits (a longer one is
// used by its first `width`), the first position weighing `firstWeight` and the next
// the other of 1 and 3.
char16_t GtinDigit(std::u16string_view Valor, std::size_t width, int firstWeight) {
  if (Valor.size() > width) Valor = Valor.substr(0, width);
  const std::size_t pad = width - Valor.size();  // leading zeros add nothing but shift the weights
  int sum = 0;
  for (std::size_t i = 0; i < Valor.size(); ++i) {
    const std::size_t pos = pad + i;  // 0-based position in the padded code
    const int weight = pos % 2 == 0 ? firstWeight : 4 - firstWeight;
    sum += StrictDigit(Valor[i]) * weight;
  }
  const int d = 10 - sum % 10;
  return static_cast<char16_t>(u'0' + (d == 10 ? 0 : d));
}

// Digits only, at least one of them not zero, and small enough for a 64-bit integer.
bool ReadsAsNonZeroInt64(std::u16string_view s) {
  if (s.empty()) return false;
  bool nonZero = false;
  for (char16_t c : s) {
    if (!checkdigit::IsDigit(c)) return false;
    nonZero = nonZero || c != u'0';
  }
  if (!nonZero) return false;
  std::size_t first = s.find_first_not_of(u'0');
  const std::u16string_view sig = s.substr(first);
  constexpr std::u16string_view kMax = u"9223372036854775807";
  return sig.size() < kMax.size() || (sig.size() == kMax.size() && sig <= kMax);
}

// The CMC-7 modulo-10 digit: weights 2, 1, 2, ... from the last digit, two-digit
// products reduced to the sum of their digits.
int Cmc7Digit(std::u16string_view field) {
  int sum = 0;
  int weight = 2;
  for (std::size_t i = field.size(); i-- > 0;) {
    int p = (field[i] - u'0') * weight;
    if (p > 9) p = p / 10 + p % 10;
    sum += p;
    weight = 3 - weight;
  }
  return (10 - sum % 10) % 10;
}

}  // namespace

std::u16string TmStr::GetCodBarraDigito(std::u16string_view Valor) {
  return std::u16string(1, GtinDigit(Valor, 12, 1));
}

std::u16string TmStr::GeraCodBarra(std::u16string_view Valor) {
  std::u16string r(Valor);
  r += GtinDigit(Valor, 12, 1);
  return r;
}

std::u16string TmStr::GetCodBarra14Digito(std::u16string_view Valor) {
  return std::u16string(1, GtinDigit(Valor, 13, 3));
}

std::u16string TmStr::GeraCodBarra14(std::u16string_view Valor) {
  std::u16string r(Valor);
  r += GtinDigit(Valor, 13, 3);
  return r;
}

bool TmStr::IsCodBarraValido(std::u16string_view Valor, bool abValidar14Digito) {
  if (!ReadsAsNonZeroInt64(Valor)) return false;
  if (abValidar14Digito && Valor.size() == 14) return IsCodBarra14Valido(Valor);
  return GtinDigit(Valor.substr(0, Valor.size() - 1), 12, 1) == Valor.back();
}

bool TmStr::IsCodBarra14Valido(std::u16string_view Valor) {
  if (!ReadsAsNonZeroInt64(Valor)) return false;
  return GtinDigit(Valor.substr(0, Valor.size() - 1), 13, 3) == Valor.back();
}

std::u16string TmStr::FormataCodigoBarrasPonto(std::u16string_view Codigo) {
  if (Codigo.empty()) return {};
  const std::u16string_view corpo = Codigo.substr(0, Codigo.size() - 1);
  std::u16string r;
  r.reserve(Codigo.size() + Codigo.size() / 3 + 1);
  for (std::size_t i = 0; i < corpo.size(); ++i) {
    if (i > 0 && (corpo.size() - i) % 3 == 0) r += u'.';
    r += corpo[i];
  }
  if (!r.empty()) r += u'.';
  r += Codigo.back();
  return r;
}

std::u16string TmStr::GetCmc7() {
  thread_local std::mt19937 gen{std::random_device{}()};
  std::uniform_int_distribution<int> digit(0, 9);
  auto field = [&](std::size_t n) {
    std::u16string f(n, u'0');
    for (char16_t& c : f) c = static_cast<char16_t>(u'0' + digit(gen));
    return f;
  };
  const std::u16string c1 = field(7), c2 = field(10), c3 = field(10);
  std::u16string r;
  r.reserve(30);
  r += c1;
  r += static_cast<char16_t>(u'0' + Cmc7Digit(c2));
  r += c2;
  r += static_cast<char16_t>(u'0' + Cmc7Digit(c1));
  r += c3;
  r += static_cast<char16_t>(u'0' + Cmc7Digit(c3));
  return r;
}

}  // namespace zelmor
