#include "config/config_text.h"

#include "calendar/calendar.h"
#include "core/integer_text.h"

namespace zelmor::config_text {

std::u16string DateText(TDateTime v, const TFormatSettings& fs) {
  CheckDateRange(v);
  const DateParts d = DecodeDate(v);
  std::u16string out;
  AppendInteger(out, d.Day, 2);
  out += fs.DateSeparator;
  AppendInteger(out, d.Month, 2);
  out += fs.DateSeparator;
  AppendInteger(out, d.Year, 4);
  return out;
}

std::u16string TimeText(TDateTime v, const TFormatSettings& fs) {
  CheckDateRange(v);
  const TimeParts t = DecodeTime(v);
  std::u16string out;
  AppendInteger(out, t.Hour, 2);
  out += fs.TimeSeparator;
  AppendInteger(out, t.Min, 2);
  out += fs.TimeSeparator;
  AppendInteger(out, t.Sec, 2);
  return out;
}

}  // namespace zelmor::config_text
