#!/usr/bin/env bash
# The program starts with the C and C++ runtimes only: every other library (ICU, the
# services' outside libraries, Qt) is loaded by the call that needs it. A library linked
# in by a change would cost every call its mapping and relocation at start.
#   needed_libraries_test.sh PROGRAM
set -euo pipefail
needed="$(readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')"
[ -n "$needed" ] || { echo "no NEEDED entries read from $1" >&2; exit 1; }
# (The sanitizer runtimes come with a sanitizer build.)
extra="$(echo "$needed" | grep -vE '^(libstdc\+\+|libm|libgcc_s|libc|libdl|libpthread|ld-linux-[a-z0-9-]+|lib(a|ub|l|t)san)\.so' || true)"
if [ -n "$extra" ]; then
  echo "$(basename "$1") links libraries every call would pay for at start:" >&2
  echo "$extra" | sed 's/^/  /' >&2
  exit 1
fi
