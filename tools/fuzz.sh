#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (AddressSanitizer and UBSan on) into
# build-fuzz/, then runs each one over its committed seed corpus (fuzz/corpus/<target>/)
# for a bounded time. Ends with a non-zero status when a target crashes, leaks or
# breaks one of its checks; the input that did it is kept in build-fuzz/artifacts/.
#
#   tools/fuzz.sh                   every target, 10 s each (what CI runs)
#   tools/fuzz.sh --seconds 600     a longer run; new inputs stay in build-fuzz/corpus/
#   tools/fuzz.sh config_fuzz ...   only the targets named
#
# A crash is reproduced with `build-fuzz/fuzz/<target> <artifact>`; its input then
# becomes a regression test beside the code it broke.
#
# The files a target writes (the zip targets unpack every input) go to a folder of
# this run's own on a tmpfs, /dev/shm when it has room, removed at the end:
#   ZELMOR_FUZZ_TMPDIR=/some/folder tools/fuzz.sh ...   there instead (a disk, say)
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_EACH=10
RUNS=""
JOBS="$(nproc 2>/dev/null || echo 2)"
TARGETS=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) SECONDS_EACH="$2"; shift 2 ;;
    --runs) RUNS="$2"; shift 2 ;;
    --jobs) JOBS="$2"; shift 2 ;;
    -h|--help) sed -n '2,16p' "$0"; exit 0 ;;
    *) TARGETS+=("$1"); shift ;;
  esac
done

if ! command -v clang++ >/dev/null 2>&1; then
  echo "fuzz: clang++ is missing (tools/setup-deps.sh installs it)" >&2
  exit 1
fi

BUILD=build-fuzz
LAUNCHER=()
if command -v ccache >/dev/null 2>&1; then
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  LAUNCHER=(-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
# -O1 keeps the inputs per second high and the assertions on.
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" \
  -DZELMOR_BUILD_FUZZERS=ON -DZELMOR_SANITIZE=ON -DZELMOR_BUILD_APP=OFF -DZELMOR_BUILD_TESTS=OFF \
  -DZELMOR_BUILD_BENCHMARKS=OFF "${LAUNCHER[@]}" >/dev/null
cmake --build "$BUILD" --target zelmor_fuzzers -j"$JOBS"

# The time bounds a run; the count of inputs too, far above what any target reaches in it.
[ -n "$RUNS" ] || RUNS=$((SECONDS_EACH * 500000))
# Every target of the tree (not whatever an older build left in build-fuzz/fuzz/).
if [ "${#TARGETS[@]}" -eq 0 ]; then
  while IFS= read -r src; do TARGETS+=("$(basename "$src" .cpp)"); done \
    < <(find core platform lib adapters app tools testing -name '*_fuzz.cpp' | sort)
fi

mkdir -p "$BUILD/artifacts" "$BUILD/logs"

# Where the targets' temporary folders go. A tmpfs spares the disk's journal the
# thousands of files a second the zip targets create and remove; it must have room
# beyond the free space the unpacking keeps in reserve (1% of the file system, at
# least 64 MB), or every archive would be refused as too big for the disk.
FUZZ_TMP_BASE="${ZELMOR_FUZZ_TMPDIR:-}"
if [ -z "$FUZZ_TMP_BASE" ] && [ -d /dev/shm ] && [ -w /dev/shm ] \
  && [ "$(stat -f -c %T /dev/shm 2>/dev/null)" = tmpfs ]; then
  if read -r size_kb avail_kb < <(df -Pk /dev/shm 2>/dev/null | awk 'NR == 2 { print $2, $4 }'); then
    reserve_kb=$((size_kb / 100 > 65536 ? size_kb / 100 : 65536))
    if [ "$avail_kb" -gt $((reserve_kb + 262144)) ]; then FUZZ_TMP_BASE=/dev/shm; fi
  fi
fi
FUZZ_TMP="$(mktemp -d "${FUZZ_TMP_BASE:-${TMPDIR:-/tmp}}/zelmor-fuzz-XXXXXX")"
trap 'rm -rf "$FUZZ_TMP"' EXIT
export TMPDIR="$FUZZ_TMP"
# With TZ unset, glibc's mktime looks at /etc/localtime again on every call (the zip
# reader converts each entry's DOS time); the same zone, named, is read once.
export TZ="${TZ-:/etc/localtime}"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:allocator_may_return_null=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan.supp"

# One target: the committed seeds are read, new inputs go to the build's own corpus
# folder (kept between runs, never into the repository).
run_one() {
  local t="$1" seeds="fuzz/corpus/$1" corpus="$BUILD/corpus/$1" log="$BUILD/logs/$1.log"
  mkdir -p "$corpus"
  [ -d "$seeds" ] || { echo "fuzz: $t has no seed corpus in $seeds" >&2; return 1; }
  local rc=0
  "$BUILD/fuzz/$t" -max_total_time="$SECONDS_EACH" -runs="$RUNS" -timeout=20 -rss_limit_mb=2560 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$BUILD/artifacts/$t-" \
    "$corpus" "$seeds" >"$log" 2>&1 || rc=$?
  local runs per
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)"
  per="$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n1)"
  if [ "$rc" -ne 0 ]; then
    echo "FAIL $t (exit $rc); last lines of $log:"
    tail -n 40 "$log"
    return 1
  fi
  printf 'ok   %-26s %10s runs %8s/s  corpus %s\n' "$t" "${runs:-?}" "${per:-?}" "$(ls "$corpus" | wc -l)"
}
export -f run_one
export BUILD SECONDS_EACH RUNS

status=0
printf '%s\n' "${TARGETS[@]}" | xargs -P "$JOBS" -I{} bash -c 'run_one {}' || status=1
if [ "$status" -ne 0 ]; then
  echo "fuzz: a target failed; its input is in $BUILD/artifacts/" >&2
fi
exit "$status"
