// Periods of a date range, the range in words, durations and elapsed time.
#include <cmath>
#include <utility>

#include "calendar/calendar.h"
#include "core/text.h"
#include "datetime/date_helpers.h"
#include "datetime/mDataHora.h"
#include "format/format_datetime.h"

namespace zelmor {

using dates::FromLinear;
using dates::IncMonth;
using dates::ToLinear;

namespace {

constexpr std::int64_t kMsPerDay = 86400000;

// Whole milliseconds on the continuous day count (exact differences, no 0.9999… days).
std::int64_t ToMilliseconds(TDateTime v) { return std::llround(ToLinear(v) * kMsPerDay); }

// `pattern` followed by the year: two digits from 2000 on, four before.
std::u16string WithShortYear(TDateTime v, std::u16string_view pattern) {
  std::u16string p(pattern);
  p += DecodeDate(v).Year >= 2000 ? u"yy" : u"yyyy";
  return FormatDateTime(p, v);
}

bool StartsMonth(TDateTime v) {
  const DateParts d = DecodeDate(v);
  TDateTime first;
  return TryEncodeDate(d.Year, d.Month, 1, first) && first.Value == v.Value;
}

// The last day of the month at 00:00, or at 23:59:59.999 as SetFimDoMes gives it.
bool EndsMonth(TDateTime v) {
  const DateParts d = DecodeDate(v);
  TDateTime last;
  if (!TryEncodeDate(d.Year, d.Month, DaysInMonth(d.Year, d.Month), last)) return false;
  return last.Value == v.Value || TmDt::SetFimDoMes(last).Value == v.Value;
}

}  // namespace

TAPeriodo TmDt::GetPeriodos(TDateTime ahDtInicial, TDateTime ahDtFinal, int aiDias) {
  const double start = ToLinear(ahDtInicial), end = ToLinear(ahDtFinal);
  // Dates outside the calendar (or not numbers) make no steps: the one period as given.
  if (aiDias < 1 || !InDateRange(ahDtInicial) || !InDateRange(ahDtFinal) || start + aiDias > end)
    return {{ahDtInicial, ahDtFinal}};
  TAPeriodo periods;
  periods.reserve(static_cast<std::size_t>((end - start) / aiDias) + 1);
  // Each start from the first one, so no rounding error builds up over a long range.
  for (std::int64_t k = 0;; ++k) {
    const double from = start + static_cast<double>(k) * aiDias;
    const TDateTime periodStart = k == 0 ? ahDtInicial : FromLinear(from);
    // The last period takes whatever is left, so no period starts after the end.
    if (from + aiDias > end) {
      periods.push_back({periodStart, ahDtFinal});
      return periods;
    }
    periods.push_back({periodStart, FromLinear(from + (aiDias - 1))});
  }
}

std::u16string TmDt::GetExtPeriodo(TDateTime ahDtInicial, TDateTime ahDtFinal, std::u16string_view asTextoVazio) {
  if (ahDtInicial.Value == 0 || ahDtFinal.Value == 0) {
    if (ahDtInicial.Value > 0) return WithShortYear(ahDtInicial, u"dd/mm/");
    if (ahDtFinal.Value > 0) return WithShortYear(ahDtFinal, u"dd/mm/");
    return std::u16string(asTextoVazio);
  }
  if (ahDtInicial.Value == ahDtFinal.Value) return WithShortYear(ahDtInicial, u"dd/mm/");

  const bool starts = StartsMonth(ahDtInicial);
  const bool ends = EndsMonth(ahDtFinal);
  const DateParts a = DecodeDate(ahDtInicial), b = DecodeDate(ahDtFinal);
  const bool sameMonth = a.Year == b.Year && a.Month == b.Month;
  if (starts && ends && sameMonth) return WithShortYear(ahDtInicial, u"mm/");
  const std::u16string_view from = starts && !sameMonth ? u"mm/" : u"dd/mm/";
  const std::u16string_view to = ends && !sameMonth ? u"mm/" : u"dd/mm/";
  return WithShortYear(ahDtInicial, from) + u" até " + WithShortYear(ahDtFinal, to);
}

std::u16string TmDt::FormatarTempo(std::int64_t aiSegungos) {
  if (aiSegungos <= 0) return {};
  const std::int64_t hours = aiSegungos / 3600;
  const std::int64_t minutes = aiSegungos / 60 % 60;
  const std::int64_t seconds = aiSegungos % 60;
  auto unit = [](std::int64_t n, std::u16string_view name) {
    std::u16string s = IntToStr(n);
    s += u' ';
    s += name;
    if (n > 1) s += u's';
    return s;
  };
  std::u16string r;
  if (hours > 0) r = unit(hours, u"hora");
  if (minutes > 0) {
    if (!r.empty()) r += seconds > 0 ? u", " : u" e ";
    r += unit(minutes, u"minuto");
  }
  if (seconds > 0) {
    if (!r.empty()) r += u" e ";
    r += unit(seconds, u"segundo");
  }
  return r;
}

std::u16string TmDt::GetDetalheAnoMesDia(TDateTime Data, TDateTime DataAtual, std::u16string_view Separador) {
  TDateTime from = Data, to = DataAtual;
  if (ToLinear(from) > ToLinear(to)) std::swap(from, to);
  const DateParts a = DecodeDate(from), b = DecodeDate(to);

  // Whole calendar years: the anniversary must not be after `to` (the estimate is at most one too many).
  std::int64_t years = b.Year - a.Year;
  if (years > 0 && ToLinear(IncMonth(from, years * 12)) > ToLinear(to)) --years;
  const TDateTime afterYears = IncMonth(from, years * 12);

  const DateParts y = DecodeDate(afterYears);
  std::int64_t months = static_cast<std::int64_t>(b.Year - y.Year) * 12 + (b.Month - y.Month);
  if (months > 0 && ToLinear(IncMonth(afterYears, months)) > ToLinear(to)) --months;
  const TDateTime afterMonths = IncMonth(afterYears, months);

  const std::int64_t days = (ToMilliseconds(to) - ToMilliseconds(afterMonths)) / kMsPerDay;
  std::u16string r = dates::ZeroPad(years, 2);
  r += Separador;
  r += dates::ZeroPad(months, 2);
  r += Separador;
  r += dates::ZeroPad(days, 2);
  return r;
}

int TmDt::GetDiasDatas(TDateTime DtInicial, TDateTime DtFinal) {
  return static_cast<int>((ToMilliseconds(DtFinal) - ToMilliseconds(DtInicial)) / kMsPerDay);
}

bool TmDt::Between(TDateTime adData, TDateTime adDataInicial, TDateTime adDataFinal) {
  const double d = ToLinear(adData);
  return ToLinear(adDataInicial) <= d && d <= ToLinear(adDataFinal);
}

}  // namespace zelmor
