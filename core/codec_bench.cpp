// The byte decoders on 1 MB of text of four kinds: plain ASCII markup (an invoice),
// Portuguese prose with its accents (one byte in about twenty past ASCII), text past
// ASCII throughout, and random bytes (for UTF-8, mostly invalid). Throughput is of
// the bytes read.
//   codec_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>

#include "core/cp1252.h"
#include "core/text.h"

namespace zelmor {
namespace {

enum Kind { kAscii, kAccented, kHigh, kRandom };
const char* const kKindNames[] = {"ascii", "accented", "high", "random"};
constexpr std::size_t kSize = 1 << 20;

// The text of a kind as UTF-16, cut to about kSize code units.
std::u16string Text(Kind kind) {
  std::u16string t;
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  while (t.size() < kSize) {
    switch (kind) {
      case kAscii:
        t += u"<det nItem=\"" + IntToStr(static_cast<long long>(t.size())) +
             u"\"><prod><cProd>7891234567895</cProd><xProd>PRODUTO DE TESTE</xProd><vProd>10.00</vProd></prod></det>\n";
        break;
      case kAccented:
        t += u"A emissão da nota fiscal eletrônica é obrigatória para operações de comércio; "
             u"a ação não exige cópia em papel.\r\n";
        break;
      case kHigh:
        for (char16_t c : u"çãõéêíóúàâôÇÃÕÉÊÍÓÚÀÂÔ€") t.push_back(c);
        t.pop_back();
        break;
      case kRandom: t.push_back(static_cast<char16_t>(next() >> 24)); break;
    }
  }
  t.resize(kSize);
  return t;
}

// The text's bytes in Windows-1252 and in UTF-8; random bytes are those bytes in both.
struct Input {
  std::string cp1252, utf8;
};

const Input& InputOf(Kind kind) {
  static const std::array<Input, 4> inputs = [] {
    std::array<Input, 4> r;
    for (int k = 0; k < 4; ++k) {
      const std::u16string t = Text(static_cast<Kind>(k));
      r[static_cast<std::size_t>(k)].cp1252 = cp1252::Encode(t);
      r[static_cast<std::size_t>(k)].utf8 = k == kRandom ? cp1252::Encode(t) : U16ToUtf8(t);
    }
    return r;
  }();
  return inputs[static_cast<std::size_t>(kind)];
}

Kind KindOf(const benchmark::State& state) { return static_cast<Kind>(state.range(0)); }

void Finish(benchmark::State& state, std::size_t bytes) {
  state.SetLabel(kKindNames[KindOf(state)]);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

void BM_Cp1252Decode(benchmark::State& state) {
  const std::string& in = InputOf(KindOf(state)).cp1252;
  for (auto _ : state) benchmark::DoNotOptimize(cp1252::Decode(in));
  Finish(state, in.size());
}
BENCHMARK(BM_Cp1252Decode)->DenseRange(kAscii, kRandom);

void BM_Utf8ToU16(benchmark::State& state) {
  const std::string& in = InputOf(KindOf(state)).utf8;
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToU16(in));
  Finish(state, in.size());
}
BENCHMARK(BM_Utf8ToU16)->DenseRange(kAscii, kRandom);

void BM_Utf8ToU16Escape(benchmark::State& state) {
  const std::string& in = InputOf(KindOf(state)).utf8;
  for (auto _ : state) benchmark::DoNotOptimize(Utf8ToU16(in, Utf8Invalid::Escape));
  Finish(state, in.size());
}
BENCHMARK(BM_Utf8ToU16Escape)->DenseRange(kAscii, kRandom);

// Random bytes stop the strict decoder at once, so they are left out.
void BM_TryUtf8ToU16(benchmark::State& state) {
  const std::string& in = InputOf(KindOf(state)).utf8;
  std::u16string out;
  bool ok = true;
  for (auto _ : state) {
    ok = TryUtf8ToU16(in, out) && ok;
    benchmark::DoNotOptimize(out.data());
  }
  if (!ok) state.SkipWithError("valid UTF-8 was refused");
  Finish(state, in.size());
}
BENCHMARK(BM_TryUtf8ToU16)->DenseRange(kAscii, kHigh);

}  // namespace
}  // namespace zelmor
