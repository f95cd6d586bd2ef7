// The library's start-up state: a frozen copy of some of the user's regional
// settings, taken once when the process starts and changed afterwards only by
// TmReg::SetPadraoBrasil. A change of the live settings does not reach it.
#pragma once

#include <array>
#include <string>

namespace zelmor {

struct TRegionalCopies {
  char16_t DecimalSeparator = u'.';
  char16_t ThousandSeparator = u',';
  std::u16string ShortDateFormat;
  char16_t DateSeparator = u'/';
  std::u16string CurrencyString;
  std::u16string LongDateFormat;
  std::array<std::u16string, 7> ShortDayNames;  // Sunday first
  std::array<std::u16string, 7> LongDayNames;
  std::array<std::u16string, 12> LongMonthNames;  // January first
};

// The copies. Taken from the platform's regional settings on first use, or
// explicitly at process start with TakeRegionalCopies.
const TRegionalCopies& RegionalCopies();
// (Re)takes the copies from the platform's regional settings (process start; tests).
void TakeRegionalCopies();
// Overwrites the three copies that the Brazilian defaults set: decimal ",",
// thousands ".", short date "dd/MM/yyyy". Used by TmReg::SetPadraoBrasil.
void SetBrazilianRegionalCopies();

}  // namespace zelmor
