#!/usr/bin/env bash
# Start-up, whole processes: `zelmor call` of a cheap routine against /bin/true, a routine
# that loads the outside-library services, and the display's first paint against a bare
# Qt window's (both under a private Xvfb, timed to the first flush of the window to the
# screen as Qt's painting log reports it).
#   tools/bench/compare_startup.sh            (RUNS=41 by default)
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
RUNS="${RUNS:-41}"
ZELMOR="$BENCH_BUILD/bin/zelmor"
bench_scratch

# Each whole-process pair twice: elapsed time, then processor time (what a loaded machine
# cannot blur: waiting for a processor is not the program's cost).
both() {
  python3 "$ALTERNATE" --direct --runs "$RUNS" "$@"
  python3 "$ALTERNATE" --direct --cpu --runs "$RUNS" "$@"
}
both --label "zelmor call TmStr.PadLeft" --peer-name true --ours "$ZELMOR call TmStr.PadLeft AB 5" --peer /bin/true
both --label "zelmor call TmStr.IsCPFValido" --peer-name true \
  --ours "$ZELMOR call TmStr.IsCPFValido 111.444.777-35" --peer /bin/true
printf 'ZELMOR' > "$BENCH_TMP/small.txt"
both --label "zelmor call TmRot.MD5File" --peer-name md5sum \
  --ours "$ZELMOR call TmRot.MD5File $BENCH_TMP/small.txt" --peer "md5sum $BENCH_TMP/small.txt"

if [ ! -x "$BENCH_BUILD/bin/quindel" ] || [ ! -x "$BENCH_BUILD/bench/first_paint_peer" ]; then
  echo "first paint: not measured (build the targets quindel and first_paint_peer)"
  exit 0
fi
bench_need_packages xvfb xauth
# A display number nobody uses.
for n in $(seq 90 140); do [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { DISPLAY_NUMBER=$n; break; }; done
Xvfb ":$DISPLAY_NUMBER" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
trap 'kill "$XVFB_PID" 2>/dev/null; rm -rf "$BENCH_TMP"' EXIT
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$DISPLAY_NUMBER" ] && break; sleep 0.05; done
mkdir -p "$BENCH_TMP/config"
export DISPLAY=":$DISPLAY_NUMBER" XDG_CONFIG_HOME="$BENCH_TMP/config" XDG_RUNTIME_DIR="$BENCH_TMP"
export QT_LOGGING_RULES="qt.widgets.painting=true"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
PORT="$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')"
python3 "$ALTERNATE" --direct --runs "$RUNS" --label "quindel first paint" --peer-name "Qt window" \
  --until "Flushing QRegion" --ours "$BENCH_BUILD/bin/quindel --port $PORT" --peer "$BENCH_BUILD/bench/first_paint_peer"
