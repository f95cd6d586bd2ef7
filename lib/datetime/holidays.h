// The Brazilian national holidays: one table of rules behind TmDt::IsFeriado and
// TmDt::GetFeriadoStr, and the list of a year's holidays built from it.
#pragma once

#include <string>
#include <vector>

#include "core/types.h"

namespace zelmor {

struct Holiday {
  TDateTime Date;  // at 00:00
  std::u16string Name;
};

// Every national holiday of `year` (1–9999) in date order. A day that is two holidays
// (Tiradentes and Easter in 2019) appears twice, the fixed holiday first.
// EConvertError for a year outside 1–9999.
//   NationalHolidays(2018)[0] == {1 Jan 2018, u"Confraternização Universal"}
std::vector<Holiday> NationalHolidays(int year);

}  // namespace zelmor
