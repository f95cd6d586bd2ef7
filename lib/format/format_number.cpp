#include "format/format_number.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "core/integer_text.h"
#include "core/text_kit.h"
#include "format/pattern_text.h"

namespace zelmor {
namespace {

// Doubles keep 15 digits, currencies up to 19.
using Decimal = DecimalDigits;

void StripTrailingZeros(Decimal& x) {
  while (x.n > 0 && x.d[x.n - 1] == '0') --x.n;
  if (x.n == 0) x.exp = 0;
}

// Keeps the first k significant digits, rounding half away from zero.
void RoundTo(Decimal& x, long long k) {
  if (k >= x.n) return;
  if (k < 0) {
    x.n = 0;
    x.exp = 0;
    return;
  }
  const bool up = x.d[k] >= '5';
  x.n = static_cast<int>(k);
  if (!up) {
    StripTrailingZeros(x);
    return;
  }
  int i = x.n - 1;
  while (i >= 0 && x.d[i] == '9') --i;  // the 9s turn to trailing zeros
  if (i < 0) {
    x.d[0] = '1';
    x.n = 1;
    ++x.exp;
    return;
  }
  ++x.d[i];
  x.n = i + 1;
}

// Parses to_chars' scientific output ("1.25e+02") into at most `maxDigits` digits
// (the rest are dropped, not rounded).
void ParseScientific(const char* p, const char* end, Decimal& x, int maxDigits) {
  x.n = 0;
  for (; p < end && *p != 'e'; ++p)
    if (*p != '.' && x.n < maxDigits) x.d[x.n++] = *p;
  int e = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, e);
  x.exp = e + 1;
}

// |v| (finite) to 15 significant digits, rounded half away from zero on its exact value.
Decimal FromDouble(double v) {
  Decimal x;
  v = std::fabs(v);
  if (v == 0) return x;
  // For a normal double the shortest round-trip form rounds to the same 15 digits
  // as the exact value, except when it is 16 digits ending in 5: the true value may
  // sit either side of that tie. Subnormals carry too few bits for the shortcut.
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  ParseScientific(buf, r.ptr, x, 17);
  if ((x.n == 16 && x.d[15] == '5') || v < std::numeric_limits<double>::min()) {
    char exact[800];
    auto re = std::to_chars(exact, exact + sizeof exact, v, std::chars_format::scientific, 770);
    ParseScientific(exact, re.ptr, x, 16);
  }
  RoundTo(x, 15);
  StripTrailingZeros(x);
  return x;
}

Decimal FromUnsigned(std::uint64_t mag, int scaleDigits) {
  Decimal x;
  char tmp[24];
  int len = 0;
  do {
    tmp[len++] = static_cast<char>('0' + mag % 10);
    mag /= 10;
  } while (mag != 0);
  for (int i = 0; i < len; ++i) x.d[i] = tmp[len - 1 - i];
  x.n = len;
  x.exp = len - scaleDigits;
  if (len == 1 && x.d[0] == '0') x.n = 0;
  StripTrailingZeros(x);
  return x;
}

std::uint64_t Magnitude(std::int64_t v) {
  return v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
}

Decimal FromCurrency(Currency c) { return FromUnsigned(Magnitude(c.Raw), 4); }

// Digit of 10^p (p < 0 for decimals).
char16_t DigitAt(const Decimal& x, int p) {
  int i = x.exp - 1 - p;
  return (i >= 0 && i < x.n) ? static_cast<char16_t>(x.d[i]) : u'0';
}

// ----- General format --------------------------------------------------------

// Fixed notation unless the value reaches 10^precision or falls below 0.0001.
void AppendGeneral(std::u16string& out, const Decimal& x, bool negative, int precision, int expDigits,
                   const TFormatSettings& fs) {
  if (x.n == 0) {
    out.push_back(u'0');
    return;
  }
  if (negative) out.push_back(u'-');
  if (x.exp > precision || x.exp < -3) {
    out.push_back(static_cast<char16_t>(x.d[0]));
    if (x.n > 1) {
      out.push_back(fs.DecimalSeparator);
      for (int i = 1; i < x.n; ++i) out.push_back(static_cast<char16_t>(x.d[i]));
    }
    out.push_back(u'E');
    int e = x.exp - 1;
    if (e < 0) out.push_back(u'-');
    AppendUnsigned(out, static_cast<std::uint64_t>(e < 0 ? -e : e), expDigits);
    return;
  }
  if (x.exp <= 0) {
    out.push_back(u'0');
    out.push_back(fs.DecimalSeparator);
    out.append(static_cast<std::size_t>(-x.exp), u'0');
    for (int i = 0; i < x.n; ++i) out.push_back(static_cast<char16_t>(x.d[i]));
    return;
  }
  for (int p = x.exp - 1; p >= 0; --p) out.push_back(DigitAt(x, p));
  if (x.n > x.exp) {
    out.push_back(fs.DecimalSeparator);
    for (int i = x.exp; i < x.n; ++i) out.push_back(static_cast<char16_t>(x.d[i]));
  }
}

bool AppendSpecial(std::u16string& out, double v) {
  if (std::isnan(v)) {
    out = u"NAN";
    return true;
  }
  if (std::isinf(v)) {
    out = v > 0 ? u"INF" : u"-INF";
    return true;
  }
  return false;
}

// ----- Patterns ------------------------------------------------------------

// Index just past the quoted text starting at i (the end when unterminated).
std::size_t SkipQuoted(std::u16string_view t, std::size_t i) { return textkit::ScanQuoted(t, i).End; }

struct Sections {
  std::u16string_view part[3];
  int count = 0;
  // The section for index i: a missing or empty one falls back to the first.
  int Resolve(int i) const { return (i < count && !part[i].empty()) ? i : 0; }
};

Sections SplitSections(std::u16string_view f) {
  Sections s;
  std::size_t start = 0;
  for (std::size_t i = 0; i < f.size();) {
    char16_t c = f[i];
    if (c == u'\'' || c == u'"') {
      i = SkipQuoted(f, i);
      continue;
    }
    if (c == u';') {
      s.part[s.count++] = f.substr(start, i - start);
      start = i + 1;
      if (s.count == 3) return s;  // a fourth section is ignored
    }
    ++i;
  }
  s.part[s.count++] = f.substr(start);
  return s;
}

struct Layout {
  std::u16string_view text;
  int intDigits = 0;   // placeholders before the decimal point (mantissa in scientific)
  int fracDigits = 0;  // placeholders after it
  int forcedInt = 0;   // integer places from the first '0' on
  int forcedFrac = 0;  // decimal places up to the last '0'
  bool grouping = false;
  bool scientific = false;
  std::size_t expPos = 0;  // the 'E' of "E+00"
  int expDigits = 0;
};

Layout ScanSection(std::u16string_view t) {
  Layout s;
  s.text = t;
  bool point = false;
  int firstIntZero = -1;
  for (std::size_t i = 0; i < t.size();) {
    switch (t[i]) {
      case u'\'':
      case u'"': i = SkipQuoted(t, i); continue;
      case u'0':
      case u'#':
        if (!point) {
          if (t[i] == u'0' && firstIntZero < 0) firstIntZero = s.intDigits;
          ++s.intDigits;
        } else {
          ++s.fracDigits;
          if (t[i] == u'0') s.forcedFrac = s.fracDigits;
        }
        break;
      case u'.': point = true; break;
      case u',':
        if (!point) s.grouping = true;
        break;
      case u'E':
      case u'e':
        if (i + 1 < t.size() && (t[i + 1] == u'+' || t[i + 1] == u'-')) {
          s.scientific = true;
          s.grouping = false;
          s.expPos = i;
          for (i += 2; i < t.size() && t[i] == u'0'; ++i) ++s.expDigits;
          i = t.size();  // what follows the exponent is literal
          continue;
        }
        break;
      default: break;
    }
    ++i;
  }
  if (firstIntZero >= 0) s.forcedInt = s.intDigits - firstIntZero;
  return s;
}

// Rounds x for the layout; in scientific form x becomes the mantissa and the
// returned value is the exponent to print.
int RoundForLayout(const Layout& s, Decimal& x) {
  if (!s.scientific) {
    RoundTo(x, static_cast<long long>(x.exp) + s.fracDigits);
    return 0;
  }
  RoundTo(x, std::max(1, s.intDigits + s.fracDigits));
  if (x.n == 0) return 0;
  int shown = x.exp - s.intDigits;
  x.exp = s.intDigits;
  return shown;
}

using pattern::AppendQuoted;

void AppendLiteralRun(std::u16string& out, std::u16string_view t, std::size_t i) {
  while (i < t.size()) {
    if (t[i] == u'\'' || t[i] == u'"') {
      i = AppendQuoted(out, t, i);
    } else {
      out.push_back(t[i++]);
    }
  }
}

void Render(const Layout& s, const Decimal& x, int shownExp, bool minus, const TFormatSettings& fs,
            std::u16string& out) {
  const int intShown = std::max(x.n == 0 ? 0 : std::max(x.exp, 0), s.forcedInt);
  const int fracSignificant = x.n == 0 ? 0 : x.n - x.exp;
  const int fracShown = std::clamp(std::max(s.forcedFrac, fracSignificant), 0, s.fracDigits);
  out.reserve(s.text.size() + static_cast<std::size_t>(intShown) * 4 / 3 + static_cast<std::size_t>(fracShown) + 16);
  if (minus) out.push_back(u'-');

  int intSeen = 0, fracSeen = 0;
  bool point = false, intDone = false;
  auto emitInt = [&](int top, int bottom) {
    for (int q = top; q >= bottom; --q) {
      if (q >= intShown) continue;
      out.push_back(DigitAt(x, q));
      if (s.grouping && q > 0 && q % 3 == 0) out.push_back(fs.ThousandSeparator);
    }
  };
  const std::u16string_view t = s.text;
  for (std::size_t i = 0; i < t.size();) {
    char16_t c = t[i];
    if (s.scientific && i == s.expPos) {
      out.push_back(c);
      if (shownExp < 0)
        out.push_back(u'-');
      else if (t[i + 1] == u'+')
        out.push_back(u'+');
      AppendUnsigned(out, static_cast<std::uint64_t>(shownExp < 0 ? -shownExp : shownExp), std::max(1, s.expDigits));
      AppendLiteralRun(out, t, i + 2 + static_cast<std::size_t>(s.expDigits));
      return;
    }
    switch (c) {
      case u'\'':
      case u'"': i = AppendQuoted(out, t, i); continue;
      case u'0':
      case u'#':
        if (!point) {
          const int p = s.intDigits - 1 - intSeen;
          emitInt(intSeen == 0 ? std::max(intShown - 1, p) : p, p);
          ++intSeen;
          intDone = true;
        } else {
          if (fracSeen < fracShown) out.push_back(DigitAt(x, -(fracSeen + 1)));
          ++fracSeen;
        }
        break;
      case u'.':
        if (!point) {
          point = true;
          if (!intDone) emitInt(intShown - 1, 0);
          intDone = true;
          if (fracShown > 0) out.push_back(fs.DecimalSeparator);
        }
        break;
      case u',': break;
      default: out.push_back(c); break;
    }
    ++i;
  }
}

std::u16string FormatDecimal(std::u16string_view format, const Decimal& value, bool negative,
                             const TFormatSettings& fs) {
  const Sections sections = SplitSections(format);
  const int wanted = value.n == 0 ? 2 : (negative ? 1 : 0);
  int used = sections.Resolve(wanted);
  Layout layout = ScanSection(sections.part[used]);
  Decimal x = value;
  int shownExp = RoundForLayout(layout, x);
  if (x.n == 0 && wanted != 2) {
    // Rounds to zero: the zero section, and never a "-0".
    used = sections.Resolve(2);
    layout = ScanSection(sections.part[used]);
    x = Decimal{};
    shownExp = 0;
    negative = false;
  }
  // A value shown through its own negative section carries no automatic minus.
  const bool minus = negative && used != 1;
  std::u16string out;
  Render(layout, x, shownExp, minus, fs, out);
  return out;
}

}  // namespace

