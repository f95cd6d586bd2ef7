// Process start-and-wait through ExecWinWait (command-line reading, the processes
// service, the wait and one event dispatch) next to posix_spawn and waitpid called
// directly, both on the system's `true`; and ProcessoAtivo with 1,000 more processes
// running (renamed copies of `sleep`, ended at the end).
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>

#include "core/text.h"
#include "platform/program_start.h"
#include "processes/processes.h"
#include "testing/file_tree.h"

extern char** environ;

namespace zelmor {
namespace {

void BM_ExecWinWaitTrue(benchmark::State& state) {
  std::uint32_t code = 0;
  for (auto _ : state)
    if (!TmRot::ExecWinWait(u"", u"true", u"", 0, code) || code != 0) state.SkipWithError("true did not run");
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ExecWinWaitTrue)->UseRealTime();

void BM_PosixSpawnTrue(benchmark::State& state) {
  char name[] = "true";
  char* argv[] = {name, nullptr};
  for (auto _ : state) {
    pid_t pid = 0;
    int status = 0;
    if (posix_spawnp(&pid, "true", nullptr, nullptr, argv, environ) != 0 || waitpid(pid, &status, 0) != pid)
      state.SkipWithError("true did not run");
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PosixSpawnTrue)->UseRealTime();

std::string Which(const char* program) {
  std::istringstream path(std::getenv("PATH") ? std::getenv("PATH") : "");
  std::string dir;
  while (std::getline(path, dir, ':'))
    if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0) return dir + "/" + program;
  return {};
}

void BM_ProcessoAtivoWith1000More(benchmark::State& state) {
  constexpr int kSleepers = 1000;
  testing::FileTree dir;
  const std::string sleep = Which("sleep");
  if (sleep.empty()) return state.SkipWithError("no sleep program");
  std::filesystem::copy_file(sleep, dir.Native("zelmor-bench-sleeper"));
  std::filesystem::permissions(dir.Native("zelmor-bench-sleeper"), std::filesystem::perms::owner_all);
  platform::ProgramStart s;
  s.Arguments = {dir.Path("zelmor-bench-sleeper"), u"120"};
  for (int i = 0; i < kSleepers; ++i)
    if (!platform::Service<platform::Processes>::Get().Start(s)) return state.SkipWithError("could not start");
  for (auto _ : state) {
    // Not found: every process is looked at.
    benchmark::DoNotOptimize(TmRot::ProcessoAtivo(u"zelmor-not-running.exe"));
  }
  state.SetItemsProcessed(state.iterations());
  TmRot::InativarProcesso(u"zelmor-bench-sleeper");
}
BENCHMARK(BM_ProcessoAtivoWith1000More)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(50);

}  // namespace
}  // namespace zelmor
