// Calendar arithmetic, Portuguese month and weekday names, and the time zone text.
#include "calendar/calendar.h"
#include "core/text.h"
#include "datetime/date_helpers.h"
#include "datetime/mDataHora.h"
#include "platform/time_zone.h"

namespace zelmor {

using dates::FromLinear;
using dates::IncMonth;
using dates::ToLinear;

TDateTime TmDt::SetAjuste(TDateTime Data, int Dias, int Meses, int Semanas, int Anos) {
  TDateTime r = Data.Value == 0 ? Date() : Data;
  r = AddDays(r, Dias);
  r = IncMonth(r, Meses);
  r = FromLinear(ToLinear(r) + static_cast<double>(Semanas) * 7);
  return IncMonth(r, static_cast<std::int64_t>(Anos) * 12);
}

TDateTime TmDt::SetInicioDaSemana(TDateTime Data) { return AddDays(Data, -(DayOfWeek(Data) - 1)); }

TDateTime TmDt::SetFimDaSemana(TDateTime Data) { return AddDays(Data, 7 - DayOfWeek(Data)); }

TDateTime TmDt::SetInicioDoMes(TDateTime Data) {
  DateParts d = DecodeDate(Data);
  return EncodeDate(d.Year, d.Month, 1);
}

TDateTime TmDt::SetFimDoMes(TDateTime Data) {
  DateParts d = DecodeDate(Data);
  return EncodeDateTime(d.Year, d.Month, ::zelmor::DaysInMonth(d.Year, d.Month), 23, 59, 59, 999);
}

TDateTime TmDt::SetYear(TDateTime Data, int Ano) {
  DateParts d = DecodeDate(Data);
  // 29 February becomes 28 February in every year, leap or not, so the day does not
  // depend on whether `Ano` happens to be a leap year.
  if (d.Month == 2 && d.Day == 29) d.Day = 28;
  return EncodeDate(Ano, d.Month, d.Day);
}

TDateTime TmDt::AddDays(TDateTime Data, int Dias) { return FromLinear(ToLinear(Data) + Dias); }

TDateTime TmDt::AddHours(TDateTime Data, int Horas) { return FromLinear(ToLinear(Data) + Horas / 24.0); }

TDateTime TmDt::AddMinutes(TDateTime Data, int Minutos) { return FromLinear(ToLinear(Data) + Minutos / 1440.0); }

TDateTime TmDt::AddMonths(TDateTime Data, int Meses) { return IncMonth(Data, Meses); }

TDateTime TmDt::AddYears(TDateTime Data, int Anos) { return IncMonth(Data, static_cast<std::int64_t>(Anos) * 12); }

int TmDt::DaysInMonth(TDateTime Data) {
  DateParts d = DecodeDate(Data);
  return ::zelmor::DaysInMonth(d.Year, d.Month);
}

bool TmDt::IsLeapYear(TDateTime Data) { return ::zelmor::IsLeapYear(DecodeDate(Data).Year); }

int TmDt::GetDia(TDateTime ahData) { return DecodeDate(ahData).Day; }
int TmDt::GetMes(TDateTime ahData) { return DecodeDate(ahData).Month; }
int TmDt::GetAno(TDateTime ahData) { return DecodeDate(ahData).Year; }

std::u16string TmDt::GetNomeMes(int aiNumero) {
  static const char16_t* const kNames[] = {u"Janeiro", u"Fevereiro", u"Março",    u"Abril",   u"Maio",     u"Junho",
                                           u"Julho",   u"Agosto",    u"Setembro", u"Outubro", u"Novembro", u"Dezembro"};
  if (aiNumero < 1 || aiNumero > 12) return {};
  return kNames[aiNumero - 1];
}

std::u16string TmDt::GetDiaSemana(int aiNumero) {
  static const char16_t* const kNames[] = {u"Domingo",      u"Segunda-feira", u"Terça-feira", u"Quarta-feira",
                                           u"Quinta-feira", u"Sexta-feira",   u"Sábado"};
  if (aiNumero < 1 || aiNumero > 7) return {};
  return kNames[aiNumero - 1];
}

std::int16_t TmDt::GetNumeroDiaSemana(std::u16string_view pDia) {
  if (pDia.size() < 3) return 0;
  // The third letter tells the Portuguese day names apart: seGunda, teRça, quArta,
  // quInta, seXta, sáBado, doMingo.
  switch (AsciiUpper(pDia[2])) {
    case u'G': return 1;
    case u'R': return 2;
    case u'A': return 3;
    case u'I': return 4;
    case u'X': return 5;
    case u'B': return 6;
    case u'M': return 7;
    default: return 0;
  }
}

std::u16string TmDt::GetTimeZone() {
  // Bias is minutes to add to local time to get UTC, so the offset is its negative.
  const std::int64_t offset = -static_cast<std::int64_t>(platform::Service<platform::TimeZone>::Get().StandardBias());
  const std::int64_t magnitude = offset < 0 ? -offset : offset;
  return (offset < 0 ? u"-" : u"") + dates::ZeroPad(magnitude / 60, 2) + u":" + dates::ZeroPad(magnitude % 60, 2);
}

}  // namespace zelmor
