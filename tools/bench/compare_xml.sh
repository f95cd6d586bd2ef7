#!/usr/bin/env bash
# The XML reader against pugixml, in one process (lib/xml/xml_bench.cpp): the same
# queries on the same 1 MB and 10 MB invoices, the benchmarks run in random
# interleaving, repeated; prints min and median per side and the ratios ours/pugixml,
# and what loading a file costs with and without the conversion to the reader's text.
#   tools/bench/compare_xml.sh [REPETITIONS]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

bench_need_packages libpugixml-dev
BENCH="$BENCH_BUILD/bench/xml_bench"
if [ ! -x "$BENCH" ] || ! "$BENCH" --benchmark_list_tests | grep -q '^BM_Pugixml/'; then
  echo "xml_bench with pugixml is not built; after installing pugixml run:" >&2
  echo "  cmake -S . -B build && cmake --build build --target xml_bench" >&2
  exit 1
fi
bench_scratch
"$BENCH" --benchmark_enable_random_interleaving=true --benchmark_repetitions="${1:-15}" \
  --benchmark_format=json --benchmark_out="$BENCH_TMP/xml.json" --benchmark_out_format=json >/dev/null
python3 - "$BENCH_TMP/xml.json" <<'PY'
import collections, json, statistics, sys
runs = collections.defaultdict(lambda: {"real": [], "cpu": []})
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if b.get("run_type") == "iteration":
        runs[b["run_name"]]["real"].append(b["real_time"])
        runs[b["run_name"]]["cpu"].append(b["cpu_time"])
def line(ours, peer):
    o, p = runs[ours], runs[peer]
    if not o["real"] or not p["real"]:
        return
    out = f"{ours:<22}"
    for kind in ("real", "cpu"):
        out += (f" | {kind} ours min {min(o[kind]):.2f} med {statistics.median(o[kind]):.2f} ms,"
                f" pugixml min {min(p[kind]):.2f} med {statistics.median(p[kind]):.2f} ms,"
                f" ratio min {min(o[kind]) / min(p[kind]):.2f} med {statistics.median(o[kind]) / statistics.median(p[kind]):.2f}")
    print(out)
for size in ("1", "10"):
    line(f"BM_Reader/{size}", f"BM_Pugixml/{size}")
    line(f"BM_ReaderFromFile/{size}", f"BM_PugixmlFromFile/{size}")
for size in ("1", "10"):
    b, t = runs[f"BM_FileBytes/{size}"]["cpu"], runs[f"BM_FileText/{size}"]["cpu"]
    if b and t:
        print(f"loading {size} MB (cpu median): the bytes {statistics.median(b):.2f} ms, as text "
              f"{statistics.median(t):.2f} ms (the conversion {statistics.median(t) - statistics.median(b):.2f} ms)")
for name in ("BM_Reader", "BM_ReaderNarrowed", "BM_Pugixml"):
    if runs[f"{name}/1"]["cpu"] and runs[f"{name}/10"]["cpu"]:
        print(f"{name:<22} 10 MB / 1 MB (cpu median): "
              f"{statistics.median(runs[f'{name}/10']['cpu']) / statistics.median(runs[f'{name}/1']['cpu']):.1f}")
PY
