#include "parsing/conversions.h"

#include <charconv>
#include <cstdint>
#include <string>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "core/integer_text.h"
#include "core/text.h"
#include "core/text_kit.h"
#include "regional/regional_copies.h"

namespace zelmor {
namespace {

using textkit::IsDigit;
using textkit::IsSpace;
using textkit::IsSpaceOrTab;
using textkit::Trim;

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

// ----- Dates and times ------------------------------------------------------

enum class DateOrder { DMY, MDY, YMD };

DateOrder OrderOf(std::u16string_view f) {
  for (std::size_t i = 0; i < f.size(); ++i) {
    char16_t c = AsciiUpper(f[i]);
    if (c == u'\'' || c == u'"') {
      i = textkit::ScanQuoted(f, i).End - 1;  // the loop steps past the closing quote
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
    while (Pos < S.size() && IsSpaceOrTab(S[Pos])) ++Pos;
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
  const std::u16string_view s = Trim(S, IsSpaceOrTab);
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

double LenientStrToFloat(std::u16string_view S, char16_t From, char16_t To) {
  // Read as if every `From` character were `To`, without building the swapped text.
  auto at = [&](std::size_t i) { return S[i] == From ? To : S[i]; };
  bool minus = false, open = false, close = false;
  std::size_t b = 0, e = S.size();
  for (std::size_t i = 0; i < e; ++i) {
    const char16_t c = at(i);
    minus |= c == u'-';
    open |= c == u'(';
    close |= c == u')';
  }
  const bool negative = minus || (open && close);
  while (b < e && at(b) <= u' ') ++b;
  while (e > b && at(e - 1) <= u' ') --e;
  const char16_t sep = RegionalCopies().DecimalSeparator;
  textkit::BoundedText kept(e - b + 1);
  if (negative) kept.Add(u'-');
  for (std::size_t i = b; i < e; ++i) {
    const char16_t c = at(i);
    if (textkit::IsDigit(c) || c == sep) kept.Add(c);
  }
  if (kept.Size() == (negative ? 1u : 0u)) return 0.0;
  double v = 0;
  return TryStrToFloat(kept.Take(), v) ? v : 0.0;
}

bool TryStrToCurr(std::u16string_view S, Currency& Value, const TFormatSettings& fs) {
  const std::u16string_view s = Trim(S, IsSpace);
  std::size_t i = 0;
  const std::size_t n = s.size();
  bool negative = false;
  if (i < n && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  std::string digits;
  int scale = 0;  // value = digits × 10^scale
  bool any = false;
  for (; i < n && IsDigit(s[i]); ++i, any = true) digits += static_cast<char>(s[i]);
  if (i < n && s[i] == fs.DecimalSeparator) {
    for (++i; i < n && IsDigit(s[i]); ++i, any = true) {
      digits += static_cast<char>(s[i]);
      --scale;
    }
  }
  if (!any) return false;
  if (i < n && (s[i] == u'e' || s[i] == u'E')) {
    ++i;
    bool expNegative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) expNegative = s[i++] == u'-';
    if (i >= n) return false;
    int e = 0;
    for (; i < n && IsDigit(s[i]); ++i)
      if (e < 10000) e = e * 10 + (s[i] - u'0');
    scale += expNegative ? -e : e;
  }
  if (i != n) return false;
  const std::size_t firstDigit = digits.find_first_not_of('0');
  if (firstDigit == std::string::npos) {
    Value = Currency();
    return true;
  }
  scale += 4;  // to ten-thousandths
  bool roundUp = false;
  if (scale < 0) {
    const std::size_t drop = static_cast<std::size_t>(-scale);
    if (drop > digits.size()) {
      digits.clear();
    } else {
      roundUp = digits[digits.size() - drop] >= '5';
      digits.resize(digits.size() - drop);
    }
  } else {
    if (digits.size() - firstDigit + static_cast<std::size_t>(scale) > 19) return false;
    digits.append(static_cast<std::size_t>(scale), '0');
  }
  unsigned __int128 raw = 0;
  for (char c : digits) {
    raw = raw * 10 + static_cast<unsigned>(c - '0');
    if (raw > static_cast<unsigned __int128>(INT64_MAX) + 1) return false;
  }
  if (roundUp) ++raw;
  if (raw > static_cast<unsigned __int128>(INT64_MAX) + (negative ? 1 : 0)) return false;
  Value = Currency::FromRaw(negative ? static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(raw))
                                     : static_cast<std::int64_t>(raw));
  return true;
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
