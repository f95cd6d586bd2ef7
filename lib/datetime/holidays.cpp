// Easter and the Brazilian national holidays.
#include "datetime/holidays.h"

#include <algorithm>
#include <limits>

#include "calendar/calendar.h"
#include "datetime/mDataHora.h"

namespace zelmor {
namespace {

// One row of the holiday table: a fixed day of the year, or a day counted from
// Easter Sunday, in force from `FirstYear` to `LastYear` (a holiday created or
// abolished by law gets its years here, and nothing else changes).
struct HolidayRule {
  enum class Kind { Fixed, FromEaster };
  Kind Rule;
  int Month;         // Fixed
  int Day;           // Fixed
  int EasterOffset;  // FromEaster: days after Easter Sunday (negative: before)
  const char16_t* Name;
  int FirstYear = std::numeric_limits<int>::min();
  int LastYear = std::numeric_limits<int>::max();

  bool InForce(int year) const { return year >= FirstYear && year <= LastYear; }
};

constexpr HolidayRule Fixed(int day, int month, const char16_t* name, int firstYear = std::numeric_limits<int>::min()) {
  return {HolidayRule::Kind::Fixed, month, day, 0, name, firstYear};
}
constexpr HolidayRule FromEaster(int offset, const char16_t* name) {
  return {HolidayRule::Kind::FromEaster, 0, 0, offset, name};
}

// In the order GetFeriadoStr searches it: the fixed holidays win over a movable feast on the same day.
constexpr HolidayRule kHolidays[] = {
    Fixed(1, 1, u"Confraternização Universal"),
    Fixed(21, 4, u"Tiradentes"),
    Fixed(1, 5, u"Dia do Trabalho"),
    Fixed(7, 9, u"Independência do Brasil"),
    Fixed(12, 10, u"Nossa Senhora Aparecida"),
    Fixed(2, 11, u"Finados"),
    Fixed(15, 11, u"Proclamação da República"),
    // Dia Nacional de Zumbi e da Consciência Negra, national by federal law from 2024.
    Fixed(20, 11, u"Consciência Negra", 2024),
    Fixed(25, 12, u"Natal"),
    FromEaster(0, u"Páscoa"),
    FromEaster(-47, u"Carnaval"),
    FromEaster(-2, u"Sexta-feira da Paixão"),
    FromEaster(60, u"Corpus Christi"),
};

// The first rule that matches the day of `value`, or nullptr. Easter is computed only
// when a movable feast has to be checked.
const HolidayRule* FindHoliday(TDateTime value) {
  const DateParts d = DecodeDate(value);
  TDateTime day = 0, easter = 0;
  bool haveEaster = false;
  for (const HolidayRule& rule : kHolidays) {
    if (!rule.InForce(d.Year)) continue;
    if (rule.Rule == HolidayRule::Kind::Fixed) {
      if (rule.Month == d.Month && rule.Day == d.Day) return &rule;
      continue;
    }
    if (!haveEaster) {
      easter = TmDt::GetPascoa(d.Year);  // raises for a year outside 1–9999
      day = EncodeDate(d.Year, d.Month, d.Day);
      haveEaster = true;
    }
    if (day.Value == easter.Value + rule.EasterOffset) return &rule;
  }
  return nullptr;
}

}  // namespace

TDateTime TmDt::GetPascoa(int Ano) {
  // Oudin's integer form of the Gregorian computus.
  const int g = Ano % 19;
  const int c = Ano / 100;
  const int h = (c - c / 4 - (8 * c + 13) / 25 + 19 * g + 15) % 30;
  const int i = h - (h / 28) * (1 - (h / 28) * (29 / (h + 1)) * ((21 - g) / 11));
  const int j = (Ano + Ano / 4 + i + 2 - c + c / 4) % 7;
  const int l = i - j;
  const int month = 3 + (l + 40) / 44;
  const int day = l + 28 - 31 * (month / 4);
  TDateTime easter = EncodeDate(Ano, month, day);
  // The formula gives a Sunday; the walk only guards it.
  for (int k = 0; k < 6 && DayOfWeek(easter) != 1; ++k) easter = easter + 1;
  return easter;
}

bool TmDt::IsFeriado(TDateTime Data) { return FindHoliday(Data) != nullptr; }

std::u16string TmDt::GetFeriadoStr(TDateTime Data) {
  const HolidayRule* rule = FindHoliday(Data);
  return rule ? std::u16string(rule->Name) : std::u16string();
}

std::vector<Holiday> NationalHolidays(int year) {
  const TDateTime easter = TmDt::GetPascoa(year);
  std::vector<Holiday> list;
  for (const HolidayRule& rule : kHolidays) {
    if (!rule.InForce(year)) continue;
    TDateTime date = rule.Rule == HolidayRule::Kind::Fixed ? EncodeDate(year, rule.Month, rule.Day)
                                                           : TDateTime(easter.Value + rule.EasterOffset);
    list.push_back({date, rule.Name});
  }
  // Stable: on a shared day the table order (fixed first) stays.
  std::stable_sort(list.begin(), list.end(),
                   [](const Holiday& a, const Holiday& b) { return a.Date.Value < b.Date.Value; });
  return list;
}

}  // namespace zelmor
