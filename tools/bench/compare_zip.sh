#!/usr/bin/env bash
# TZip against Info-ZIP: packing (`zelmor call TZip.Compactar 'DIR/*' A.zip` against
# `zip -q -j A.zip FILES`) and unpacking (`zelmor call TZip.Descompactar` against
# `unzip -q -o`), at 100, 1,000 and 10,000 small files and one 200 MB file.
#
#   tools/bench/compare_zip.sh              every size, 7 rounds each
#   RUNS=15 tools/bench/compare_zip.sh 1000 one or more sizes ("big" is the 200 MB file)
source "$(dirname "$0")/common.sh"

ZELMOR="$BENCH_BUILD/bin/zelmor"
[ -x "$ZELMOR" ] || { echo "compare_zip: build zelmor first ($ZELMOR)" >&2; exit 1; }
bench_need_packages zip unzip
bench_scratch
RUNS="${RUNS:-7}"
SIZES=("$@")
[ ${#SIZES[@]} -gt 0 ] || SIZES=(100 1000 10000 big)

# Small files: 1-4 KB of text each, as a shop's XML and logs are.
make_small() {
  python3 - "$1" "$2" <<'PY'
import os, random, sys
folder, count = sys.argv[1], int(sys.argv[2])
os.makedirs(folder, exist_ok=True)
rng = random.Random(count)
words = ["nota", "caixa", "valor", "cliente", "produto", "<item>", "</item>", "R$", "12,50", "2026"]
for i in range(count):
    text = " ".join(rng.choice(words) for _ in range(rng.randint(150, 600)))
    with open(os.path.join(folder, "arq%05d.xml" % i), "w") as f:
        f.write(text)
PY
}

for size in "${SIZES[@]}"; do
  src="$BENCH_TMP/src-$size"
  if [ "$size" = big ]; then
    mkdir -p "$src"
    # Compressible but not trivial: base64 of random bytes deflates to about three quarters.
    head -c 150000000 /dev/urandom | base64 -w 76 > "$src/grande.txt"
    label="one 200 MB file"
  else
    make_small "$src" "$size"
    label="$size small files"
  fi
  "$ALTERNATE" --runs "$RUNS" --label "pack, $label" --peer-name zip \
    --prepare "rm -f '$BENCH_TMP/ours.zip' '$BENCH_TMP/peer.zip'" \
    --ours "'$ZELMOR' call TZip.Compactar '$src/*' '$BENCH_TMP/ours.zip'" \
    --peer "cd '$src' && zip -q -j '$BENCH_TMP/peer.zip' ./*"
  # Both unpack the archive Info-ZIP made, into a fresh folder each round.
  rm -f "$BENCH_TMP/peer.zip"
  (cd "$src" && zip -q -j "$BENCH_TMP/peer.zip" ./*)
  "$ALTERNATE" --runs "$RUNS" --label "unpack, $label" --peer-name unzip \
    --prepare "rm -rf '$BENCH_TMP/out-ours' '$BENCH_TMP/out-peer'" \
    --ours "'$ZELMOR' call TZip.Descompactar '$BENCH_TMP/peer.zip' '$BENCH_TMP/out-ours' true ''" \
    --peer "unzip -q -o '$BENCH_TMP/peer.zip' -d '$BENCH_TMP/out-peer'"
  rm -rf "$src"
done
