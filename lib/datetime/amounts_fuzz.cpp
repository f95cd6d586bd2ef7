// Any text through the lenient amount readers (Str2Float and its relatives) and the
// whole-number readers, under Brazilian settings. Besides crashes and sanitizer
// reports it traps when:
//   - the sign does not follow the rule ("-" anywhere, or both parentheses);
//   - an amount is not finite;
//   - a number written in the general format does not read back;
//   - the SQL form of an amount does not read back as the same amount (15 digits);
//   - a whole number written does not read back, or a reader raises what it must not.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/errors.h"
#include "core/text.h"
#include "datetime/mConvert.h"
#include "format/format_number.h"
#include "testing/fixtures.h"
#include "testing/fuzz_check.h"

using zelmor::testing::FuzzCheck;

namespace {

using zelmor::TmConv;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static zelmor::testing::FixedRegionalSettings brazilian;
  double value = 0;
  std::int64_t whole = 0;
  if (size >= sizeof value) {
    std::memcpy(&value, data, sizeof value);
    std::memcpy(&whole, data, sizeof whole);
  }
  const std::u16string text = zelmor::Utf8ToU16(std::string_view(reinterpret_cast<const char*>(data), size));

  const double amount = TmConv::Str2Float(text);
  FuzzCheck(std::isfinite(amount));
  // The magnitude is the text's without its signs; the sign is the rule's.
  std::u16string unsigned_;
  bool minus = false, open = false, close = false;
  for (char16_t c : text) {
    minus = minus || c == u'-';
    open = open || c == u'(';
    close = close || c == u')';
    if (c != u'-' && c != u'(' && c != u')') unsigned_ += c;
  }
  const double magnitude = TmConv::Str2Float(unsigned_);
  FuzzCheck(magnitude >= 0);
  FuzzCheck(amount == ((minus || (open && close)) ? -magnitude : magnitude));

  // The SQL form reads back as the amount to its 15 significant digits (where it has
  // no exponent).
  const std::u16string ansi = TmConv::Str2FloatAnsi(text);
  if (ansi.find(u'E') == std::u16string::npos)
    FuzzCheck(std::fabs(TmConv::StrAnsi2Float(ansi) - amount) <= std::fabs(amount) * 1e-14);

  TmConv::StrAnsi2Float(text);
  TmConv::StrFormated2FloatDef(text, 0.5);
  try {
    TmConv::StrFormated2Float(text);
  } catch (const zelmor::EConvertError&) {
  }

  // A number in the general format, without an exponent, reads back.
  const double a = std::fabs(value);
  if (std::isfinite(value) && a >= 1e-4 && a < 1e15) {
    const std::u16string written = zelmor::FloatToStr(value);
    if (written.find(u'E') == std::u16string::npos) {
      const double back = TmConv::Str2Float(written);
      FuzzCheck(std::fabs(back - value) <= a * 1e-14);
    }
  }

  TmConv::ToInt(text, 3);
  TmConv::ToInt64(text, 3);
  TmConv::ToBoolean(text);
  const std::int32_t w32 = static_cast<std::int32_t>(whole);
  FuzzCheck(TmConv::ToInt(zelmor::IntToStr(w32), w32 ^ 1) == w32);
  FuzzCheck(TmConv::ToInt64(zelmor::IntToStr(whole), 0) == whole || whole == 0);
  return 0;
}
