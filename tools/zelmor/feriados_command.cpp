// `zelmor feriados YEAR`: the year's Brazilian national holidays, one a line:
// date, weekday and name ("21/04/2019  Domingo        Tiradentes").
#include <charconv>
#include <cstdio>
#include <string>

#include "calendar/calendar.h"
#include "core/text.h"
#include "datetime/holidays.h"
#include "datetime/mDataHora.h"
#include "tools/zelmor/commands.h"

namespace zelmor::cli {
namespace {

std::string Line(const Holiday& h) {
  const DateParts d = DecodeDate(h.Date);
  char date[16];
  std::snprintf(date, sizeof date, "%02d/%02d/%04d", d.Day, d.Month, d.Year);
  std::u16string weekday = TmDt::GetDiaSemana(DayOfWeek(h.Date));
  weekday.resize(13, u' ');  // "Segunda-feira", the longest name
  return std::string(date) + "  " + U16ToUtf8(weekday) + "  " + U16ToUtf8(h.Name);
}

int Run(const std::vector<std::string>& args) {
  if (args.size() != 1) {
    PrintError("usage: zelmor feriados YEAR");
    return 2;
  }
  const std::string& text = args[0];
  int year = 0;
  auto r = std::from_chars(text.data(), text.data() + text.size(), year);
  if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || year < 1 || year > 9999) {
    PrintError("zelmor: feriados: the year must be a number from 1 to 9999, got \"" + text + "\"");
    return 2;
  }
  for (const Holiday& h : NationalHolidays(year)) PrintLine(Line(h));
  return 0;
}

ZELMOR_COMMAND("feriados", "feriados YEAR   (the year's national holidays)", Run);

}  // namespace
}  // namespace zelmor::cli
