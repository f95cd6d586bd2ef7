// Speed of the file routines on real trees, next to the system's own tools on the
// same trees in the same run: a recursive listing of 100,000 files next to `find`,
// a copy of a folder of 10,000 small files next to `cp -a`, and the log writer on a
// log kept at 10,000 lines. Times are wall-clock (the tools run in processes of their
// own). The trees live in a temporary folder removed at the end.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/text.h"
#include "files/GravaLogsUnit.h"
#include "files/files.h"
#include "testing/file_tree.h"
#include "testing/fixtures.h"
#include "testing/run_program.h"

namespace zelmor {
namespace {

using testing::FileTree;
using testing::RunQuietly;

// 100,000 files: 10 folders of 10 folders of 1,000 files each.
const FileTree& ListingTree() {
  static const std::unique_ptr<FileTree> tree = [] {
    auto t = std::make_unique<FileTree>();
    for (int a = 0; a < 10; ++a)
      for (int b = 0; b < 10; ++b)
        for (int f = 0; f < 1000; ++f)
          t->Write("r/d" + std::to_string(a) + "/e" + std::to_string(b) + "/arquivo" + std::to_string(f) + ".txt", "");
    return t;
  }();
  return *tree;
}

// 10,000 files of 200 to 2,000 bytes in 10 folders.
const FileTree& CopyTree() {
  static const std::unique_ptr<FileTree> tree = [] {
    auto t = std::make_unique<FileTree>();
    for (int f = 0; f < 10000; ++f)
      t->Write("src/p" + std::to_string(f % 10) + "/nota" + std::to_string(f) + ".xml",
               std::string(200 + (f * 37) % 1800, 'x'), 1525255872);
    return t;
  }();
  return *tree;
}

void BM_GetFilesRecursive(benchmark::State& state) {
  const FileTree& t = ListingTree();
  const std::u16string mask = t.Path("r/*.txt");
  TStringList out;
  for (auto _ : state) {
    TmFile::GetFilesRecursive(out, mask, true);
    if (out.Count() != 100000) state.SkipWithError("wrong count");
  }
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_GetFilesRecursive)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_FindListing(benchmark::State& state) {
  const FileTree& t = ListingTree();
  for (auto _ : state)
    if (RunQuietly({"find", t.Native("r"), "-type", "f", "-iname", "*.txt"}) != 0) state.SkipWithError("find failed");
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_FindListing)->UseRealTime()->Unit(benchmark::kMillisecond);

// Each copy goes to a new folder; removing it is not timed.
template <class Copy>
void TimeCopies(benchmark::State& state, Copy copy) {
  const FileTree& t = CopyTree();
  int n = 0;
  for (auto _ : state) {
    const std::string to = t.Native("copia" + std::to_string(n++));
    const auto start = std::chrono::steady_clock::now();
    if (!copy(t.Native("src"), to)) state.SkipWithError("copy failed");
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    std::filesystem::remove_all(to);
    sync();  // every copy starts with nothing left to write back
  }
  state.SetItemsProcessed(state.iterations() * 10000);
}

void BM_CopiarPasta(benchmark::State& state) {
  TimeCopies(state, [](const std::string& from, const std::string& to) {
    return TmFile::CopiarPasta(Utf8ToU16(from), Utf8ToU16(to));
  });
}
BENCHMARK(BM_CopiarPasta)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_CpA(benchmark::State& state) {
  TimeCopies(state, [](const std::string& from, const std::string& to) {
    return RunQuietly({"cp", "-a", from, to}) == 0;
  });
}
BENCHMARK(BM_CpA)->UseManualTime()->Unit(benchmark::kMillisecond);

// One entry on top of a log kept at 10,000 lines: read, cut, add, replace.
void BM_LogWriterAt10000Lines(benchmark::State& state) {
  testing::FixedRegionalSettings br;
  FileTree t;
  std::string lines;
  for (int i = 0; i < 5000; ++i)
    lines += std::string(80, '-') + "\r\n2018/05/02 10:11:12 - frmVenda-> Venda " + std::to_string(i) +
             " finalizada no caixa 3\r\n";
  t.Write("caixa.log", lines);
  const std::u16string folder = t.Path() + u"/";
  for (auto _ : state) TGravaLogs::Execute(u"frmVenda", u"caixa.log", u"Venda finalizada no caixa 3", folder, 10000);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LogWriterAt10000Lines)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zelmor
