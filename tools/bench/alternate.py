#!/usr/bin/env python3
"""Runs our command and a peer's in alternation and prints min and median times and ratios.

Each round runs --prepare (untimed) before each side, then the side itself; the sides
take turns going first so neither always meets a warmer cache.

  alternate.py --runs 15 --label "zip 1000" --prepare 'rm -f /tmp/x/a.zip' \
      --ours 'zelmor call TZip.Compactar ...' --peer 'zip -q -j ...'
"""
import argparse
import statistics
import subprocess
import sys
import time


def run(cmd, quiet=True):
    out = subprocess.DEVNULL if quiet else None
    start = time.perf_counter()
    rc = subprocess.run(cmd, shell=True, stdout=out, stderr=out).returncode
    elapsed = time.perf_counter() - start
    if rc != 0:
        sys.exit(f"alternate.py: '{cmd}' exited with {rc}")
    return elapsed


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--runs", type=int, default=11)
    p.add_argument("--label", default="")
    p.add_argument("--prepare", default="")
    p.add_argument("--ours", required=True)
    p.add_argument("--peer", required=True)
    p.add_argument("--peer-name", default="peer")
    a = p.parse_args()

    ours, peer = [], []
    # One untimed warm-up round per side.
    for cmd in (a.ours, a.peer):
        if a.prepare:
            run(a.prepare)
        run(cmd)
    for i in range(a.runs):
        order = [(a.ours, ours), (a.peer, peer)]
        if i % 2:
            order.reverse()
        for cmd, times in order:
            if a.prepare:
                run(a.prepare)
            times.append(run(cmd))

    def ms(x):
        return f"{x * 1000:.1f}"

    r_min = min(ours) / min(peer)
    r_med = statistics.median(ours) / statistics.median(peer)
    print(f"{a.label:<32} ours min {ms(min(ours))} ms med {ms(statistics.median(ours))} ms | "
          f"{a.peer_name} min {ms(min(peer))} ms med {ms(statistics.median(peer))} ms | "
          f"ratio min {r_min:.2f} med {r_med:.2f}")


if __name__ == "__main__":
    main()
