// Small helpers shared by the TmDt units (not part of the public interface).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/types.h"

namespace zelmor::dates {

// A field read as a whole number the way typed fields are read: leading blanks
// skipped, an optional sign, then digits and nothing else. Empty, blank, a trailing
// blank or any other character, or a value beyond 32 bits: no number.
std::optional<int> ReadWholeNumber(std::u16string_view s);
// As above, 0 when there is no number.
// The text has ReadWholeNumber's form (blanks in front, a sign, digits), whatever
// the size of the number: told apart from text that is no number at all.
bool IsWholeNumberText(std::u16string_view s);
inline int ReadWholeNumberOr0(std::u16string_view s) { return ReadWholeNumber(s).value_or(0); }

// The `count` characters from 1-based position `pos` (fewer near the end, none past it).
std::u16string_view Sub(std::u16string_view s, std::size_t pos, std::size_t count);

// Decimal text with '0's in front up to `width` digits (never cut); "-" before them when negative.
std::u16string ZeroPad(std::int64_t v, int width);

// Date-time values before 1899-12-30 keep the time of day as a positive fraction
// (-1.25 is 29 Dec 1899 06:00), so plain addition across that day goes wrong.
// These map to and from a continuous day count where addition is exact.
// FromLinear raises EConvertError for a result outside years 1–9999.
double ToLinear(TDateTime v);
TDateTime FromLinear(double x);

// `v` moved by `months` calendar months, the day clipped to the end of the target
// month, the time of day kept. EConvertError when the year leaves 1–9999.
TDateTime IncMonth(TDateTime v, std::int64_t months);

}  // namespace zelmor::dates
