// The main of the benchmark programs: the system's services first, as in the programs.
#include <benchmark/benchmark.h>

#include "adapters/linux/system_services.h"

int main(int argc, char** argv) {
  zelmor::adapters::InstallSystemServices();
  ::benchmark::Initialize(&argc, argv);
  if (::benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  ::benchmark::RunSpecifiedBenchmarks();
  ::benchmark::Shutdown();
  return 0;
}
