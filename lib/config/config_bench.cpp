// TmConfig on a 10,000-line file: load, 1,000 reads spread through the file,
// 1,000 writes, save; and, on the same file in the same run, the inih parser's
// INIReader (a widely used C/C++ INI library) loading it and answering the same reads,
// where inih is installed (the build defines ZELMOR_HAVE_INIH then).
#include <benchmark/benchmark.h>
#ifdef ZELMOR_HAVE_INIH
#include <INIReader.h>
#endif

#include <fstream>
#include <string>
#include <vector>

#include "config/mConfigStaticUnit.h"
#include "config/mConfigUnit.h"
#include "core/text.h"
#include "testing/temp_store.h"

namespace zelmor {
namespace {

constexpr int kSections = 1000;  // × 10 lines: header, comment, 7 entries, blank
constexpr int kEntries = 7;
constexpr int kReads = 1000;

std::string SectionName(int s) { return "Secao" + std::to_string(s); }
std::string ItemName(int i) { return "Item" + std::to_string(i); }

// One file for the whole run, and the 1,000 entries read (one per section, every item in turn).
struct Sample {
  testing::TemporaryFolder Folder;
  std::string Path = Folder.Path() + "/grande.ini";
  std::vector<std::pair<std::u16string, std::u16string>> Keys;
  std::vector<std::pair<std::string, std::string>> Keys8;

  Sample() {
    std::ofstream out(Path, std::ios::binary);
    for (int s = 0; s < kSections; ++s) {
      out << "[" << SectionName(s) << "]\r\n; comentário da seção\r\n";
      for (int i = 0; i < kEntries; ++i) out << ItemName(i) << "=valor " << s * 10 + i << "\r\n";
      out << "\r\n";
    }
    for (int k = 0; k < kReads; ++k) {
      const int s = k * kSections / kReads, i = k % kEntries;
      Keys.emplace_back(Utf8ToU16(SectionName(s)), Utf8ToU16(ItemName(i)));
      Keys8.emplace_back(SectionName(s), ItemName(i));
    }
  }
};

Sample& TheSample() {
  static Sample s;
  return s;
}

void Rates(benchmark::State& state, int perIteration) { state.SetItemsProcessed(state.iterations() * perIteration); }

void BM_TmConfig_Load(benchmark::State& state) {
  Sample& s = TheSample();
  for (auto _ : state) {
    TmConfig c(Utf8ToU16(s.Path), true);
    benchmark::DoNotOptimize(c.TotalLinhas);
  }
  TmConfig c(Utf8ToU16(s.Path), true);
  state.counters["lines"] = c.TotalLinhas;
}
BENCHMARK(BM_TmConfig_Load)->Unit(benchmark::kMillisecond);

void BM_TmConfig_Read1000(benchmark::State& state) {
  Sample& s = TheSample();
  TmConfig c(Utf8ToU16(s.Path), true);
  for (auto _ : state)
    for (const auto& [secao, item] : s.Keys) benchmark::DoNotOptimize(c.ReadString(secao, item, u""));
  Rates(state, kReads);
}
BENCHMARK(BM_TmConfig_Read1000)->Unit(benchmark::kMillisecond);

void BM_TmConfig_ReadInteger1000(benchmark::State& state) {
  Sample& s = TheSample();
  TmConfig c(Utf8ToU16(s.Path), true);
  for (auto _ : state)
    for (const auto& [secao, item] : s.Keys) benchmark::DoNotOptimize(c.ReadInteger(secao, item, 0));
  Rates(state, kReads);
}
BENCHMARK(BM_TmConfig_ReadInteger1000)->Unit(benchmark::kMillisecond);

void BM_TmConfig_Write1000(benchmark::State& state) {
  Sample& s = TheSample();
  TmConfig c(Utf8ToU16(s.Path), true);
  int n = 0;
  for (auto _ : state) {
    ++n;
    for (const auto& [secao, item] : s.Keys) c.WriteInteger(secao, item, n);
  }
  Rates(state, kReads);
  c.SetModificado(false);
}
BENCHMARK(BM_TmConfig_Write1000)->Unit(benchmark::kMillisecond);

void BM_TmConfig_Save(benchmark::State& state) {
  Sample& s = TheSample();
  TmConfig c(Utf8ToU16(s.Path), true);
  const std::u16string copy = Utf8ToU16(s.Folder.Path() + "/copia.ini");
  for (auto _ : state) c.SaveCopyTo(copy);
}
BENCHMARK(BM_TmConfig_Save)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole cycle on a copy of the file: load, 1,000 reads, 1,000 writes, save.
void BM_TmConfig_LoadRead1000Write1000Save(benchmark::State& state) {
  Sample& s = TheSample();
  const std::u16string copy = Utf8ToU16(s.Folder.Path() + "/ciclo.ini");
  TmConfig(Utf8ToU16(s.Path), true).SaveCopyTo(copy);
  int n = 0;
  for (auto _ : state) {
    TmConfig c(copy, true);
    for (const auto& [secao, item] : s.Keys) benchmark::DoNotOptimize(c.ReadString(secao, item, u""));
    ++n;
    for (const auto& [secao, item] : s.Keys) c.WriteInteger(secao, item, n);
    c.Flush();
  }
}
BENCHMARK(BM_TmConfig_LoadRead1000Write1000Save)->Unit(benchmark::kMillisecond)->UseRealTime();

// One read through the one-call front-end: the file is loaded for every call.
void BM_TConfigStatic_Ler(benchmark::State& state) {
  Sample& s = TheSample();
  const std::u16string path = Utf8ToU16(s.Path);
  std::size_t k = 0;
  for (auto _ : state) {
    const auto& [secao, item] = s.Keys[k++ % s.Keys.size()];
    benchmark::DoNotOptimize(TConfigStatic::Ler(secao, item, u"", path));
  }
  Rates(state, 1);
}
BENCHMARK(BM_TConfigStatic_Ler)->Unit(benchmark::kMillisecond);

#ifdef ZELMOR_HAVE_INIH
void BM_Inih_Load(benchmark::State& state) {
  Sample& s = TheSample();
  for (auto _ : state) {
    INIReader r(s.Path);
    benchmark::DoNotOptimize(r.ParseError());
  }
}
BENCHMARK(BM_Inih_Load)->Unit(benchmark::kMillisecond);

void BM_Inih_Read1000(benchmark::State& state) {
  Sample& s = TheSample();
  INIReader r(s.Path);
  if (r.ParseError() != 0) state.SkipWithError("inih could not parse the file");
  for (auto _ : state)
    for (const auto& [secao, item] : s.Keys8) benchmark::DoNotOptimize(r.Get(secao, item, ""));
  Rates(state, kReads);
}
BENCHMARK(BM_Inih_Read1000)->Unit(benchmark::kMillisecond);

// The same answers from both: checked once, so the figures compare like with like.
void BM_SameAnswers(benchmark::State& state) {
  Sample& s = TheSample();
  TmConfig c(Utf8ToU16(s.Path), true);
  INIReader r(s.Path);
  for (auto _ : state) {
    for (std::size_t k = 0; k < s.Keys.size(); ++k)
      if (U16ToUtf8(c.ReadString(s.Keys[k].first, s.Keys[k].second, u"")) !=
          r.Get(s.Keys8[k].first, s.Keys8[k].second, "?"))
        state.SkipWithError("the two parsers disagree");
  }
}
BENCHMARK(BM_SameAnswers)->Iterations(1);

#endif  // ZELMOR_HAVE_INIH

}  // namespace
}  // namespace zelmor
