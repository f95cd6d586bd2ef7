// TmConfig: the typed reads that parse regional numbers, dates and times.
#include "calendar/calendar.h"
#include "config/config_text.h"
#include "config/mConfigUnit.h"
#include "format/format_number.h"
#include "parsing/conversions.h"
#include "regional/format_settings.h"

namespace zelmor {

using config_text::DateText;
using config_text::TimeText;

double TmConfig::ReadFloat(std::u16string_view Secao, std::u16string_view Item, double Padrao) const {
  const TFormatSettings& fs = FormatSettings();
  double v;
  return TryStrToFloat(ReadString(Secao, Item, FloatToStr(Padrao, fs)), v, fs) ? v : Padrao;
}

TDateTime TmConfig::ReadDate(std::u16string_view Secao, std::u16string_view Item, TDateTime Padrao) const {
  const TFormatSettings& fs = FormatSettings();
  TDateTime v;
  // A default outside the calendar has no text form; it comes back as it is.
  const std::u16string def = InDateRange(Padrao) ? DateText(Padrao, fs) : std::u16string();
  return TryStrToDate(ReadString(Secao, Item, def), v, fs) ? v : Padrao;
}

TDateTime TmConfig::ReadDateTime(std::u16string_view Secao, std::u16string_view Item, TDateTime Padrao) const {
  const TFormatSettings& fs = FormatSettings();
  TDateTime v;
  const std::u16string def =
      InDateRange(Padrao) ? DateText(Padrao, fs) + u' ' + TimeText(Padrao, fs) : std::u16string();
  return TryStrToDateTime(ReadString(Secao, Item, def), v, fs) ? v : Padrao;
}

TDateTime TmConfig::ReadTime(std::u16string_view Secao, std::u16string_view Item, TDateTime Padrao) const {
  const TFormatSettings& fs = FormatSettings();
  TDateTime v;
  const std::u16string def = InDateRange(Padrao) ? TimeText(Padrao, fs) : std::u16string();
  return TryStrToTime(ReadString(Secao, Item, def), v, fs) ? v : Padrao;
}

}  // namespace zelmor
