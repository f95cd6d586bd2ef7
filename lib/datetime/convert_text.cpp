// Text to numbers and back: the lenient Brazilian parsers, the SQL (decimal point)
// forms, whole numbers, yes/no values and the month-first SQL date.
#include <algorithm>

#include "calendar/calendar.h"
#include "core/integer_text.h"
#include "datetime/mConvert.h"
#include "format/format_number.h"
#include "parsing/conversions.h"
#include "regional/regional_copies.h"
#include "strings/mString.h"

namespace zelmor {

namespace {

void ReplaceAll(std::u16string& s, char16_t from, char16_t to) { std::replace(s.begin(), s.end(), from, to); }

}  // namespace

double TmConv::Str2Float(std::u16string_view Valor) { return LenientStrToFloat(Valor); }

double TmConv::StrAnsi2Float(std::u16string_view Valor) {
  const TRegionalCopies& rc = RegionalCopies();
  return LenientStrToFloat(Valor, rc.ThousandSeparator, rc.DecimalSeparator);
}

double TmConv::StrFormated2Float(std::u16string_view asValor) {
  std::u16string s = TmStr::SomenteNumeros(asValor, false);
  std::erase(s, u'.');
  return StrToFloat(s);
}

double TmConv::StrFormated2FloatDef(std::u16string_view asValor, double adDefault) {
  if (asValor.empty()) return adDefault;
  std::u16string s = TmStr::SomenteNumeros(asValor, false);
  std::erase(s, u'.');
  double v = 0;
  return TryStrToFloat(s, v) ? v : adDefault;
}

std::u16string TmConv::Str2FloatAnsi(std::u16string_view Valor) {
  std::u16string s = FloatToStr(Str2Float(Valor));
  ReplaceAll(s, RegionalCopies().DecimalSeparator, u'.');
  return s;
}

std::u16string TmConv::FloatToAnsi(double Valor) {
  const TRegionalCopies& rc = RegionalCopies();
  std::u16string s = FloatToStr(Valor);
  std::erase(s, rc.ThousandSeparator);
  if (rc.DecimalSeparator != u'.') ReplaceAll(s, rc.DecimalSeparator, u'.');
  return s;
}

std::u16string TmConv::FloatToAnsiFormated(double Valor, std::u16string_view Formato) {
  std::u16string s = FormatFloat(Formato, Valor);
  ReplaceAll(s, u',', u'.');
  return s;
}

TDateTime TmConv::StrAnsiToDate(std::u16string_view pData, TDateTime pDefaultParamErro, bool pComAspas) {
  const std::size_t from = pComAspas ? 1 : 0;
  if (pData.size() < from) return pDefaultParamErro;
  const std::size_t slash1 = pData.find(u'/', from);
  if (slash1 == std::u16string_view::npos) return pDefaultParamErro;
  const std::size_t slash2 = pData.find(u'/', slash1 + 1);
  if (slash2 == std::u16string_view::npos) return pDefaultParamErro;

  const std::u16string_view month = pData.substr(from, slash1 - from);
  const std::u16string_view day = pData.substr(slash1 + 1, slash2 - slash1 - 1);
  const std::u16string_view year = pData.substr(slash2 + 1, 4);
  int m = 0, d = 0, y = 0;
  TDateTime date;
  // A short year ("12/05/18") is not the year 18: the form has four digits.
  if (year.size() != 4 || !TryStrToInt(month, m) || !TryStrToInt(day, d) || !TryStrToInt(year, y) ||
      !TryEncodeDate(y, m, d, date))
    return pDefaultParamErro;

  std::u16string_view timeText = slash2 + 6 < pData.size() ? pData.substr(slash2 + 6) : std::u16string_view();
  if (pComAspas && !timeText.empty() && timeText.back() == u'\'') timeText.remove_suffix(1);
  TDateTime time = 0.0;
  if (!timeText.empty() && !TryStrToTime(timeText, time)) time = 0.0;
  // Before 1899-12-30 the day count is negative and the time counts away from zero.
  return date >= 0 ? date + time : date - time;
}

// Blanks and a sign in front; nothing at all after the digits ("42 " is not a number here).
constexpr IntegerSyntax kToIntSyntax{.TrailingBlanks = false};

std::int32_t TmConv::ToInt(std::u16string_view Texto, std::int32_t DefaultParaErro) {
  int v = 0;
  return ParseInteger(Texto, v, kToIntSyntax) ? v : DefaultParaErro;
}

std::int64_t TmConv::ToInt64(std::u16string_view Texto, std::int32_t DefaultParaErro) {
  std::int64_t v = 0;
  return ParseInteger(Texto, v, kToIntSyntax) ? v : static_cast<std::int64_t>(DefaultParaErro);
}

bool TmConv::ToBoolean(std::u16string_view Texto) {
  return !Texto.empty() && (Texto[0] == u'S' || Texto[0] == u's' || Texto[0] == u'1');
}

std::u16string TmConv::FromBoolean(bool Valor, bool ComAspas) {
  if (ComAspas) return Valor ? u"'S'" : u"'N'";
  return Valor ? u"S" : u"N";
}

}  // namespace zelmor
