// Speed of the date routines used in entry forms and holiday checks.
#include <benchmark/benchmark.h>

#include "calendar/calendar.h"
#include "datetime/mDataHora.h"
#include "testing/fixtures.h"

namespace zelmor {
namespace {

void BM_CompletaData(benchmark::State& state) {
  testing::FixedRegionalSettings regional(RegionalSettings::Brazilian());
  testing::FixedClock clock({2021, 3, 9, 14, 7, 9, 0});
  const char16_t* typed[] = {u"05/12/18  ", u"05/  /2017", u"05/12/2018   :  ", u"05/12/2018 10:30", u"  /  /    "};
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TmDt::CompletaData(typed[i]));
    i = (i + 1) % std::size(typed);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CompletaData);

void BM_GetPascoa(benchmark::State& state) {
  int year = 1900;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TmDt::GetPascoa(year));
    year = year == 2100 ? 1900 : year + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GetPascoa);

void BM_IsFeriado(benchmark::State& state) {
  const double first = EncodeDate(1900, 1, 1), last = EncodeDate(2100, 12, 31);
  double day = first;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TmDt::IsFeriado(day));
    day = day == last ? first : day + 1;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_IsFeriado);

// Every day of 1900–2100 (73,414 days) per iteration.
void BM_IsFeriadoEveryDay1900To2100(benchmark::State& state) {
  const double first = EncodeDate(1900, 1, 1), last = EncodeDate(2100, 12, 31);
  for (auto _ : state) {
    int holidays = 0;
    for (double day = first; day <= last; day += 1) holidays += TmDt::IsFeriado(day);
    benchmark::DoNotOptimize(holidays);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(last - first + 1));
}
BENCHMARK(BM_IsFeriadoEveryDay1900To2100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zelmor
