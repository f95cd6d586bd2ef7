#!/usr/bin/env bash
# Fails when a C or C++ file of the tree differs from what clang-format makes of it
# with the tree's .clang-format, naming each such file. Files listed in
# tools/format_pending.txt (one path a line, relative to the root; "#" starts a
# comment) are left out until they are reformatted; a listed file that is formatted
# already is named too, so the list only shrinks.
#
#   tools/format_check.sh [--root DIR] [--fix]
#
# --fix reformats the files that are checked instead of failing. The layout is
# clang-format 14's (Debian 12): other versions lay some lines out differently, so
# the check looks for that version (CLANG_FORMAT names another binary) and exits
# with 77 (skipped) when it is missing.
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
FIX=0
while [ $# -gt 0 ]; do
  case "$1" in
    --root) ROOT="$(cd "$2" && pwd)"; shift 2 ;;
    --fix) FIX=1; shift ;;
    *) echo "usage: $0 [--root DIR] [--fix]" >&2; exit 2 ;;
  esac
done

CF="${CLANG_FORMAT:-}"
if [ -z "$CF" ]; then
  for candidate in clang-format-14 clang-format; do
    if command -v "$candidate" >/dev/null 2>&1 && "$candidate" --version | grep -q 'version 14\.'; then
      CF="$candidate"
      break
    fi
  done
fi
if [ -z "$CF" ]; then
  echo "format check skipped: clang-format 14 not found (set CLANG_FORMAT to use another)" >&2
  exit 77
fi

cd "$ROOT"
if [ ! -f .clang-format ]; then
  echo "format check: no .clang-format in $ROOT" >&2
  exit 2
fi

# The tree's sources: what git knows (new files included), or every file outside the
# build folders when the tree is not a checkout.
if git -C "$ROOT" rev-parse --is-inside-work-tree >/dev/null 2>&1 &&
    [ "$(git -C "$ROOT" rev-parse --show-toplevel)" = "$ROOT" ]; then
  mapfile -t FILES < <(git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' '*.c' | sort -u)
else
  mapfile -t FILES < <(find . -path './build*' -prune -o -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.c' \) \
    -print | sed 's|^\./||' | sort)
fi

declare -A PENDING=()
if [ -f tools/format_pending.txt ]; then
  while IFS= read -r line || [ -n "$line" ]; do
    line="${line%%#*}"
    line="$(echo "$line" | xargs)"
    [ -n "$line" ] && PENDING["$line"]=1
  done < tools/format_pending.txt
fi

# The files clang-format would change, out of those given: one run over all of them
# (one process per file would start the formatter hundreds of times).
differing() {
  [ $# -gt 0 ] || return 0
  "$CF" --dry-run --Werror "$@" 2>&1 | sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: .*/\1/p' | sort -u
}

CHECKED=()
LISTED=()
for f in "${FILES[@]}"; do
  [ -f "$f" ] || continue  # deleted but not yet committed
  if [ -n "${PENDING[$f]:-}" ]; then LISTED+=("$f"); else CHECKED+=("$f"); fi
done

failed=0
mapfile -t BAD < <(differing "${CHECKED[@]}")
for f in "${BAD[@]}"; do
  if [ "$FIX" = 1 ]; then
    "$CF" -i "$f"
    echo "reformatted: $f"
  else
    echo "not formatted ($CF -i $f): $f"
    failed=1
  fi
done
mapfile -t STILL < <(differing "${LISTED[@]}")
declare -A UNFORMATTED=()
for f in "${STILL[@]}"; do UNFORMATTED["$f"]=1; done
for f in "${LISTED[@]}"; do
  if [ -z "${UNFORMATTED[$f]:-}" ]; then
    echo "formatted already, take it off tools/format_pending.txt: $f"
    failed=1
  fi
done
for p in "${!PENDING[@]}"; do
  if [ ! -f "$p" ]; then
    echo "no such file, take it off tools/format_pending.txt: $p"
    failed=1
  fi
done

if [ "$failed" = 0 ]; then
  echo "format check: formatted ${#CHECKED[@]}, pending ${#LISTED[@]}"
fi
exit "$failed"
