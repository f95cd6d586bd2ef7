#!/usr/bin/env bash
# Installs what is missing, builds, and starts the display program.
# Arguments are passed to it (for example --echo).
set -euo pipefail
cd "$(dirname "$0")/.."

tools/setup-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc 2>/dev/null || echo 2)" --target quindel zelmor
exec build/bin/quindel "$@"
