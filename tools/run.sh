#!/usr/bin/env bash
# Installs what is missing, builds, and starts the display program.
# Arguments are passed to it (for example --echo).
set -euo pipefail
cd "$(dirname "$0")/.."

# Only what building and running need: no test frameworks, clang or npm packages.
tools/setup-deps.sh --run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELMOR_BUILD_TESTS=OFF -DZELMOR_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target quindel zelmor
exec build/bin/quindel "$@"
