#include "datetime/date_helpers.h"

#include <cmath>
#include <limits>

#include "calendar/calendar.h"
#include "core/integer_text.h"

namespace zelmor::dates {

std::optional<int> ReadWholeNumber(std::u16string_view s) {
  int v;
  if (!ParseInteger(s, v, {IntegerBlanks::Spaces, false, IntegerHex::None})) return std::nullopt;
  return v;
}

bool IsWholeNumberText(std::u16string_view s) {
  std::size_t i = 0;
  while (i < s.size() && s[i] == u' ') ++i;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) ++i;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i)
    if (s[i] < u'0' || s[i] > u'9') return false;
  return true;
}

std::u16string_view Sub(std::u16string_view s, std::size_t pos, std::size_t count) {
  if (pos < 1 || pos > s.size()) return {};
  return s.substr(pos - 1, count);
}

std::u16string ZeroPad(std::int64_t v, int width) {
  std::u16string out;
  AppendInteger(out, v, width);
  return out;
}

double ToLinear(TDateTime v) {
  double whole = std::trunc(v.Value);
  return whole + std::fabs(v.Value - whole);
}

TDateTime FromLinear(double x) {
  double day = std::floor(x);
  double time = x - day;
  const TDateTime result = day >= 0 ? day + time : day - time;
  CheckDateRange(result);
  return result;
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
