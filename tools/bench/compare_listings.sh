#!/usr/bin/env bash
# Listings against find: a recursive listing of a tree (TmFile.GetFilesRecursive against
# `find -type f | sort`) and a listing of one folder (TmFile.GetFiles against
# `find -maxdepth 1 -type f | sort`), at 10,000 and 100,000 files. Both sides give
# sorted paths and write them to a file.
#   tools/bench/compare_listings.sh [RUNS] [--cpu]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
RUNS="${1:-11}"
shift || true
OPTIONS=("$@")  # passed to alternate.py, e.g. --cpu on a loaded machine
ZELMOR="$BENCH_BUILD/bin/zelmor"
bench_scratch

# A tree of `files` empty files in folders of 1,000, and one flat folder of as many.
make_tree() {
  python3 - "$1" "$2" <<'PY'
import os, sys
root, files = sys.argv[1], int(sys.argv[2])
for f in range(files):
    d = os.path.join(root, "tree", f"pasta{f // 1000:03d}")
    if f % 1000 == 0:
        os.makedirs(d)
    open(os.path.join(d, f"nota{f:06d}.xml"), "w").close()
flat = os.path.join(root, "flat")
os.makedirs(flat)
for f in range(files):
    open(os.path.join(flat, f"nota{f:06d}.xml"), "w").close()
PY
}

for n in 10000 100000; do
  dir="$BENCH_TMP/n$n"
  make_tree "$dir" "$n"
  out="$BENCH_TMP/out"
  python3 "$ALTERNATE" "${OPTIONS[@]}" --runs "$RUNS" --label "recursive listing $n" --peer-name find \
    --ours "'$ZELMOR' call TmFile.GetFilesRecursive '[]' '$dir/tree/*' >$out" \
    --peer "find '$dir/tree' -type f | sort >$out"
  python3 "$ALTERNATE" "${OPTIONS[@]}" --runs "$RUNS" --label "folder listing $n" --peer-name find \
    --ours "'$ZELMOR' call TmFile.GetFiles '[]' '$dir/flat/*' true >$out" \
    --peer "find '$dir/flat' -maxdepth 1 -type f | sort >$out"
  rm -rf "$dir"
done
