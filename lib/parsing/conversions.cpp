#include "format/conversions.h"

#include <charconv>
#include <limits>
#include <string>
#include <type_traits>

#include "core/errors.h"
#include "core/text.h"
#include "format/calendar.h"

namespace zelmor {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

std::u16string_view TrimBlanks(std::u16string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

[[noreturn]] void Fail(std::u16string_view s, std::u16string_view what) {
  std::u16string msg;
  msg.reserve(s.size() + what.size() + 2);
  msg.push_back(u'\'');
  msg.append(s);
  msg.push_back(u'\'');
  msg.append(what);
  throw EConvertError(msg);
}

constexpr std::u16string_view kNotInteger = u" não é um valor inteiro válido";
constexpr std::u16string_view kNotFloat = u" não é um valor de ponto flutuante válido";
constexpr std::u16string_view kNotDate = u" não é uma data válida";
constexpr std::u16string_view kNotTime = u" não é uma hora válida";
constexpr std::u16string_view kNotDateTime = u" não é uma data e hora válida";

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

template <class Int>
bool ParseInteger(std::u16string_view s, Int& value) {
  using U = std::make_unsigned_t<Int>;
  s = TrimBlanks(s);
  std::size_t i = 0;
  const std::size_t n = s.size();
  bool negative = false;
  if (i < n && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  bool hex = false;
  if (i < n && s[i] == u'$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    hex = true;
    i += 2;
  }
  if (i == n) return false;
  U mag = 0;
  if (hex) {
    for (; i < n; ++i) {
      int d = HexValue(s[i]);
      if (d < 0 || mag > (std::numeric_limits<U>::max() >> 4)) return false;
      mag = static_cast<U>(mag << 4 | static_cast<U>(d));
    }
  } else {
    const U limit = static_cast<U>(std::numeric_limits<Int>::max()) + (negative ? 1 : 0);
    for (; i < n; ++i) {
      if (!IsDigit(s[i])) return false;
      U d = static_cast<U>(s[i] - u'0');
      if (mag > (limit - d) / 10) return false;
      mag = static_cast<U>(mag * 10 + d);
    }
  }
  // Two's complement: the hex forms may fill the sign bit.
  value = static_cast<Int>(negative ? static_cast<U>(0 - mag) : mag);
  return true;
}

// ----- Dates and times ------------------------------------------------------

enum class DateOrder { DMY, MDY, YMD };

DateOrder OrderOf(std::u16string_view f) {
  for (std::size_t i = 0; i < f.size(); ++i) {
    char16_t c = AsciiUpper(f[i]);
    if (c == u'\'' || c == u'"') {
      std::size_t close = f.find(f[i], i + 1);
      if (close == std::u16string_view::npos) break;
      i = close;
      continue;
    }
    if (c == u'D') return DateOrder::DMY;
    if (c == u'M') return DateOrder::MDY;
    if (c == u'Y') return DateOrder::YMD;
  }
  return DateOrder::MDY;
}

// The classic scanner: every step skips blanks first.
class Scanner {
 public:
  Scanner(std::u16string_view s, const TFormatSettings& fs) : S(s), Fs(fs) {}

  void Blanks() {
    while (Pos < S.size() && IsBlank(S[Pos])) ++Pos;
  }
  bool AtEnd() const { return Pos >= S.size(); }

  // Digits until the number reaches 1000, so a run of digits cannot overflow.
  bool Number(int& value, int& length) {
    Blanks();
    std::size_t i = Pos;
    int v = 0;
    while (i < S.size() && IsDigit(S[i]) && v < 1000) v = v * 10 + (S[i++] - u'0');
    if (i == Pos) return false;
    length = static_cast<int>(i - Pos);
    Pos = i;
    value = v;
    return true;
  }

  bool Char(char16_t c) {
    Blanks();
    if (Pos < S.size() && S[Pos] == c) {
      ++Pos;
      return true;
    }
    return false;
  }

  bool Text(std::u16string_view symbol) {
    if (symbol.empty()) return false;
    Blanks();
    if (S.size() - Pos < symbol.size() || !SameText(S.substr(Pos, symbol.size()), symbol)) return false;
    Pos += symbol.size();
    return true;
  }

  bool Date(TDateTime& value) {
    int n1, l1, n2, l2, n3, l3;
    const char16_t sep = Fs.DateSeparator;
    if (!Number(n1, l1) || !Char(sep) || !Number(n2, l2)) return false;
    const DateOrder order = OrderOf(Fs.ShortDateFormat);
    int y, m, d;
    if (Char(sep)) {
      if (!Number(n3, l3)) return false;
      int yearLength = l3;
      switch (order) {
        case DateOrder::DMY: y = n3, m = n2, d = n1; break;
        case DateOrder::MDY: y = n3, m = n1, d = n2; break;
        case DateOrder::YMD: y = n1, m = n2, d = n3, yearLength = l1; break;
      }
      if (yearLength <= 2) {
        // The 100 years starting 50 before the current one.
        const int base = DecodeDate(zelmor::Date()).Year - 50;
        y += base / 100 * 100;
        if (y < base) y += 100;
      }
    } else {
      y = DecodeDate(zelmor::Date()).Year;
      if (order == DateOrder::DMY)
        d = n1, m = n2;
      else
        m = n1, d = n2;
    }
    Char(sep);
    Blanks();
    return TryEncodeDate(y, m, d, value);
  }

  bool Time(TDateTime& value) {
    int baseHour = -1;
    if (Text(Fs.TimeAMString) || Text(u"AM"))
      baseHour = 0;
    else if (Text(Fs.TimePMString) || Text(u"PM"))
      baseHour = 12;
    int h, min = 0, sec = 0, ms = 0, len;
    if (!Number(h, len)) return false;
    if (Char(Fs.TimeSeparator)) {
      if (!Number(min, len)) return false;
      if (Char(Fs.TimeSeparator)) {
        if (!Number(sec, len)) return false;
        if (Char(u'.') || Char(Fs.DecimalSeparator)) {
          if (!Number(ms, len)) return false;
        }
      }
    }
    if (baseHour < 0) {
      if (Text(Fs.TimeAMString) || Text(u"AM"))
        baseHour = 0;
      else if (Text(Fs.TimePMString) || Text(u"PM"))
        baseHour = 12;
    }
    if (baseHour >= 0) {
      if (h == 0 || h > 12) return false;
      h = (h == 12 ? 0 : h) + baseHour;
    }
    Blanks();
    return TryEncodeTime(h, min, sec, ms, value);
  }

 private:
  std::u16string_view S;
  const TFormatSettings& Fs;
  std::size_t Pos = 0;
};

}  // namespace

bool TryStrToInt(std::u16string_view S, int& Value) { return ParseInteger(S, Value); }
bool TryStrToInt64(std::u16string_view S, std::int64_t& Value) { return ParseInteger(S, Value); }

int StrToInt(std::u16string_view S) {
  int v;
  if (!ParseInteger(S, v)) Fail(S, kNotInteger);
  return v;
}

std::int64_t StrToInt64(std::u16string_view S) {
  std::int64_t v;
  if (!ParseInteger(S, v)) Fail(S, kNotInteger);
  return v;
}

bool TryStrToFloat(std::u16string_view S, double& Value, const TFormatSettings& fs) {
  const std::u16string_view s = TrimBlanks(S);
  // Checked and copied into plain ASCII for from_chars: "-12.5e+3".
  char small[64];
  std::string large;
  char* buf = small;
  if (s.size() > sizeof small) {
    large.resize(s.size());
    buf = large.data();
  }
  std::size_t k = 0, i = 0;
  const std::size_t n = s.size();
  bool negative = false;
  if (i < n && (s[i] == u'+' || s[i] == u'-')) {
    negative = s[i] == u'-';
    if (negative) buf[k++] = '-';
    ++i;
  }
  // Decimal position of the leading digit, to tell overflow from underflow.
  long long magnitude = 0;
  bool nonZero = false;
  int digits = 0;
  for (; i < n && IsDigit(s[i]); ++i, ++digits) {
    nonZero |= s[i] != u'0';
    if (nonZero) ++magnitude;
    buf[k++] = static_cast<char>(s[i]);
  }
  if (i < n && s[i] == fs.DecimalSeparator) {
    buf[k++] = '.';
    for (++i; i < n && IsDigit(s[i]); ++i, ++digits) {
      if (!nonZero && s[i] == u'0') --magnitude;
      nonZero |= s[i] != u'0';
      buf[k++] = static_cast<char>(s[i]);
    }
  }
  if (digits == 0) return false;
  long long exponent = 0;
  if (i < n && (s[i] == u'e' || s[i] == u'E')) {
    buf[k++] = 'e';
    ++i;
    bool expNegative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) {
      expNegative = s[i] == u'-';
      buf[k++] = static_cast<char>(s[i++]);
    }
    std::size_t start = i;
    for (; i < n && IsDigit(s[i]); ++i) {
      if (exponent < 1000000000) exponent = exponent * 10 + (s[i] - u'0');
      buf[k++] = static_cast<char>(s[i]);
    }
    if (i == start) return false;
    if (expNegative) exponent = -exponent;
  }
  if (i != n) return false;
  double v = 0;
  auto r = std::from_chars(buf, buf + k, v, std::chars_format::general);
  if (r.ec == std::errc::result_out_of_range) {
    if (nonZero && magnitude + exponent > 0) return false;
    v = negative ? -0.0 : 0.0;
  } else if (r.ec != std::errc() || r.ptr != buf + k) {
    return false;
  }
  Value = v;
  return true;
}

double StrToFloat(std::u16string_view S, const TFormatSettings& fs) {
  double v;
  if (!TryStrToFloat(S, v, fs)) Fail(S, kNotFloat);
  return v;
}

bool TryStrToDate(std::u16string_view S, TDateTime& Value, const TFormatSettings& fs) {
  Scanner sc(S, fs);
  TDateTime d;
  if (!sc.Date(d) || !sc.AtEnd()) return false;
  Value = d;
  return true;
}

bool TryStrToTime(std::u16string_view S, TDateTime& Value, const TFormatSettings& fs) {
  Scanner sc(S, fs);
  TDateTime t;
  if (!sc.Time(t) || !sc.AtEnd()) return false;
  Value = t;
  return true;
}

bool TryStrToDateTime(std::u16string_view S, TDateTime& Value, const TFormatSettings& fs) {
  Scanner sc(S, fs);
  TDateTime d, t = 0.0;
  if (sc.Date(d) && (sc.AtEnd() || (sc.Time(t) && sc.AtEnd()))) {
    Value = d >= 0 ? d + t : d - t;
    return true;
  }
  return TryStrToTime(S, Value, fs);
}

TDateTime StrToDate(std::u16string_view S, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToDate(S, v, fs)) Fail(S, kNotDate);
  return v;
}

TDateTime StrToTime(std::u16string_view S, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToTime(S, v, fs)) Fail(S, kNotTime);
  return v;
}

TDateTime StrToDateTime(std::u16string_view S, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToDateTime(S, v, fs)) Fail(S, kNotDateTime);
  return v;
}

}  // namespace zelmor
