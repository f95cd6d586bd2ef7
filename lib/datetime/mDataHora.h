// TmDt: the library's date and time routines. Completion of dates and times typed
// into masked entry fields, parsing, the text forms used in SQL, calendar arithmetic,
// Portuguese month and weekday names, Easter and the Brazilian national holidays,
// periods and durations. Class-level operations only; "today" and "now" come from
// the platform clock, so tests fix them with testing::FixedClock.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/types.h"

namespace zelmor {

// One period of a date range: start and end, both included.
struct TPeriodo {
  TDateTime DtInicial;
  TDateTime DtFinal;
};
// A list of periods, owned by whoever receives it.
using TAPeriodo = std::vector<TPeriodo>;

class TmDt {
 public:
  TmDt() = delete;

  // ---- Entry completion, parsing and SQL texts (entry.cpp) ----

  // Completes the text of a masked date field "dd/mm/yyyy" or date-and-time field
  // "dd/mm/yyyy hh:nn": a year of one to three digits becomes four (below 50 → 20xx,
  // else 19xx), a blank year becomes the current one, a blank month the current month
  // and year, a blank hour the current time; an untouched field (or a text shorter than
  // 10) gives today (or now). A blank or unreadable day leaves the text as typed, and
  // day and month are never checked for range.
  //   CompletaData(u"05/12/18  ") == u"05/12/2018"
  static std::u16string CompletaData(std::u16string_view Data);

  // Completes a masked time "hh:nn": blanks in the digit positions become "0".
  //   CompletaHora(u" 8:3 ") == u"08:30";  CompletaHora(u"") == u"00:00"
  static std::u16string CompletaHora(std::u16string_view Hora);

  // Minutes in an "h:mm" text; a leading "-" makes the whole value negative, an
  // unreadable field counts as 0.
  //   HoraParaMin(u"-01:30") == -90;  HoraParaMin(u"12") == 720
  static int HoraParaMin(std::u16string_view Hora);

  // A count of minutes as "hh:mm" (hours never cut, "-" in front when negative).
  //   MinParaHora(6000) == u"100:00";  MinParaHora(-30) == u"-00:30"
  static std::u16string MinParaHora(int Minutos);

  // Whether `Data` is a valid date (or date and time, when it has a ":") in the
  // live regional settings.
  //   DataValida(u"31/12/2018") == true;  DataValida(u"31/02/2018") == false  (Brazilian settings)
  static bool DataValida(std::u16string_view Data);

  // `Dt` read as a date, or a date and time, in the live regional settings; `Default`
  // when it is not one.
  static TDateTime StrToDataHora(std::u16string_view Dt, TDateTime Default);

  // Reads the fixed form "yyyy-mm-dd hh:nn:ss" that Data2Ansi writes with the time
  // (without quotes). Any unreadable field, a missing time or an invalid date gives `asDefault`.
  //   StrToDateTime(u"2018-12-05 14:30:00", 0) == 5 Dec 2018 14:30
  static TDateTime StrToDateTime(std::u16string_view asData, TDateTime asDefault);

  // `Data` formatted with the pattern `Formato` (live settings), in single quotes
  // (an inner quote doubled) when `ComAspas`.
  //   Data2Ansi(d, u"yyyymmdd", true) == u"'20181205'"
  static std::u16string Data2Ansi(TDateTime Data, std::u16string_view Formato, bool ComAspas);
  // `Data` as an SQL literal: "'2018-12-05 14:30:00'" with the time, "'2018-12-05'" without.
  // Always "-" and ":" as separators, whatever the regional settings say.
  static std::u16string Data2Ansi(TDateTime Data, bool IncluirHora);
  // Guards against a pattern literal silently choosing the Boolean overload above.
  static std::u16string Data2Ansi(TDateTime Data, const char16_t* Formato) = delete;
  // The time of `Data` as "14:30:00" (always ":"), in single quotes when `ComAspas`.
  static std::u16string Hora2Ansi(TDateTime Data, bool ComAspas);

  // "dd/mm/yyyy" and the short day name of the start-up regional copies, in lower
  // case without accents.
  //   DataDetalhe(8 Dec 2018) == u"08/12/2018 sab"  (Brazilian settings)
  static std::u16string DataDetalhe(TDateTime Data);

  // ---- Calendar arithmetic, names and time zone (calendar_math.cpp) ----
  // All keep the time of day unless said otherwise. Month steps are calendar months,
  // a day past the end of the target month becoming its last day. A result outside the
  // years 1–9999 raises EConvertError.

