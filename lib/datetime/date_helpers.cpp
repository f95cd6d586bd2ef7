#include "datetime/date_helpers.h"

#include <cmath>
#include <limits>

#include "core/text.h"
#include "format/calendar.h"

namespace zelmor::dates {

std::optional<int> ReadWholeNumber(std::u16string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  bool negative = false;
  if (i < s.size() && (s[i] == u'-' || s[i] == u'+')) negative = s[i++] == u'-';
  if (i == s.size()) return std::nullopt;
  std::int64_t v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < u'0' || s[i] > u'9') return std::nullopt;
    v = v * 10 + (s[i] - u'0');
    if (v > static_cast<std::int64_t>(std::numeric_limits<int>::max()) + 1) return std::nullopt;
  }
  if (negative) v = -v;
  if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(v);
}

std::u16string_view TrimBlanks(std::u16string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && s[b] <= u' ') ++b;
  while (e > b && s[e - 1] <= u' ') --e;
  return s.substr(b, e - b);
}

std::u16string_view Sub(std::u16string_view s, std::size_t pos, std::size_t count) {
  if (pos < 1 || pos > s.size()) return {};
  return s.substr(pos - 1, count);
}

std::u16string ZeroPad(std::int64_t v, int width) {
  std::u16string digits = IntToStr(v < 0 ? -v : v);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), u'0');
  return v < 0 ? u"-" + digits : digits;
}

double ToLinear(TDateTime v) {
  double whole = std::trunc(v.Value);
  return whole + std::fabs(v.Value - whole);
}

TDateTime FromLinear(double x) {
  double day = std::floor(x);
  double time = x - day;
  return day >= 0 ? day + time : day - time;
}

TDateTime IncMonth(TDateTime v, std::int64_t months) {
  DateParts d = DecodeDate(v);
  TimeParts t = DecodeTime(v);
  std::int64_t total = static_cast<std::int64_t>(d.Year) * 12 + (d.Month - 1) + months;
  std::int64_t year = total >= 0 ? total / 12 : (total - 11) / 12;
  // Out of range: let the encoder raise its own error.
  int y = year < 1 ? 0 : year > 9999 ? 10000 : static_cast<int>(year);
  int month = static_cast<int>(total - year * 12) + 1;
  int day = d.Day;
  int last = DaysInMonth(y, month);
  if (day > last) day = last;
  return EncodeDateTime(y, month, day, t.Hour, t.Min, t.Sec, t.MSec);
}

}  // namespace zelmor::dates
