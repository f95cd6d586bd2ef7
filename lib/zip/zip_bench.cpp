// Packing and unpacking 200 MB of mixed files (text-like and incompressible,
// 4 KB to 20 MB) with TZip, next to Info-ZIP's `zip -6` and `unzip` on the same files
// in the same run. Times are wall-clock (the tools run in processes of their own);
// the "archive_MB" counter compares the sizes. Skipped without zip and unzip.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "testing/file_tree.h"
#include "testing/run_program.h"
#include "zip/ZipUnit.h"

namespace zelmor {
namespace {

using testing::FileTree;
using testing::RunQuietly;

bool HaveInfoZip() { return RunQuietly({"zip", "-v"}) == 0 && RunQuietly({"unzip", "-v"}) == 0; }

// 200 MB in "src": two thirds text-like, one third random bytes.
const FileTree& Tree() {
  static const std::unique_ptr<FileTree> tree = [] {
    auto t = std::make_unique<FileTree>();
    std::mt19937 rng(42);
    static const char* kWords[] = {"nota ", "fiscal ", "valor ", "12,50 ", "<item>", "</item>\n", "CNPJ ", "produto "};
    std::size_t total = 0;
    const std::size_t sizes[] = {4 << 10, 64 << 10, 512 << 10, 2 << 20, 20 << 20};
    for (int i = 0; total < (200u << 20); ++i) {
      const std::size_t size = std::min<std::size_t>(sizes[i % 5], (200u << 20) - total);
      std::string bytes;
      bytes.reserve(size);
      if (i % 3 == 2) {
        while (bytes.size() < size) bytes += static_cast<char>(rng());
      } else {
        while (bytes.size() < size) bytes += kWords[rng() % 8];
        bytes.resize(size);
      }
      t->Write("src/f" + std::to_string(i) + (i % 3 == 2 ? ".bin" : ".xml"), bytes);
      total += size;
    }
    t->Folder("out");
    return t;
  }();
  return *tree;
}

std::int64_t SizeOf(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return -1;
  std::fseek(f, 0, SEEK_END);
  const long n = std::ftell(f);
  std::fclose(f);
  return n;
}

void BM_TZipCompactar(benchmark::State& state) {
  const FileTree& t = Tree();
  for (auto _ : state)
    if (!TZip::Compactar(t.Path("src/*"), t.Path("out/ours.zip"))) state.SkipWithError("Compactar failed");
  state.counters["archive_MB"] = static_cast<double>(SizeOf(t.Native("out/ours.zip"))) / (1 << 20);
  state.SetBytesProcessed(state.iterations() * (200 << 20));
}
BENCHMARK(BM_TZipCompactar)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_InfoZipZip6(benchmark::State& state) {
  if (!HaveInfoZip()) return state.SkipWithError("Info-ZIP zip/unzip not installed");
  const FileTree& t = Tree();
  for (auto _ : state) {
    unlink(t.Native("out/infozip.zip").c_str());
    if (RunQuietly(
            {"sh", "-c", "cd '" + t.Native("src") + "' && zip -6 -q -X '" + t.Native("out/infozip.zip") + "' *"}) != 0)
      state.SkipWithError("zip failed");
  }
  state.counters["archive_MB"] = static_cast<double>(SizeOf(t.Native("out/infozip.zip"))) / (1 << 20);
  state.SetBytesProcessed(state.iterations() * (200 << 20));
}
BENCHMARK(BM_InfoZipZip6)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_TZipDescompactar(benchmark::State& state) {
  const FileTree& t = Tree();
  if (!t.Exists("out/ours.zip")) TZip::Compactar(t.Path("src/*"), t.Path("out/ours.zip"));
  for (auto _ : state)
    if (!TZip::Descompactar(t.Path("out/ours.zip"), t.Path("out/x1"), true)) state.SkipWithError("failed");
  state.SetBytesProcessed(state.iterations() * (200 << 20));
}
BENCHMARK(BM_TZipDescompactar)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_InfoZipUnzip(benchmark::State& state) {
  if (!HaveInfoZip()) return state.SkipWithError("Info-ZIP zip/unzip not installed");
  const FileTree& t = Tree();
  if (!t.Exists("out/ours.zip")) TZip::Compactar(t.Path("src/*"), t.Path("out/ours.zip"));
  for (auto _ : state)
    if (RunQuietly({"unzip", "-o", "-q", t.Native("out/ours.zip"), "-d", t.Native("out/x2")}) != 0)
      state.SkipWithError("unzip failed");
  state.SetBytesProcessed(state.iterations() * (200 << 20));
}
BENCHMARK(BM_InfoZipUnzip)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace zelmor
