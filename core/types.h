// Value types shared by the whole library: the date-time value, the fixed-point
// currency and the string list. Text everywhere is std::u16string (UTF-16 code
// units, so positions and lengths are counted as the routines count them).
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelmor {

// Days since 30 December 1899; the fraction is the time of day.
// A distinct type (not a bare double) so tools can tell dates from numbers,
// but it converts both ways so arithmetic reads naturally: `TDateTime d = hoje + 1;`
struct TDateTime {
  double Value = 0.0;
  constexpr TDateTime() = default;
  constexpr TDateTime(double v) : Value(v) {}  // NOLINT: implicit by design
  constexpr operator double() const { return Value; }
};

// 64-bit fixed point with 4 decimals: Currency::FromRaw(12345) is 1.2345.
struct Currency {
  std::int64_t Raw = 0;  // value × 10,000
  static constexpr std::int64_t Scale = 10000;

  constexpr Currency() = default;
  static constexpr Currency FromRaw(std::int64_t raw) {
    Currency c;
    c.Raw = raw;
    return c;
  }
  // Rounds half away from zero to 4 decimals (what assigning a double to a currency does).
  // EConvertError for a value outside the currency's range, an infinity or NaN.
  static Currency FromDouble(double v);
  constexpr double ToDouble() const { return static_cast<double>(Raw) / Scale; }

  constexpr auto operator<=>(const Currency&) const = default;
  constexpr Currency operator+(Currency o) const { return FromRaw(Raw + o.Raw); }
  constexpr Currency operator-(Currency o) const { return FromRaw(Raw - o.Raw); }
  constexpr Currency operator-() const { return FromRaw(-Raw); }
};

// Ordered, growable list of texts. Routines that fill a caller's list never
// create or free it; they Clear and Add.
class TStringList {
 public:
  void Clear() { Items.clear(); }
  // Appends at the end and returns the new item's 0-based index.
  int Add(std::u16string_view s) {
    Items.emplace_back(s);
    return static_cast<int>(Items.size()) - 1;
  }
  int Count() const { return static_cast<int>(Items.size()); }
  const std::u16string& operator[](int i) const { return Items.at(static_cast<std::size_t>(i)); }
  std::u16string& operator[](int i) { return Items.at(static_cast<std::size_t>(i)); }
  // 0-based index of the first item equal to `s`, or -1.
  int IndexOf(std::u16string_view s) const;
  // Items joined with CR LF after each one (the classic list text).
  std::u16string Text() const;

  std::vector<std::u16string> Items;
};

}  // namespace zelmor
