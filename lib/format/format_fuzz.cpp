// Feeds arbitrary patterns, values and texts to the formatting and conversion
// engines. Besides crashes and sanitizer reports it traps on broken invariants:
// Try* throwing, FloatToStr text that StrToFloat rejects, a "-0" result, or
// output far larger than the pattern can explain.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/errors.h"
#include "core/text.h"
#include "format/format_datetime.h"
#include "format/format_number.h"
#include "parsing/conversions.h"
#include "testing/fuzz_check.h"

using zelmor::testing::FuzzCheck;

namespace {

using zelmor::TFormatSettings;

template <class T>
T Take(const std::uint8_t*& data, std::size_t& size) {
  T v{};
  if (size >= sizeof v) {
    std::memcpy(&v, data, sizeof v);
    data += sizeof v;
    size -= sizeof v;
  }
  return v;
}

bool IsNegativeZeroText(const std::u16string& s, char16_t decimal) {
  if (s.size() < 2 || s[0] != u'-') return false;
  for (std::size_t i = 1; i < s.size(); ++i)
    if (s[i] != u'0' && s[i] != decimal) return false;
  return true;
}

template <class F>
void ExpectOnlyConvertError(F&& call) {
  try {
    call();
  } catch (const zelmor::EConvertError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::uint8_t selector = Take<std::uint8_t>(data, size);
  const double value = Take<double>(data, size);
  const std::int64_t raw = Take<std::int64_t>(data, size);
  const std::int8_t precision = Take<std::int8_t>(data, size);
  const std::int8_t digits = Take<std::int8_t>(data, size);
  const std::u16string text = zelmor::Utf8ToU16(std::string_view(reinterpret_cast<const char*>(data), size));

  TFormatSettings fs;
  switch (selector % 3) {
    case 0: fs = TFormatSettings::Brazilian(); break;
    case 1: fs = TFormatSettings::UnitedStates(); break;
    default: fs = TFormatSettings::Plain(); break;
  }
  // Some runs put the pattern into the settings' own patterns, so nested codes
  // (c, ddddd, t …) expand fuzzed text too.
  const bool customPatterns = (selector & 0x10) != 0;
  if (customPatterns) {
    fs.ShortDateFormat = text;
    fs.LongDateFormat = text;
    fs.LongTimeFormat = text;
    fs.ShortTimeFormat = text;
  }

  // Number patterns.
  const std::u16string f = zelmor::FormatFloat(text, value, fs);
  FuzzCheck(f.size() <= 4 * text.size() + 400);
  const std::u16string c = zelmor::FormatCurr(text, zelmor::Currency::FromRaw(raw), fs);
  FuzzCheck(c.size() <= 4 * text.size() + 400);
  const std::u16string fixed = zelmor::FormatFloat(u"0.00", value, fs);
  FuzzCheck(!IsNegativeZeroText(fixed, fs.DecimalSeparator));
  FuzzCheck(
      !IsNegativeZeroText(zelmor::FormatCurr(u"#,##0.000", zelmor::Currency::FromRaw(raw), fs), fs.DecimalSeparator));
  for (int style = 0; style < 5; ++style)
    zelmor::FloatToStrF(value, static_cast<zelmor::FloatFormat>(style), precision, digits, fs);
  zelmor::CurrToStr(zelmor::Currency::FromRaw(raw), fs);

  // The general format reads back, except for the few doubles next to the largest,
  // whose 15 digits round past the double range.
  if (std::isfinite(value) && std::fabs(value) < 1.797693134862315e308) {
    double back = 0;
    FuzzCheck(zelmor::TryStrToFloat(zelmor::FloatToStr(value, fs), back, fs));
    FuzzCheck(std::fabs(back - value) <= std::fabs(value) * 1e-14);
  }

  // Date-time patterns never throw, whatever the value.
  const std::u16string d = zelmor::FormatDateTime(text, value, fs);
  if (!customPatterns) FuzzCheck(d.size() <= 40 * text.size() + 400);
  zelmor::DateTimeToStr(value, fs);

  // Parsers: Try* never throws; Str* throws only EConvertError.
  int i32;
  std::int64_t i64;
  double dbl;
  zelmor::TDateTime dt;
  zelmor::TryStrToInt(text, i32);
  zelmor::TryStrToInt64(text, i64);
  zelmor::TryStrToFloat(text, dbl, fs);
  zelmor::TryStrToDate(text, dt, fs);
  zelmor::TryStrToTime(text, dt, fs);
  zelmor::TryStrToDateTime(text, dt, fs);
  ExpectOnlyConvertError([&] { zelmor::StrToInt(text); });
  ExpectOnlyConvertError([&] { zelmor::StrToFloat(text, fs); });
  ExpectOnlyConvertError([&] { zelmor::StrToDateTime(text, fs); });
  return 0;
}
