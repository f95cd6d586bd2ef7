// TmConfig: the typed reads that parse regional numbers, dates and times.
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
  return TryStrToDate(ReadString(Secao, Item, DateText(Padrao, fs)), v, fs) ? v : Padrao;
}

TDateTime TmConfig::ReadDateTime(std::u16string_view Secao, std::u16string_view Item, TDateTime Padrao) const {
  const TFormatSettings& fs = FormatSettings();
  TDateTime v;
  return TryStrToDateTime(ReadString(Secao, Item, DateText(Padrao, fs) + u' ' + TimeText(Padrao, fs)), v, fs) ? v
                                                                                                              : Padrao;
}

TDateTime TmConfig::ReadTime(std::u16string_view Secao, std::u16string_view Item, TDateTime Padrao) const {
  const TFormatSettings& fs = FormatSettings();
  TDateTime v;
  return TryStrToTime(ReadString(Secao, Item, TimeText(Padrao, fs)), v, fs) ? v : Padrao;
}

}  // namespace zelmor
