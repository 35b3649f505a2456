#!/usr/bin/env python3
"""Fleet programming against tavin-sim at real 9600-baud pacing: tavin-cli clone
onto 1 sim, then 4 and 8 sims at once, 3 radios each. Prints the per-radio
cycle (from one radio's start to the next one's on the same port, from the
audit log) against its floor: the read, write and read floors of the link
benchmark added up, plus the sim's swap time. Then the wall time of the 4-
and 8-port runs against the 1-port run, and peak memory.

Targets: cycle at most 1.03 x floor; 8 ports at most 1.05 x the wall time of 1.

Usage: bench_fleet.py [--cli PATH] [--sim PATH] [--ports 1,4,8] [--radios 3] [--swap-ms 1500]
"""
import argparse
import json
import os
import re
import subprocess
import sys
import tempfile
import time
from datetime import datetime

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "link"))
import bench_link  # noqa: E402  (the link benchmark's floors)


READ_FLOOR = bench_link.floor_ms(bench_link.READ_BLOCKS, bench_link.READ_BLOCK_BYTES,
                                 bench_link.READ_BLOCK_PAUSE_MS)
WRITE_FLOOR = bench_link.floor_ms(bench_link.WRITE_BLOCKS, bench_link.WRITE_BLOCK_BYTES,
                                  bench_link.WRITE_BLOCK_PAUSE_MS)


def cycle_floor_ms(swap_ms):
    return READ_FLOOR + WRITE_FLOOR + READ_FLOOR + swap_ms


def parse_time(text):
    return datetime.fromisoformat(text.replace("Z", "+00:00"))


def run(cli, sim, ports, radios, swap_ms, work):
    sims, devices = [], []
    for n in range(ports):
        p = subprocess.Popen([sim, "--radios", str(radios), "--swap-ms", str(swap_ms)],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        sims.append(p)
        devices.append(p.stdout.readline().strip())
    backups = os.path.join(work, "backups-%d" % ports)
    cmd = ["/usr/bin/time", "-v", cli, "clone", os.path.join(work, "fleet.sin"), "--count", str(ports * radios),
           "--backup-dir", backups]
    for d in devices:
        cmd += ["--port", d]
    try:
        start = time.monotonic()
        proc = subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        wall = time.monotonic() - start
    finally:
        for p in sims:
            p.terminate()
            p.wait()
    if proc.returncode != 0:
        sys.exit("clone failed (%d):\n%s" % (proc.returncode, proc.stderr[-3000:]))
    peak = re.search(r"Maximum resident set size \(kbytes\): (\d+)", proc.stderr)
    records = [json.loads(line) for line in open(os.path.join(backups, "clone-log.jsonl")) if line.strip()]
    cycles = []
    steps = {"backup": [], "write": [], "readBack": [], "between": []}
    for device in devices:
        mine = sorted((r for r in records if r["port"] == device), key=lambda r: parse_time(r["start"]))
        starts = [parse_time(r["start"]) for r in mine]
        cycles += [(b - a).total_seconds() * 1000 for a, b in zip(starts, starts[1:])]
        for r in mine:
            for step in ("backup", "write", "readBack"):
                steps[step].append(r["seconds"][step] * 1000)
        steps["between"] += [(parse_time(b["start"]) - parse_time(a["end"])).total_seconds() * 1000
                             for a, b in zip(mine, mine[1:])]
    return wall, cycles, steps, int(peak.group(1)) if peak else -1


def main():
    build = os.path.join(HERE, "..", "..", "build")
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--cli", default=os.path.join(build, "src", "cli", "tavin-cli"))
    ap.add_argument("--sim", default=os.path.join(build, "src", "sim", "tavin-sim"))
    ap.add_argument("--ports", default="1,4,8")
    ap.add_argument("--radios", type=int, default=3, help="radios per sim")
    ap.add_argument("--swap-ms", type=int, default=1500)
    args = ap.parse_args()

    tmp = tempfile.TemporaryDirectory(prefix="tavin-bench-fleet-")
    subprocess.run([args.cli, "new", "-o", os.path.join(tmp.name, "fleet.sin")], check=True)
    floor = cycle_floor_ms(args.swap_ms)
    rows = []
    for ports in [int(p) for p in args.ports.split(",")]:
        wall, cycles, steps, peak = run(args.cli, args.sim, ports, args.radios, args.swap_ms, tmp.name)
        rows.append((ports, wall, cycles, peak))
        mean = {k: sum(v) / len(v) for k, v in steps.items() if v}
        print("%d port(s): wall %.1f s, cycles %s ms, peak %d KiB" % (
            ports, wall, " ".join("%.0f" % c for c in cycles), peak))
        print("    mean ms: backup %.0f (floor %.0f), write %.0f (floor %.0f), read-back %.0f (floor %.0f), "
              "end to next start %.0f (swap %d)" % (
                  mean["backup"], READ_FLOOR, mean["write"], WRITE_FLOOR, mean["readBack"], READ_FLOOR,
                  mean.get("between", float("nan")), args.swap_ms), flush=True)

    print()
    print("cycle floor: %.0f ms (read + write + read floors + %d ms swap)" % (floor, args.swap_ms))
    print("%-6s %10s %12s %12s %10s %12s" % ("ports", "wall s", "mean cycle", "worst cycle", "vs 1 port", "peak KiB"))
    base = rows[0][1]
    worst_cycle = 0.0
    worst_wall = 0.0
    for ports, wall, cycles, peak in rows:
        mean = sum(cycles) / len(cycles) if cycles else float("nan")
        worst = max(cycles) if cycles else float("nan")
        worst_cycle = max(worst_cycle, worst / floor)
        if ports != rows[0][0]:
            worst_wall = max(worst_wall, wall / base)
        print("%-6d %10.1f %7.0f %.3f %7.0f %.3f %10.3f %12d" % (
            ports, wall, mean, mean / floor, worst, worst / floor, wall / base, peak))
    print("target: cycle <= 1.03 x floor -> %s; wall <= 1.05 x 1 port -> %s" % (
        "met" if worst_cycle <= 1.03 else "NOT met", "met" if worst_wall <= 1.05 else "NOT met"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
