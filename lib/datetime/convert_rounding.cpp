// Truncation, comparison and rounding. Trunca, FloatIgual and ArredondaAritmetica
// read the value's general format (15 significant digits) as decimal digits and
// cut or round those, then read the digits back as the nearest double, which is
// what parsing the cut text gives. Arredonda rounds the double itself.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "datetime/mConvert.h"
#include "format/format_number.h"

namespace zelmor {

namespace {

// The general format of a finite |v| as digits, so the rules work on exactly the
// text they speak of.
using Digits = DecimalDigits;

const TFormatSettings& PointSettings() {
  static const TFormatSettings s = [] {
    TFormatSettings r = RegionalSettings::Plain();
    r.DecimalSeparator = u'.';
    r.ThousandSeparator = u',';
    return r;
  }();
  return s;
}

// The nearest double to ±0.d[0]…d[k-1] × 10^exp.
double FromDigits(const Digits& x, int k, bool negative) {
  if (k <= 0) return 0.0;
  char buf[48];
  char* p = buf;
  if (negative) *p++ = '-';
  for (int i = 0; i < k; ++i) *p++ = x.d[i];
  *p++ = 'e';
  p = std::to_chars(p, buf + sizeof buf, x.exp - k).ptr;
  double v = 0;
  std::from_chars(buf, p, v);
  return v;
}

// Places beyond which rounding a double's fraction changes nothing.
constexpr int kMaxPlaces = 400;

long double Pow10(int p) {
  if (p <= 27) {  // exact in extended precision
    long double r = 1;
    for (int i = 0; i < p; ++i) r *= 10;
    return r;
  }
  return std::pow(10.0L, p);
}

}  // namespace

double TmConv::Trunca(double Valor, int Decimais) {
  if (!std::isfinite(Valor)) return Valor;
  const Digits x = GeneralDigits(Valor);
  if (x.n == 0) return 0.0;
  // Keep the digits down to the Decimais-th decimal: those above 10^-Decimais.
  const long long keep = static_cast<long long>(x.exp) + std::max(Decimais, 0);
  return FromDigits(x, static_cast<int>(std::min<long long>(keep, x.n)), Valor < 0);
}

double TmConv::Arredonda(double Valor, int Precisao) {
  if (!std::isfinite(Valor)) return Valor;
  const int p = Precisao < 1 ? 0 : Precisao;
  // From 2^52 up a double has no fraction; past kMaxPlaces rounding changes nothing.
  if (std::fabs(Valor) >= 4503599627370496.0 || p > kMaxPlaces) return Valor;
  const long double scale = Pow10(p);
  const long double whole = std::trunc(static_cast<long double>(Valor));
  // nearbyint rounds an exact half to the even neighbour, as the processor does by default.
  const long double r = std::nearbyint((static_cast<long double>(Valor) - whole) * scale);
  if (p > 18) return static_cast<double>(whole + r / scale);
  // whole + r / 10^p is a decimal with p places: give the double nearest to it
  // rather than the extended sum rounded a second time.
  long long w = static_cast<long long>(std::fabs(whole));
  long long frac = static_cast<long long>(std::fabs(r));
  const long long unit = static_cast<long long>(scale);
  if (frac >= unit) {  // the fraction rounded up to a whole unit
    ++w;
    frac -= unit;
  }
  char buf[48];
  char* q = buf;
  if (Valor < 0) *q++ = '-';
  q = std::to_chars(q, buf + sizeof buf, w).ptr;
  if (p > 0) {
    *q++ = '.';
    for (int i = p - 1; i >= 0; --i, frac /= 10) q[i] = static_cast<char>('0' + frac % 10);
    q += p;
  }
  double v = 0;
  std::from_chars(buf, q, v);
  return v == 0 ? 0.0 : v;
}

double TmConv::TruncaArredonda(double Valor, int Precisao) {
  const int p = std::clamp(Precisao, 0, kMaxPlaces);
  return Arredonda(Trunca(Valor, p + 1), p);
}

double TmConv::FloatComp(double Valor1, int Decimais) { return TruncaArredonda(Valor1, Decimais); }

bool TmConv::FloatIgual(double Valor1, double Valor2, int Decimais) {
  return FloatToStr(TruncaArredonda(Valor1, Decimais)) == FloatToStr(TruncaArredonda(Valor2, Decimais));
}

double TmConv::ArredondaAritmetica(double AValorEntrada, int AQtdeCasas, bool ArredondarValor) {
  if (!std::isfinite(AValorEntrada)) return AValorEntrada;
  // The magnitude is rounded and the sign put back, so -2.675 rounds as 2.675 does.
  const bool negative = AValorEntrada < 0;
  const double v = Trunca(std::fabs(AValorEntrada), 10);
  if (v >= 1e15) return negative ? -v : v;  // no decimals left in 15 digits

  // The fraction written with six decimals, rounded at the sixth. When it rounds up
  // to 1 the unit is carried into the integer part.
  double whole = std::trunc(v);
  const std::u16string six = FloatToStrF(v - whole, FloatFormat::Fixed, 15, 6, PointSettings());  // "0.675000"
  char d[8] = {'0', '0', '0', '0', '0', '0', '0', '0'};
  if (six[0] == u'1')
    whole += 1;
  else
    for (int i = 0; i < 6; ++i) d[i] = static_cast<char>(six[2 + i]);

  // Digits past the sixth are zeros, so seven places behave as any more.
  const int n = std::clamp(AQtdeCasas, 0, 7);
  long long kept = 0;  // the first n digits as a number
  for (int i = 0; i < n; ++i) kept = kept * 10 + (d[i] - '0');
  if (ArredondarValor) {
    const int c = d[n] - '0';  // the first dropped digit
    // The last kept digit; with no decimals kept, the units digit.
    const int last = n > 0 ? d[n - 1] - '0' : static_cast<int>(std::fmod(whole, 10.0));
    bool laterNonZero = false;
    for (int i = n + 1; i < 8; ++i) laterNonZero |= d[i] != '0';
    // A 0 before a dropped 5 counts as odd; 2, 4, 6 and 8 round up only when
    // something follows the 5.
    const bool up = c >= 6 || (c == 5 && (last % 2 == 1 || last == 0 || laterNonZero));
    if (up) {
      long long limit = 1;
      for (int i = 0; i < n; ++i) limit *= 10;
      if (++kept == limit) {  // carried past the kept digits (".999" to two places)
        kept = 0;
        whole += 1;
      }
    }
  }
  // Read back as the text "whole,kept" would be: the nearest double to that decimal.
  char buf[48];
  char* p = std::to_chars(buf, buf + sizeof buf, static_cast<long long>(whole)).ptr;
  if (n > 0) {
    *p++ = '.';
    for (long long div = static_cast<long long>(Pow10(n - 1)); div > 0; div /= 10)
      *p++ = static_cast<char>('0' + kept / div % 10);
  }
  double r = 0;
  std::from_chars(buf, p, r);
  if (r == 0) return 0.0;
  return negative ? -r : r;
}

std::int32_t TmConv::FormatCurrencyToCompare(Currency Valor) {
  const std::int64_t cents = Valor.Raw / 100;  // C++ division cuts toward zero
  // Beyond ±21.474.836,47 the cents do not fit the result: refused, not clipped.
  if (cents < std::numeric_limits<std::int32_t>::min() || cents > std::numeric_limits<std::int32_t>::max())
    throw EConvertError(u"Valor fora do intervalo para comparação em centavos (até ±21.474.836,47)");
  return static_cast<std::int32_t>(cents);
}

double TmConv::Divide(double Valor1, double Valor2) {
  if (Valor2 == 0) {
    if (Valor1 == 0 || std::isnan(Valor1)) throw EInvalidOp(u"Operação de ponto flutuante inválida");
    throw EZeroDivide(u"Divisão de ponto flutuante por zero");
  }
  const double q = Valor1 / Valor2;
  if (std::isnan(q)) return q;
  if (std::isinf(q)) return 0.0;  // beyond 1e15 like any other huge quotient
  const Digits x = GeneralDigits(q);
  // The general format switches to the exponent form below 0.0001 and from 1e15.
  if (x.n > 0 && (x.exp > 15 || x.exp < -3)) return 0.0;
  return q;
}

double TmConv::ConfereBugZero(double Valor) { return Valor < 0.0001 ? 0.0 : Valor; }

}  // namespace zelmor
