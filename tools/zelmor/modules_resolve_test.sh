#!/usr/bin/env bash
# Every symbol of the project that a module of zelmor leaves to the program is defined
# by the program: a missing one would stop the module from loading at the first call
# that needs it, far from the change that caused it.
#   modules_resolve_test.sh PROGRAM MODULE...
set -euo pipefail
program="$1"
shift
defined="$(mktemp)"
trap 'rm -f "$defined"' EXIT
nm -D --defined-only "$program" | awk '{print $3}' | sort -u >"$defined"
status=0
for module in "$@"; do
  missing="$(nm -D --undefined-only "$module" | awk '{print $2}' | grep 'zelmor' | sort -u | comm -23 - "$defined" || true)"
  if [ -n "$missing" ]; then
    echo "$(basename "$module") needs what $(basename "$program") does not define:" >&2
    echo "$missing" | c++filt | sed 's/^/  /' >&2
    status=1
  fi
done
exit $status
