// Completion of masked date and time entry, parsing, and the text forms of dates
// used in SQL statements.
#include <initializer_list>
#include <limits>
#include <optional>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "core/text.h"
#include "core/text_kit.h"
#include "datetime/date_helpers.h"
#include "datetime/mDataHora.h"
#include "format/format_datetime.h"
#include "parsing/conversions.h"
#include "regional/format_settings.h"
#include "regional/regional_copies.h"
#include "strings/mString.h"

namespace zelmor {

using dates::ReadWholeNumber;
using dates::ReadWholeNumberOr0;
using dates::Sub;
using textkit::Trim;

namespace {

[[noreturn]] void OutOfRange(std::u16string_view hora) {
  throw EConvertError(u"'" + std::u16string(hora) + u"' passa do intervalo de minutos de um inteiro de 32 bits");
}

// Positions of the masked date-and-time layout "dd/mm/yyyy hh:nn".
constexpr std::size_t kDay = 1, kMonth = 4, kYear = 7, kHour = 12;

// An untouched field, trimmed: "/  /" (date) or "/  /       :" (date and time). The
// separator typed by the mask is the regional one, so that one is recognised as well as "/".
bool IsUntouched(std::u16string_view trimmed, char16_t sep, bool withTime) {
  for (char16_t s : {u'/', sep}) {
    std::u16string mask{s, u' ', u' ', s};
    if (withTime) mask += u"       :";
    if (trimmed == mask) return true;
  }
  return false;
}

// Settings for the SQL texts: the literal must read "2018-12-05 14:30:00" whatever
// separators the user's region has.
const TFormatSettings& SqlSettings() {
  static const TFormatSettings settings = RegionalSettings::Plain();
  return settings;
}

std::u16string Quoted(std::u16string_view s) {
  std::u16string out;
  out.reserve(s.size() + 2);
  out += u'\'';
  for (char16_t c : s) {
    if (c == u'\'') out += u'\'';
    out += c;
  }
  out += u'\'';
  return out;
}

}  // namespace

std::u16string TmDt::CompletaData(std::u16string_view Data) {
  const char16_t sep = RegionalCopies().DateSeparator;
  const std::u16string_view trimmed = Trim(Data);
  if (Data.size() < 10 || IsUntouched(trimmed, sep, false)) return DateToStr(Date());
  const TDateTime now = Now();
  if (IsUntouched(trimmed, sep, true)) {
    const TFormatSettings& fs = FormatSettings();
    return FormatDateTime(fs.ShortDateFormat + u" " + fs.LongTimeFormat, now, fs);
  }

  // A blank or zero hour is replaced by the current time.
  std::u16string timeSuffix;
  if (ReadWholeNumberOr0(Sub(Data, kHour, 2)) == 0) timeSuffix = u" " + FormatDateTime(u"HH:MM", now);

  if (ReadWholeNumberOr0(Sub(Data, kDay, 2)) == 0) return std::u16string(Data);

  const std::u16string currentYear = FormatDateTime(u"YYYY", now);
  const bool hasTime = trimmed.find(u':') != std::u16string_view::npos;
  // A rebuilt date carries a time only as the current time, and only in a date-and-time field.
  const std::u16string rebuiltTime = hasTime ? timeSuffix : std::u16string();

  if (ReadWholeNumberOr0(Sub(Data, kMonth, 2)) == 0) {
    // No month: the current month and year; a typed year is dropped with the month.
    return std::u16string(Sub(Data, kDay, 3)) + FormatDateTime(u"MM", now) + sep + currentYear + rebuiltTime;
  }

  const std::u16string_view yearField = Sub(Data, kYear, 4);
  const int year = ReadWholeNumberOr0(Trim(yearField));
  const std::u16string_view dayAndMonth = Sub(Data, kDay, 6);
  if (year == 0 && yearField.find(u"00") == std::u16string_view::npos) {
    return std::u16string(dayAndMonth) + currentYear + rebuiltTime;
  }
  if (year < 999) {
    const int fullYear = year < 50 ? year + 2000 : year + 1900;
    return std::u16string(dayAndMonth) + IntToStr(fullYear) + rebuiltTime;
  }
  if (hasTime && !timeSuffix.empty()) return std::u16string(Sub(Data, kDay, 11)) + timeSuffix.substr(1);
  return std::u16string(Data);
}

std::u16string TmDt::CompletaHora(std::u16string_view Hora) {
  if (Hora.empty()) return u"00:00";
  std::u16string r(Hora.substr(0, 5));
  r.resize(5, u' ');
  for (std::size_t i : {0, 1, 3, 4})
    if (r[i] == u' ') r[i] = u'0';
  return r;
}

int TmDt::HoraParaMin(std::u16string_view Hora) {
  if (Hora.empty() || Trim(Hora) == u":") return 0;
  const std::u16string hours = TmStr::Separa(Hora, u':', 1);
  std::u16string minutes = TmStr::Separa(Hora, u':', 2);
  if (Hora[0] == u'-') minutes.insert(0, 1, u'-');
  // A field of digits too big for a number, or a total the result cannot hold, is an
  // amount out of range, not an unreadable field: it is refused rather than read as 0.
  auto field = [&](std::u16string_view f) -> std::int64_t {
    if (std::optional<int> v = ReadWholeNumber(f)) return *v;
    if (dates::IsWholeNumberText(f)) OutOfRange(Hora);
    return 0;
  };
  const std::int64_t total = field(hours) * 60 + field(minutes);
  if (total < std::numeric_limits<int>::min() || total > std::numeric_limits<int>::max()) OutOfRange(Hora);
  return static_cast<int>(total);
}

std::u16string TmDt::MinParaHora(int Minutos) {
  const std::int64_t m = Minutos < 0 ? -static_cast<std::int64_t>(Minutos) : Minutos;
  return (Minutos < 0 ? u"-" : u"") + dates::ZeroPad(m / 60, 2) + u":" + dates::ZeroPad(m % 60, 2);
}

bool TmDt::DataValida(std::u16string_view Data) {
  TDateTime d;
  if (Data.find(u':') != std::u16string_view::npos) return TryStrToDateTime(Data, d);
  return TryStrToDate(Data, d);
}

TDateTime TmDt::StrToDataHora(std::u16string_view Dt, TDateTime Default) {
  TDateTime d;
  if (TryStrToDateTime(Dt, d) || TryStrToDate(Dt, d)) return d;
  return Default;
}

TDateTime TmDt::StrToDateTime(std::u16string_view asData, TDateTime asDefault) {
  auto field = [&](std::size_t pos, std::size_t len) { return ReadWholeNumber(Sub(asData, pos, len)); };
  const auto y = field(1, 4), mo = field(6, 2), d = field(9, 2), h = field(12, 2), mi = field(15, 2), s = field(18, 2);
  if (!y || !mo || !d || !h || !mi || !s) return asDefault;
  TDateTime date, time;
  if (!TryEncodeDate(*y, *mo, *d, date) || !TryEncodeTime(*h, *mi, *s, 0, time)) return asDefault;
  return date >= 0 ? date + time : date - time;
}

std::u16string TmDt::Data2Ansi(TDateTime Data, std::u16string_view Formato, bool ComAspas) {
  std::u16string s = FormatDateTime(Formato, Data);
  return ComAspas ? Quoted(s) : s;
}

std::u16string TmDt::Data2Ansi(TDateTime Data, bool IncluirHora) {
  return Quoted(FormatDateTime(IncluirHora ? u"YYYY-MM-DD HH:NN:SS" : u"YYYY-MM-DD", Data, SqlSettings()));
}

std::u16string TmDt::Hora2Ansi(TDateTime Data, bool ComAspas) {
  std::u16string s = FormatDateTime(u"HH:NN:SS", Data, SqlSettings());
  return ComAspas ? Quoted(s) : s;
}

std::u16string TmDt::DataDetalhe(TDateTime Data) {
  const std::u16string& shortName = RegionalCopies().ShortDayNames[static_cast<std::size_t>(DayOfWeek(Data) - 1)];
  return FormatDateTime(u"dd/mm/yyyy", Data) + u" " + TmStr::RemoveAcentos(LowerCase(shortName));
}

}  // namespace zelmor
