# Sourced by the comparison scripts in this folder.
set -euo pipefail

BENCH_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
BENCH_BUILD="${BENCH_BUILD:-$BENCH_ROOT/build}"
ALTERNATE="$BENCH_ROOT/tools/bench/alternate.py"

# The peers are installed here, not by tools/run.sh or tools/setup-deps.sh: a till never needs them.
bench_need_packages() {
  local missing=()
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing ${missing[*]}" >&2
  if [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  else
    sudo DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  fi
}

# A scratch folder removed when the script ends.
bench_scratch() {
  BENCH_TMP="$(mktemp -d "${TMPDIR:-/tmp}/zelmor-bench.XXXXXX")"
  trap 'rm -rf "$BENCH_TMP"' EXIT
}
