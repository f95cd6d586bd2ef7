// The user's regional settings as a value: separators, date and time patterns,
// currency, and day and month names. The platform reads them (a
// RegionalSettingsSource); the library formats and parses with them.
#pragma once

#include <array>
#include <string>

namespace zelmor {

struct RegionalSettings {
  char16_t DecimalSeparator = u'.';
  char16_t ThousandSeparator = u',';
  char16_t DateSeparator = u'/';
  char16_t TimeSeparator = u':';
  // Date and time patterns in the library's pattern language ("dd/mm/yyyy", "hh:nn:ss").
  std::u16string ShortDateFormat = u"MM/dd/yyyy";
  std::u16string LongDateFormat = u"dddd, MMMM d, yyyy";
  std::u16string ShortTimeFormat = u"hh:nn";
  std::u16string LongTimeFormat = u"hh:nn:ss";
  std::u16string TimeAMString = u"AM";
  std::u16string TimePMString = u"PM";
  std::u16string CurrencyString = u"$";
  int CurrencyDecimals = 2;
  // Sunday first.
  std::array<std::u16string, 7> ShortDayNames{u"Sun", u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat"};
  std::array<std::u16string, 7> LongDayNames{u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                                             u"Thursday", u"Friday", u"Saturday"};
  // January first.
  std::array<std::u16string, 12> ShortMonthNames{u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                 u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};
  std::array<std::u16string, 12> LongMonthNames{u"January",   u"February", u"March",    u"April",
                                                u"May",       u"June",     u"July",     u"August",
                                                u"September", u"October",  u"November", u"December"};

  // Portuguese (Brazil), as Brazilian desktops show them ("quarta-feira", "dezembro").
  static RegionalSettings Brazilian();
  // The plain C locale: "." decimal point, no grouping, English names, ISO-like dates.
  static RegionalSettings Plain();
  // English (United States).
  static RegionalSettings UnitedStates();
};

}  // namespace zelmor
