#include <benchmark/benchmark.h>

#include "calendar/calendar.h"
#include "format/format_datetime.h"
#include "format/format_number.h"
#include "parsing/conversions.h"

namespace {

using zelmor::TFormatSettings;

const TFormatSettings kBr = TFormatSettings::Brazilian();

void BM_FormatFloatTwoDecimals(benchmark::State& state) {
  double v = 1234.5678;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zelmor::FormatFloat(u"0.00", v, kBr));
    v += 0.01;
  }
}
BENCHMARK(BM_FormatFloatTwoDecimals);

void BM_FormatFloatMoney(benchmark::State& state) {
  double v = 1234567.891;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zelmor::FormatFloat(u"R$ #,##0.00;-R$ #,##0.00", v, kBr));
    v = -v;
  }
}
BENCHMARK(BM_FormatFloatMoney);

void BM_FormatFloatTie(benchmark::State& state) {
  // A 16-digit tie takes the exact path.
  for (auto _ : state) benchmark::DoNotOptimize(zelmor::FormatFloat(u"0.00", 123456789012345.5, kBr));
}
BENCHMARK(BM_FormatFloatTie);

void BM_FloatToStr(benchmark::State& state) {
  double v = 1.0 / 3;
  for (auto _ : state) {
    benchmark::DoNotOptimize(zelmor::FloatToStr(v, kBr));
    v *= 1.0001;
  }
}
BENCHMARK(BM_FloatToStr);

void BM_FormatCurr(benchmark::State& state) {
  const zelmor::Currency c = zelmor::Currency::FromRaw(12345678901);
  for (auto _ : state) benchmark::DoNotOptimize(zelmor::FormatCurr(u"#,##0.00", c, kBr));
}
BENCHMARK(BM_FormatCurr);

void BM_FormatDateTime(benchmark::State& state) {
  const zelmor::TDateTime t = zelmor::EncodeDateTime(2026, 12, 9, 14, 5, 9, 123);
  for (auto _ : state) benchmark::DoNotOptimize(zelmor::FormatDateTime(u"dd/mm/yyyy hh:nn:ss", t, kBr));
}
BENCHMARK(BM_FormatDateTime);

void BM_FormatDateTimeLong(benchmark::State& state) {
  const zelmor::TDateTime t = zelmor::EncodeDateTime(2026, 12, 9, 14, 5, 9, 123);
  for (auto _ : state) benchmark::DoNotOptimize(zelmor::FormatDateTime(u"dddd, d 'de' mmmm 'de' yyyy", t, kBr));
}
BENCHMARK(BM_FormatDateTimeLong);

void BM_StrToFloat(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(zelmor::StrToFloat(u"-1234,5678", kBr));
}
BENCHMARK(BM_StrToFloat);

void BM_StrToDateTime(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(zelmor::StrToDateTime(u"09/12/2026 14:05:09", kBr));
}
BENCHMARK(BM_StrToDateTime);

}  // namespace
