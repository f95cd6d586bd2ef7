#include "config/config_text.h"

#include "core/text.h"
#include "format/calendar.h"

namespace zelmor::config_text {

namespace {

void AppendPadded(std::u16string& out, int v, int width) {
  std::u16string d = IntToStr(v < 0 ? -v : v);
  if (v < 0) out += u'-';
  out.append(d.size() < static_cast<std::size_t>(width) ? width - d.size() : 0, u'0');
  out += d;
}

}  // namespace

std::u16string DateText(TDateTime v, const TFormatSettings& fs) {
  const DateParts d = DecodeDate(v);
  std::u16string out;
  AppendPadded(out, d.Day, 2);
  out += fs.DateSeparator;
  AppendPadded(out, d.Month, 2);
  out += fs.DateSeparator;
  AppendPadded(out, d.Year, 4);
  return out;
}

std::u16string TimeText(TDateTime v, const TFormatSettings& fs) {
  const TimeParts t = DecodeTime(v);
  std::u16string out;
  AppendPadded(out, t.Hour, 2);
  out += fs.TimeSeparator;
  AppendPadded(out, t.Min, 2);
  out += fs.TimeSeparator;
  AppendPadded(out, t.Sec, 2);
  return out;
}

}  // namespace zelmor::config_text
