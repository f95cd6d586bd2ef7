// Parsing and rounding of amounts: Str2Float on a typed Brazilian amount, and the
// decimal-text truncation and rounding on a spread of values.
#include <benchmark/benchmark.h>

#include <vector>

#include "mLib.h"
#include "testing/fixtures.h"

namespace {

using zelmor::TmConv;

const zelmor::testing::FixedRegionalSettings& Brazil() {
  static const zelmor::testing::FixedRegionalSettings s(zelmor::RegionalSettings::Brazilian());
  return s;
}

// 1,024 amounts with up to four decimals, cycled through by the loops.
const std::vector<double>& Values() {
  static const std::vector<double> v = [] {
    std::vector<double> out;
    std::uint32_t seed = 1;
    for (int i = 0; i < 1024; ++i) {
      seed = seed * 1664525u + 1013904223u;
      out.push_back(static_cast<double>(seed % 100000000) / 10000.0);
    }
    return out;
  }();
  return v;
}

void BM_Str2Float(benchmark::State& state) {
  Brazil();
  const std::u16string texts[] = {u"R$ 1.234,56", u"(12,50)", u"0,01", u"1.000.000,00"};
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(TmConv::Str2Float(texts[i++ & 3]));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Str2Float);

void BM_Trunca(benchmark::State& state) {
  Brazil();
  const auto& v = Values();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(TmConv::Trunca(v[i++ & 1023], 2));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Trunca);

void BM_ArredondaAritmetica(benchmark::State& state) {
  Brazil();
  const auto& v = Values();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(TmConv::ArredondaAritmetica(v[i++ & 1023], 2, true));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ArredondaAritmetica);

void BM_Arredonda(benchmark::State& state) {
  const auto& v = Values();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(TmConv::Arredonda(v[i++ & 1023], 2));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Arredonda);

void BM_FloatIgual(benchmark::State& state) {
  Brazil();
  const auto& v = Values();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TmConv::FloatIgual(v[i & 1023], v[(i + 1) & 1023], 2));
    ++i;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FloatIgual);

}  // namespace
