// TmReg reads and writes per second on a store file in a temporary folder.
#include <benchmark/benchmark.h>

#include "config/mIniReg.h"
#include "testing/temp_store.h"

namespace zelmor {
namespace {

constexpr std::u16string_view kKey = u"SOFTWARE\\Zelmor\\Forms\\QuindelForm";

// A store shaped like a real one: a few dozen keys with a handful of values each.
struct Store {
  testing::TemporaryRegistry Registry;
  Store() {
    for (int k = 0; k < 40; ++k)
      for (int v = 0; v < 5; ++v)
        TmReg::Gravar(u"Software\\Outro" + std::u16string(1, static_cast<char16_t>(u'A' + k % 26)) +
                          std::u16string(1, static_cast<char16_t>(u'0' + k / 26)),
                      u"Valor" + std::u16string(1, static_cast<char16_t>(u'0' + v)), v);
    TmReg::Gravar(kKey, u"Top", 100);
    TmReg::Gravar(kKey, u"State", u"Nor");
  }
};

void BM_TmReg_ReadInteger(benchmark::State& state) {
  Store s;
  for (auto _ : state) benchmark::DoNotOptimize(TmReg::Ler(kKey, u"Top", 0));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TmReg_ReadInteger);

void BM_TmReg_ReadString(benchmark::State& state) {
  Store s;
  for (auto _ : state) benchmark::DoNotOptimize(TmReg::Ler(kKey, u"State", u""));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TmReg_ReadString);

// Every write changes the value, so every write replaces the file (lock, write, flush to disk, rename).
void BM_TmReg_WriteInteger(benchmark::State& state) {
  Store s;
  int n = 0;
  for (auto _ : state) TmReg::Gravar(kKey, u"Top", ++n);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TmReg_WriteInteger)->Unit(benchmark::kMicrosecond)->UseRealTime();

// Writing the value already stored: the file is left alone.
void BM_TmReg_WriteUnchanged(benchmark::State& state) {
  Store s;
  for (auto _ : state) TmReg::Gravar(kKey, u"Top", 100);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TmReg_WriteUnchanged)->Unit(benchmark::kMicrosecond);

// The deepest key the store takes, N levels of 255-character names (a file of N × 256
// characters in its header line): a write rewrites and re-reads it. The time must grow
// in proportion to N, not with its square.
void BM_TmReg_WriteDeepKey(benchmark::State& state) {
  testing::TemporaryRegistry registry;
  std::u16string key;
  for (int i = 0; i < state.range(0); ++i) key += u"\\" + std::u16string(255, static_cast<char16_t>(u'a' + i % 26));
  int n = 0;
  for (auto _ : state) TmReg::Gravar(key, u"Top", ++n);
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TmReg_WriteDeepKey)
    ->RangeMultiplier(4)
    ->Range(8, 512)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime()
    ->Complexity();

}  // namespace
}  // namespace zelmor