  // From `Data` (today when `Data` is exactly 0): add `Dias` days, then `Meses` months,
  // then `Semanas` weeks, then `Anos` years.
  //   SetAjuste(31 Jan 2019, 0, 1, 0, 0) == 28 Feb 2019
  static TDateTime SetAjuste(TDateTime Data, int Dias, int Meses, int Semanas, int Anos);
  // The Sunday on or before `Data` / the Saturday on or after it (weeks run Sunday to Saturday).
  static TDateTime SetInicioDaSemana(TDateTime Data);
  static TDateTime SetFimDaSemana(TDateTime Data);
  // First day of the month at 00:00:00.000 / last day at 23:59:59.999.
  static TDateTime SetInicioDoMes(TDateTime Data);
  static TDateTime SetFimDoMes(TDateTime Data);
  // Same day and month in year `Ano`, at 00:00; 29 February always becomes 28 February.
  static TDateTime SetYear(TDateTime Data, int Ano);
  static TDateTime AddDays(TDateTime Data, int Dias);
  static TDateTime AddHours(TDateTime Data, int Horas);
  static TDateTime AddMinutes(TDateTime Data, int Minutos);
  //   AddMonths(31 Jan 2020, 1) == 29 Feb 2020
  static TDateTime AddMonths(TDateTime Data, int Meses);
  //   AddYears(29 Feb 2020, 1) == 28 Feb 2021
  static TDateTime AddYears(TDateTime Data, int Anos);
  // 28–31.
  static int DaysInMonth(TDateTime Data);
  // Gregorian: divisible by 4, and not by 100 unless by 400.
  static bool IsLeapYear(TDateTime Data);
  static int GetDia(TDateTime ahData);
  static int GetMes(TDateTime ahData);
  static int GetAno(TDateTime ahData);

  // "Janeiro" … "Dezembro" for 1–12, empty text otherwise.
  static std::u16string GetNomeMes(int aiNumero);
  // "Domingo" (1) … "Sábado" (7), empty text otherwise.
  static std::u16string GetDiaSemana(int aiNumero);
  // The weekday of a Portuguese day name, counting from Monday = 1 to Sunday = 7 (unlike
  // GetDiaSemana); only the third letter is looked at, 0 when it names no day.
  //   GetNumeroDiaSemana(u"Sábado") == 6;  GetNumeroDiaSemana(u"Domingo") == 7
  static std::int16_t GetNumeroDiaSemana(std::u16string_view pDia);

  // The system's standard offset from UTC as "-03:00" (no sign east of UTC: "05:30").
  // Daylight-saving time is not taken into account.
  static std::u16string GetTimeZone();

  // ---- Easter and holidays (holidays.cpp) ----

  // Easter Sunday of `Ano` at 00:00 (Gregorian computus); EConvertError outside 1–9999.
  //   GetPascoa(2019) == 21 Apr 2019
  static TDateTime GetPascoa(int Ano);
  // Whether the day of `Data` is a Brazilian national holiday of its year (the time of day
  // does not matter); 20 November is one from 2024 on.
  static bool IsFeriado(TDateTime Data);
  // The holiday's name, or empty text; a fixed holiday wins over a movable feast on the same day.
  //   GetFeriadoStr(21 Apr 2019) == u"Tiradentes"
  static std::u16string GetFeriadoStr(TDateTime Data);

  // ---- Periods and durations (periods.cpp) ----

  // Splits the range into consecutive periods of `aiDias` days; the last one ends at
  // `ahDtFinal`. A range that is a single instant, inverted, or shorter than `aiDias`, and
  // any `aiDias` below 1, give the one period (ahDtInicial, ahDtFinal).
  //   1–10 Mar by 3 == {1–3, 4–6, 7–9, 10–10 Mar}
  static TAPeriodo GetPeriodos(TDateTime ahDtInicial, TDateTime ahDtFinal, int aiDias);
  // The range in its shortest written form for headings: whole months as "mm/yy", days as
  // "dd/mm/yy" (years before 2000 with four digits), joined by " até ". With a date of 0
  // the other date alone, or `asTextoVazio` when both are 0.
  //   GetExtPeriodo(1 Jan 2018, 15 Mar 2018, u"") == u"01/18 até 15/03/18"
  static std::u16string GetExtPeriodo(TDateTime ahDtInicial, TDateTime ahDtFinal, std::u16string_view asTextoVazio);
  // A number of seconds in Portuguese words; empty for 0 or less.
  //   FormatarTempo(3725) == u"1 hora, 2 minutos e 5 segundos"
  static std::u16string FormatarTempo(std::int64_t aiSegungos);
  // The time elapsed between the two dates as calendar years, months and days (an
  // age), each with at least two digits, joined by `Separador`. The order of the dates
  // does not matter.
  //   GetDetalheAnoMesDia(15 Mar 1980, 5 Dec 2018, u"/") == u"38/08/20"
  static std::u16string GetDetalheAnoMesDia(TDateTime Data, TDateTime DataAtual, std::u16string_view Separador);
  // Whole days from `DtInicial` to `DtFinal`, cut toward zero (negative when `DtFinal` is earlier).
  static int GetDiasDatas(TDateTime DtInicial, TDateTime DtFinal);
  // Whether `adDataInicial` <= `adData` <= `adDataFinal` (full date-time values).
  static bool Between(TDateTime adData, TDateTime adDataInicial, TDateTime adDataFinal);
};

}  // namespace zelmor
