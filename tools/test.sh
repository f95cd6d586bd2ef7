#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test: the full
# build, then the library's and the end-to-end tests again under AddressSanitizer + UBSan,
# then every fuzz target for a short, bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup-deps.sh

JOBS="$(nproc 2>/dev/null || echo 2)"
export CTEST_OUTPUT_ON_FAILURE=1

# ccache, where it is installed, keeps the objects of earlier runs (tools/fuzz.sh uses it
# too). Paths under the repository are hashed relative to it, so a clone in another
# folder finds the same cache.
LAUNCHER=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  LAUNCHER=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

# A warning in the project's own code fails the run.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELMOR_BUILD_TESTS=ON -DZELMOR_BUILD_BENCHMARKS=ON -DZELMOR_REQUIRE_BENCHMARKS=ON -DZELMOR_WERROR=ON \
  "${LAUNCHER[@]}"
cmake --build build -j"$JOBS"
# "large" (archives past 4 GiB) is left out: minutes and gigabytes of disk.
ctest --test-dir build -j"$JOBS" --timeout 300 -LE large

# The instrumented build: the library's tests, and the end-to-end tests, whose programs
# (zelmor, quindel) are this build's, so every attack they make runs instrumented too.
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZELMOR_SANITIZE=ON -DZELMOR_BUILD_BENCHMARKS=OFF \
  -DZELMOR_WERROR=ON "${LAUNCHER[@]}"
cmake --build build-asan -j"$JOBS"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp" \
  ctest --test-dir build-asan -L 'lib|e2e' -E '^install_tree$' -j"$JOBS" --timeout 600
# (install_tree builds an uninstrumented example against the installed libraries: it
# runs in the plain build only.)

# The fuzz targets, built with clang (libFuzzer, AddressSanitizer, UBSan), each run for
# 10 s over its committed seeds (fuzz/corpus/); a crash, a leak or a broken check fails
# the run. A longer run is `tools/fuzz.sh --seconds 600` (docs/reliability.md).
fuzz_start=$SECONDS
tools/fuzz.sh --seconds 10
echo "fuzz stage: $((SECONDS - fuzz_start)) s"
