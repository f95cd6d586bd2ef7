// TmConfig: the typed values and their text forms.
#include <cstdint>
#include <string>

#include "config/config_text.h"
#include "config/mConfigUnit.h"
#include "core/integer_text.h"
#include "core/text.h"
#include "format/format_number.h"
#include "parsing/conversions.h"
#include "regional/format_settings.h"

namespace zelmor {

using config_text::DateText;
using config_text::TimeText;

namespace {

constexpr std::u16string_view kConfig = u"Config";

}  // namespace

int TmConfig::ReadInteger(std::u16string_view Secao, std::u16string_view Item, int Padrao) const {
  int v;
  // Blanks in front only: "5 " is not a number here.
  return ParseInteger(ReadString(Secao, Item, IntToStr(Padrao)), v, {.TrailingBlanks = false}) ? v : Padrao;
}

void TmConfig::WriteInteger(std::u16string_view Secao, std::u16string_view Item, int Valor) {
  WriteString(Secao, Item, IntToStr(Valor));
}

bool TmConfig::ReadBool(std::u16string_view Secao, std::u16string_view Item, bool Padrao) const {
  return ReadString(Secao, Item, Padrao ? u"1" : u"0") == u"1";
}

void TmConfig::WriteBool(std::u16string_view Secao, std::u16string_view Item, bool Valor) {
  WriteString(Secao, Item, Valor ? u"1" : u"0");
}

void TmConfig::WriteFloat(std::u16string_view Secao, std::u16string_view Item, double Valor) {
  WriteString(Secao, Item, FloatToStr(Valor, FormatSettings()));
}

Currency TmConfig::ReadCurr(std::u16string_view Secao, std::u16string_view Item, Currency Padrao) const {
  const TFormatSettings& fs = FormatSettings();
  Currency v;
  return TryStrToCurr(ReadString(Secao, Item, CurrToStr(Padrao, fs)), v, fs) ? v : Padrao;
}

void TmConfig::WriteCurr(std::u16string_view Secao, std::u16string_view Item, Currency Valor) {
  WriteString(Secao, Item, CurrToStr(Valor, FormatSettings()));
}

void TmConfig::WriteDate(std::u16string_view Secao, std::u16string_view Item, TDateTime Valor) {
  WriteString(Secao, Item, DateText(Valor, FormatSettings()));
}

void TmConfig::WriteDateTime(std::u16string_view Secao, std::u16string_view Item, TDateTime Valor) {
  const TFormatSettings& fs = FormatSettings();
  WriteString(Secao, Item, DateText(Valor, fs) + u' ' + TimeText(Valor, fs));
}

void TmConfig::WriteTime(std::u16string_view Secao, std::u16string_view Item, TDateTime Valor) {
  WriteString(Secao, Item, TimeText(Valor, FormatSettings()));
}

std::u16string TmConfig::ReadStringConfig(std::u16string_view Item, std::u16string_view Padrao) const {
  return ReadString(kConfig, Item, Padrao);
}
int TmConfig::ReadIntegerConfig(std::u16string_view Item, int Padrao) const {
  return ReadInteger(kConfig, Item, Padrao);
}
bool TmConfig::ReadBoolConfig(std::u16string_view Item, bool Padrao) const { return ReadBool(kConfig, Item, Padrao); }
double TmConfig::ReadFloatConfig(std::u16string_view Item, double Padrao) const {
  return ReadFloat(kConfig, Item, Padrao);
}
Currency TmConfig::ReadCurrConfig(std::u16string_view Item, Currency Padrao) const {
  return ReadCurr(kConfig, Item, Padrao);
}
TDateTime TmConfig::ReadDateConfig(std::u16string_view Item, TDateTime Padrao) const {
  return ReadDate(kConfig, Item, Padrao);
}
TDateTime TmConfig::ReadDateTimeConfig(std::u16string_view Item, TDateTime Padrao) const {
  return ReadDateTime(kConfig, Item, Padrao);
}
void TmConfig::WriteStringConfig(std::u16string_view Item, std::u16string_view Valor) {
  WriteString(kConfig, Item, Valor);
}
void TmConfig::WriteIntegerConfig(std::u16string_view Item, int Valor) { WriteInteger(kConfig, Item, Valor); }
void TmConfig::WriteBoolConfig(std::u16string_view Item, bool Valor) { WriteBool(kConfig, Item, Valor); }
void TmConfig::WriteFloatConfig(std::u16string_view Item, double Valor) { WriteFloat(kConfig, Item, Valor); }
void TmConfig::WriteCurrConfig(std::u16string_view Item, Currency Valor) { WriteCurr(kConfig, Item, Valor); }
void TmConfig::WriteDateConfig(std::u16string_view Item, TDateTime Valor) { WriteDate(kConfig, Item, Valor); }
void TmConfig::WriteDateTimeConfig(std::u16string_view Item, TDateTime Valor) { WriteDateTime(kConfig, Item, Valor); }

}  // namespace zelmor
