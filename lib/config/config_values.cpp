// TmConfig: the typed values and their text forms.
#include <cstdint>
#include <string>

#include "config/config_text.h"
#include "config/integer_text.h"
#include "config/mConfigUnit.h"
#include "core/text.h"
#include "format/calendar.h"
#include "format/format_number.h"
#include "format/format_settings.h"

namespace zelmor {

using config_text::DateText;
using config_text::TimeText;

namespace {

constexpr std::u16string_view kConfig = u"Config";

// A currency value exactly (no binary round-off): blanks, sign, digits with the
// regional decimal separator, an optional exponent; rounded half away from zero
// to 4 decimals.
bool ParseCurrency(std::u16string_view s, char16_t decimal, Currency& out) {
  std::size_t i = 0, n = s.size();
  while (i < n && s[i] == u' ') ++i;
  while (n > i && s[n - 1] == u' ') --n;
  bool negative = false;
  if (i < n && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  std::string digits;
  int scale = 0;  // value = digits × 10^scale
  bool any = false;
  for (; i < n && s[i] >= u'0' && s[i] <= u'9'; ++i, any = true) digits += static_cast<char>(s[i]);
  if (i < n && s[i] == decimal) {
    for (++i; i < n && s[i] >= u'0' && s[i] <= u'9'; ++i, any = true) {
      digits += static_cast<char>(s[i]);
      --scale;
    }
  }
  if (!any) return false;
  if (i < n && (s[i] == u'e' || s[i] == u'E')) {
    ++i;
    bool expNegative = false;
    if (i < n && (s[i] == u'+' || s[i] == u'-')) expNegative = s[i++] == u'-';
    if (i >= n) return false;
    int e = 0;
    for (; i < n && s[i] >= u'0' && s[i] <= u'9'; ++i)
      if (e < 10000) e = e * 10 + (s[i] - u'0');
    scale += expNegative ? -e : e;
  }
  if (i != n) return false;
  const std::size_t firstDigit = digits.find_first_not_of('0');
  if (firstDigit == std::string::npos) {
    out = Currency();
    return true;
  }
  scale += 4;  // to ten-thousandths
  bool roundUp = false;
  if (scale < 0) {
    const std::size_t drop = static_cast<std::size_t>(-scale);
    if (drop > digits.size()) {
      digits.clear();
    } else {
      roundUp = digits[digits.size() - drop] >= '5';
      digits.resize(digits.size() - drop);
    }
  } else {
    if (digits.size() - firstDigit + static_cast<std::size_t>(scale) > 19) return false;
    digits.append(static_cast<std::size_t>(scale), '0');
  }
  unsigned __int128 raw = 0;
  for (char c : digits) {
    raw = raw * 10 + static_cast<unsigned>(c - '0');
    if (raw > static_cast<unsigned __int128>(INT64_MAX) + 1) return false;
  }
  if (roundUp) ++raw;
  if (raw > static_cast<unsigned __int128>(INT64_MAX) + (negative ? 1 : 0)) return false;
  out = Currency::FromRaw(negative ? static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(raw))
                                   : static_cast<std::int64_t>(raw));
  return true;
}

}  // namespace

int TmConfig::ReadInteger(std::u16string_view Secao, std::u16string_view Item, int Padrao) const {
  int v;
  return ParseIntegerText(ReadString(Secao, Item, IntToStr(Padrao)), v) ? v : Padrao;
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
  return ParseCurrency(ReadString(Secao, Item, CurrToStr(Padrao, fs)), fs.DecimalSeparator, v) ? v : Padrao;
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
