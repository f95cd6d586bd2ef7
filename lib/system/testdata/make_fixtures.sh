#!/usr/bin/env bash
# Rebuilds the small Windows executables the version-resource reader is tested on,
# from the sources beside this script. Needs Debian's binutils-mingw-w64-i686 and
# binutils-mingw-w64-x86-64 (assembler, linker, windres) and cpp; nothing else.
# The programs only return 0; what matters is their headers and resources.
set -euo pipefail
cd "$(dirname "$0")"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT

build() {  # build ARCH OUTPUT [RC]
  local arch=$1 out=$2 rc=${3:-}
  local objs=("$tmp/start.o")
  if [ "$arch" = i686 ]; then "$arch-w64-mingw32-as" --32 start.s -o "$tmp/start.o"
  else "$arch-w64-mingw32-as" start.s -o "$tmp/start.o"; fi
  if [ -n "$rc" ]; then
    "$arch-w64-mingw32-windres" --preprocessor=cpp --preprocessor-arg=-P -c 1252 -O coff -i "$rc" -o "$tmp/res.o"
    objs+=("$tmp/res.o")
  fi
  # A fixed time stamp keeps the output the same on every rebuild.
  "$arch-w64-mingw32-ld" -s --no-insert-timestamp -e _start --subsystem console -o "$out" "${objs[@]}"
}

build i686 app32.exe app32.rc
build x86_64 winver64.exe winver64.rc
build x86_64 no_translation.exe no_translation.rc
build x86_64 product_only.exe product_only.rc
build i686 no_version.exe
