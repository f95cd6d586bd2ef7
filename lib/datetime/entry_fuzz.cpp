// Any text through the completion and reading of typed dates and times, on a fixed
// clock and Brazilian settings. Besides crashes and sanitizer reports it traps when:
//   - completing a completed date changes it again (for the masks' layouts);
//   - a text DataValida accepts is not read by StrToDataHora;
//   - a date and time written as "dd/mm/yyyy hh:nn:ss", or as the SQL text, does not
//     read back as the same instant;
//   - minutes written by MinParaHora do not read back through HoraParaMin;
//   - anything but a conversion error comes out of the readers.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "calendar/calendar.h"
#include "core/errors.h"
#include "core/text.h"
#include "datetime/mDataHora.h"
#include "format/format_datetime.h"
#include "testing/fixtures.h"
#include "testing/fuzz_check.h"

using zelmor::testing::FuzzCheck;

namespace {

using zelmor::TDateTime;
using zelmor::TmDt;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static zelmor::testing::FixedRegionalSettings brazilian;
  static zelmor::testing::FixedClock clock({2026, 12, 11, 14, 30, 15, 250});
  std::int64_t raw = 0;
  if (size >= sizeof raw) std::memcpy(&raw, data, sizeof raw);
  const std::u16string text = zelmor::Utf8ToU16(std::string_view(reinterpret_cast<const char*>(data), size));

  // Completion: bounded, and a second pass leaves a completed date alone. That holds
  // for what the masks give: a date field (no ":"), or "dd/mm/yyyy hh:nn" with the ":"
  // in its place.
  const std::u16string done = TmDt::CompletaData(text);
  FuzzCheck(done.size() <= std::max<std::size_t>(text.size(), 10) + 20);
  const std::size_t colon = text.find(u':');
  if (colon == std::u16string::npos || (colon == 13 && text.size() == 16)) FuzzCheck(TmDt::CompletaData(done) == done);
  const std::u16string hora = TmDt::CompletaHora(text);
  FuzzCheck(hora.size() == 5);

  // What DataValida accepts, StrToDataHora reads.
  const TDateTime kNone = -700000.5;
  for (const std::u16string& t : {text, done}) {
    if (TmDt::DataValida(t)) FuzzCheck(TmDt::StrToDataHora(t, kNone) != kNone);
    TmDt::StrToDateTime(t, kNone);
  }

  try {
    const int minutes = TmDt::HoraParaMin(text);
    FuzzCheck(TmDt::HoraParaMin(TmDt::MinParaHora(minutes)) == minutes);
  } catch (const zelmor::EConvertError&) {
  }
  const int anyMinutes = static_cast<int>(raw);
  FuzzCheck(TmDt::HoraParaMin(TmDt::MinParaHora(anyMinutes)) == anyMinutes);

  // An instant from the input's first bytes, to the second: written and read back.
  const std::int64_t seconds = (raw % (3000LL * 366 * 86400));
  const TDateTime instant = static_cast<double>(seconds) / 86400.0;
  if (zelmor::InDateRange(instant)) {
    const TDateTime whole =
        static_cast<double>(static_cast<std::int64_t>(instant.Value * 86400.0 + (instant.Value < 0 ? -0.5 : 0.5))) /
        86400.0;
    const std::u16string typed = zelmor::FormatDateTime(u"dd/mm/yyyy hh:nn:ss", whole);
    const TDateTime back = TmDt::StrToDataHora(typed, kNone);
    if (whole.Value >= 0) {  // negative values are days before 1899-12-30 with the time added, not taken away
      FuzzCheck(back != kNone);
      FuzzCheck(std::abs(back.Value - whole.Value) * 86400.0 < 0.5);
    }
    std::u16string sql = TmDt::Data2Ansi(whole, true);
    sql = sql.substr(1, sql.size() - 2);
    const TDateTime fromSql = TmDt::StrToDateTime(sql, kNone);
    if (whole.Value >= 0) FuzzCheck(std::abs(fromSql.Value - whole.Value) * 86400.0 < 0.5);
  }
  return 0;
}