DecimalDigits GeneralDigits(double Value) { return FromDouble(Value); }

std::u16string FloatToStr(double Value, const TFormatSettings& fs) {
  std::u16string out;
  if (AppendSpecial(out, Value)) return out;
  out.reserve(24);
  AppendGeneral(out, FromDouble(Value), Value < 0, 15, 0, fs);
  return out;
}

std::u16string CurrToStr(Currency Value, const TFormatSettings& fs) {
  std::u16string out;
  out.reserve(24);
  AppendGeneral(out, FromCurrency(Value), Value.Raw < 0, 19, 0, fs);
  return out;
}

std::u16string FormatFloat(std::u16string_view Format, double Value, const TFormatSettings& fs) {
  if (Format.empty() || !std::isfinite(Value) || std::fabs(Value) >= 1e18) return FloatToStr(Value, fs);
  return FormatDecimal(Format, FromDouble(Value), Value < 0, fs);
}

std::u16string FormatCurr(std::u16string_view Format, Currency Value, const TFormatSettings& fs) {
  if (Format.empty()) return CurrToStr(Value, fs);
  return FormatDecimal(Format, FromCurrency(Value), Value.Raw < 0, fs);
}

std::u16string FloatToStrF(double Value, FloatFormat Format, int Precision, int Digits, const TFormatSettings& fs) {
  std::u16string out;
  if (AppendSpecial(out, Value)) return out;
  const int precision = std::clamp(Precision, 1, 15);
  Decimal x = FromDouble(Value);
  const bool negative = Value < 0;
  out.reserve(32);

  if (Format == FloatFormat::General) {
    RoundTo(x, precision);
    AppendGeneral(out, x, negative, precision, std::clamp(Digits, 0, 4), fs);
    return out;
  }
  if (Format == FloatFormat::Exponent) {
    RoundTo(x, precision);
    if (negative && x.n > 0) out.push_back(u'-');
    out.push_back(x.n == 0 ? u'0' : static_cast<char16_t>(x.d[0]));
    if (precision > 1) out.push_back(fs.DecimalSeparator);
    for (int i = 1; i < precision; ++i) out.push_back(i < x.n ? static_cast<char16_t>(x.d[i]) : u'0');
    out.push_back(u'E');
    const int e = x.n == 0 ? 0 : x.exp - 1;
    out.push_back(e < 0 ? u'-' : u'+');
    AppendUnsigned(out, static_cast<std::uint64_t>(e < 0 ? -e : e), std::clamp(Digits, 0, 4));
    return out;
  }

  // Fixed, Number, Currency: one rounding at whichever limit comes first.
  const int digits = std::clamp(Digits, 0, 18);
  RoundTo(x, std::min<long long>(precision, static_cast<long long>(x.exp) + digits));
  if (x.exp > precision) {
    AppendGeneral(out, x, negative, precision, 0, fs);
    return out;
  }
  if (negative && x.n > 0) out.push_back(u'-');
  if (Format == FloatFormat::Currency && !fs.CurrencyString.empty()) {
    out.append(fs.CurrencyString);
    out.push_back(u' ');
  }
  const bool grouping = Format != FloatFormat::Fixed;
  const int intDigits = x.n == 0 ? 0 : std::max(x.exp, 0);
  if (intDigits == 0) out.push_back(u'0');
  for (int q = intDigits - 1; q >= 0; --q) {
    out.push_back(DigitAt(x, q));
    if (grouping && q > 0 && q % 3 == 0) out.push_back(fs.ThousandSeparator);
  }
  if (digits > 0) {
    out.push_back(fs.DecimalSeparator);
    for (int k = 1; k <= digits; ++k) out.push_back(DigitAt(x, -k));
  }
  return out;
}

}  // namespace zelmor
