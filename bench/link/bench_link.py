#!/usr/bin/env python3
"""Times a full read and a full write with tavin-cli against tavin-sim at
9600-baud pacing, against the protocol's floor: its fixed pauses, the
handshake's 550 ms wait for a trailing byte, and 10 bits at 9600 baud for
every byte on the wire in either direction. Prints time, floor, ratio and
peak memory. Target: both ratios at most 1.05.

Usage: bench_link.py [--cli PATH] [--sim PATH] [--runs N]
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

BYTE_MS = 10 * 1000.0 / 9600  # one byte on the line

# Handshake: 12 x 1 ms before the probe, 1 ms after its ACK, the 550 ms wait,
# 16 x 1 ms after STX, 1 ms after the confirmation's ACK. Bytes: probe 8,
# ACK 1, STX 1, identity 8, confirmation 1, ACK 1.
HANDSHAKE_PAUSE_MS = 12 + 1 + 550 + 16 + 1
HANDSHAKE_BYTES = 8 + 1 + 1 + 8 + 1 + 1
# Read block: command 4, reply 12, ACK 1, ACK 1; 15 ms and 20 ms pauses.
READ_BLOCKS, READ_BLOCK_BYTES, READ_BLOCK_PAUSE_MS = 128, 4 + 12 + 1 + 1, 15 + 20
# Write block: command 4, data 8, ACK 1; 1 ms and 2 ms pauses.
WRITE_BLOCKS, WRITE_BLOCK_BYTES, WRITE_BLOCK_PAUSE_MS = 123, 4 + 8 + 1, 1 + 2


def floor_ms(blocks, block_bytes, block_pause_ms):
    pauses = HANDSHAKE_PAUSE_MS + blocks * block_pause_ms
    wire = (HANDSHAKE_BYTES + blocks * block_bytes) * BYTE_MS
    return pauses + wire


def timed(cmd):
    """Runs cmd under /usr/bin/time -v; returns (seconds, peak KiB)."""
    start = time.monotonic()
    proc = subprocess.run(["/usr/bin/time", "-v"] + cmd, stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE, text=True)
    elapsed = time.monotonic() - start
    if proc.returncode != 0:
        sys.exit("failed (%d): %s\n%s" % (proc.returncode, " ".join(cmd), proc.stderr))
    peak = re.search(r"Maximum resident set size \(kbytes\): (\d+)", proc.stderr)
    return elapsed, int(peak.group(1)) if peak else -1


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    build = os.path.join(here, "..", "..", "build")
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--cli", default=os.path.join(build, "src", "cli", "tavin-cli"))
    ap.add_argument("--sim", default=os.path.join(build, "src", "sim", "tavin-sim"))
    ap.add_argument("--runs", type=int, default=3, help="runs of each; the best is reported")
    args = ap.parse_args()

    tmp = tempfile.TemporaryDirectory(prefix="tavin-bench-")
    work = tmp.name
    sim = subprocess.Popen([args.sim, "--save", os.path.join(work, "saved.sin")],
                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    try:
        device = sim.stdout.readline().strip()
        image = os.path.join(work, "radio.sin")
        rows = []
        for verb, cmd, floor in (
                ("read", [args.cli, "read", "--port", device, "-o", image],
                 floor_ms(READ_BLOCKS, READ_BLOCK_BYTES, READ_BLOCK_PAUSE_MS)),
                ("write", [args.cli, "write", "--port", device, image],
                 floor_ms(WRITE_BLOCKS, WRITE_BLOCK_BYTES, WRITE_BLOCK_PAUSE_MS))):
            runs = [timed(cmd) for _ in range(args.runs)]
            best = min(r[0] for r in runs)
            peak = max(r[1] for r in runs)
            rows.append((verb, best * 1000, floor, peak))
    finally:
        sim.terminate()
        sim.wait()
        tmp.cleanup()

    print("%-6s %10s %10s %7s %10s" % ("", "time ms", "floor ms", "ratio", "peak KiB"))
    worst = 0.0
    for verb, ms, floor, peak in rows:
        ratio = ms / floor
        worst = max(worst, ratio)
        print("%-6s %10.0f %10.0f %7.3f %10d" % (verb, ms, floor, ratio, peak))
    print("target: ratio <= 1.05 -> %s" % ("met" if worst <= 1.05 else "NOT met"))
    return 0


if __name__ == "__main__":
    sys.exit(main())
