#!/usr/bin/env python3
"""Runs our command and a peer's in alternation and prints min and median times and ratios.

Each round runs --prepare (untimed) before each side, then the side itself; the sides
take turns going first so neither always meets a warmer cache.

With --until, a side is timed from its start to the first line of its standard error
that holds that text (a program that does not end by itself, such as a window), and is
then ended.

With --cpu, a side's time is the processor time (user and system) its process used,
not the time it took: on a shared, loaded machine the figure a start-up comparison can
trust, as waiting for a processor is not the program's cost.

With --direct, the commands run without a shell around them (split as a shell would split
them, no redirections): for start-up figures, where a shell's own start would hide the
difference.

  alternate.py --runs 15 --label "zip 1000" --prepare 'rm -f /tmp/x/a.zip' \
      --ours 'zelmor call TZip.Compactar ...' --peer 'zip -q -j ...'
"""
import argparse
import os
import selectors
import shlex
import signal
import statistics
import subprocess
import sys
import time

UNTIL_LIMIT_SECONDS = 30
DIRECT = False
CPU = False


def run(cmd, quiet=True, until=None):
    if until:
        return run_until(cmd, until)
    out = subprocess.DEVNULL if quiet else None
    args = shlex.split(cmd) if DIRECT else cmd
    start = time.perf_counter()
    p = subprocess.Popen(args, shell=not DIRECT, stdout=out, stderr=out)
    _, status, usage = os.wait4(p.pid, 0)
    p.returncode = rc = os.waitstatus_to_exitcode(status)
    elapsed = time.perf_counter() - start
    if CPU:
        elapsed = usage.ru_utime + usage.ru_stime
    if rc != 0:
        sys.exit(f"alternate.py: '{cmd}' exited with {rc}")
    return elapsed


def run_until(cmd, text):
    # exec: the time and the signal are the program's, not a shell's around it.
    start = time.perf_counter()
    p = subprocess.Popen("exec " + cmd, shell=True, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                         start_new_session=True)
    sel = selectors.DefaultSelector()
    sel.register(p.stderr, selectors.EVENT_READ)
    pending = b""
    found = None
    while found is None and time.perf_counter() - start < UNTIL_LIMIT_SECONDS:
        if not sel.select(timeout=1):
            continue
        chunk = os.read(p.stderr.fileno(), 65536)
        if not chunk:
            break
        pending += chunk
        if text.encode() in pending:
            found = time.perf_counter() - start
        pending = pending[-len(text):]
    os.killpg(p.pid, signal.SIGKILL)
    p.wait()
    p.stderr.close()
    if found is None:
        sys.exit(f"alternate.py: '{cmd}' never wrote '{text}' to standard error")
    return found


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--runs", type=int, default=11)
    p.add_argument("--label", default="")
    p.add_argument("--prepare", default="")
    p.add_argument("--ours", required=True)
    p.add_argument("--peer", required=True)
    p.add_argument("--peer-name", default="peer")
    p.add_argument("--until", default=None)
    p.add_argument("--direct", action="store_true")
    p.add_argument("--cpu", action="store_true")
    a = p.parse_args()
    global DIRECT, CPU
    DIRECT = a.direct
    CPU = a.cpu
    if CPU and a.until:
        sys.exit("alternate.py: --cpu and --until do not go together")

    ours, peer = [], []
    # One untimed warm-up round per side.
    for cmd in (a.ours, a.peer):
        if a.prepare:
            run(a.prepare)
        run(cmd, until=a.until)
    for i in range(a.runs):
        order = [(a.ours, ours), (a.peer, peer)]
        if i % 2:
            order.reverse()
        for cmd, times in order:
            if a.prepare:
                run(a.prepare)
            times.append(run(cmd, until=a.until))

    def ms(x):
        return f"{x * 1000:.1f}"

    r_min = min(ours) / min(peer)
    r_med = statistics.median(ours) / statistics.median(peer)
    unit = " cpu" if CPU else ""
    print(f"{a.label + unit:<32} ours min {ms(min(ours))} ms med {ms(statistics.median(ours))} ms | "
          f"{a.peer_name} min {ms(min(peer))} ms med {ms(statistics.median(peer))} ms | "
          f"ratio min {r_min:.2f} med {r_med:.2f}")


if __name__ == "__main__":
    main()
