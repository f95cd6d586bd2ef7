// The text routines on the library's hot paths: filtering digits, stripping
// accents, replacing, and splitting a 10,000-field text. Short inputs are the
// typical values (an amount, a name and address); long ones show the routines
// stay linear in the text length.
#include <benchmark/benchmark.h>

#include "core/text.h"
#include "mLib.h"
#include "testing/fixtures.h"

namespace {

namespace TmStr = zelmor::TmStr;

const zelmor::testing::FixedRegionalSettings& Brazil() {
  static const zelmor::testing::FixedRegionalSettings s(zelmor::RegionalSettings::Brazilian());
  return s;
}

std::u16string Repeat(std::u16string_view unit, std::size_t times) {
  std::u16string s;
  s.reserve(unit.size() * times);
  for (std::size_t i = 0; i < times; ++i) s.append(unit);
  return s;
}

const std::u16string kAddress = u"Rua São João, 1.234 - Apto. 56 - Conceição - São Paulo/SP";

void BM_SomenteNumeros_Amount(benchmark::State& state) {
  Brazil();
  const std::u16string v = u"R$ 1.234,56";
  for (auto _ : state) benchmark::DoNotOptimize(TmStr::SomenteNumeros(v, true));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SomenteNumeros_Amount);

void BM_SomenteNumeros_Text(benchmark::State& state) {
  Brazil();
  const std::u16string v = Repeat(u"CNPJ 12.345.678/0001-95; ", static_cast<std::size_t>(state.range(0)) / 25);
  for (auto _ : state) benchmark::DoNotOptimize(TmStr::SomenteNumeros(v, true));
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(v.size() * 2));
}
BENCHMARK(BM_SomenteNumeros_Text)->Arg(1000)->Arg(100000);

void BM_RemoveAcentos_Address(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(TmStr::RemoveAcentos(kAddress, true));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RemoveAcentos_Address);

void BM_RemoveAcentos_Text(benchmark::State& state) {
  const std::u16string v = Repeat(kAddress, static_cast<std::size_t>(state.range(0)) / kAddress.size());
  for (auto _ : state) benchmark::DoNotOptimize(TmStr::RemoveAcentos(v, true));
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(v.size() * 2));
}
BENCHMARK(BM_RemoveAcentos_Text)->Arg(1000)->Arg(100000);

void BM_Replace(benchmark::State& state) {
  const std::u16string v = Repeat(kAddress, static_cast<std::size_t>(state.range(0)) / kAddress.size());
  const bool ignoreCase = state.range(1) != 0;
  for (auto _ : state) benchmark::DoNotOptimize(TmStr::Replace(v, u"São", u"Santo", ignoreCase));
  state.SetItemsProcessed(state.iterations());
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(v.size() * 2));
}
BENCHMARK(BM_Replace)->Args({60, 0})->Args({60, 1})->Args({100000, 0})->Args({100000, 1});

// 10,000 fields of 8 characters.
const std::u16string& TenThousandFields() {
  static const std::u16string s = [] {
    std::u16string t;
    for (int i = 0; i < 10000; ++i) {
      if (i) t.push_back(u';');
      t += u"campo" + zelmor::IntToStr(100 + i % 900);
    }
    return t;
  }();
  return s;
}

void BM_Split_10000_Array(benchmark::State& state) {
  const std::u16string& s = TenThousandFields();
  for (auto _ : state) benchmark::DoNotOptimize(TmStr::Split(s, u';'));
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Split_10000_Array)->Unit(benchmark::kMicrosecond);

void BM_Split_10000_List(benchmark::State& state) {
  const std::u16string& s = TenThousandFields();
  zelmor::TStringList l;
  for (auto _ : state) {
    TmStr::Split(s, u';', l, true, true);
    benchmark::DoNotOptimize(l.Items.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_Split_10000_List)->Unit(benchmark::kMicrosecond);

void BM_SplitCSV_10000(benchmark::State& state) {
  const std::u16string& s = TenThousandFields();
  zelmor::TStringList l;
  for (auto _ : state) {
    TmStr::SplitCSV(l, s, u';', true);
    benchmark::DoNotOptimize(l.Items.data());
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SplitCSV_10000)->Unit(benchmark::kMicrosecond);

}  // namespace
