#!/usr/bin/env bash
# Moves against mv, whole processes on one file system: TmFile.MoverArquivos of a
# folder of small files into another against `mv SRC/* DEST/`, at 1,000 and 10,000
# files. The files are laid out again (untimed) before each run.
#   tools/bench/compare_moves.sh [RUNS] [--cpu]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
RUNS="${1:-11}"
shift || true
OPTIONS=("$@")  # passed to alternate.py, e.g. --cpu on a loaded machine
ZELMOR="$BENCH_BUILD/bin/zelmor"
bench_scratch

for n in 1000 10000; do
  dir="$BENCH_TMP/n$n"
  mkdir -p "$dir/model"
  python3 - "$dir/model" "$n" <<'PY'
import os, sys
folder, files = sys.argv[1], int(sys.argv[2])
for f in range(files):
    with open(os.path.join(folder, f"nota{f:06d}.xml"), "w") as out:
        out.write("x" * (200 + (f * 37) % 1800))
PY
  prepare="rm -rf '$dir/src' '$dir/dest' && cp -r '$dir/model' '$dir/src' && mkdir '$dir/dest'"
  python3 "$ALTERNATE" "${OPTIONS[@]}" --runs "$RUNS" --label "MoverArquivos $n" --peer-name mv --prepare "$prepare" \
    --ours "'$ZELMOR' call TmFile.MoverArquivos '$dir/src/*' '$dir/dest'" \
    --peer "mv '$dir'/src/* '$dir/dest/'"
  rm -rf "$dir"
done
