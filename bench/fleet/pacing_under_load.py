#!/usr/bin/env python3
"""tavin-sim's pacing on a loaded machine: real-pace reads with tavin-cli while
busy loops keep every core occupied, then the worst pause inside one of the
sim's answers (from its byte log) against the program's 50 ms inter-byte
time-out. Optionally runs CTest's link tests under the same load.

A real radio's UART never pauses inside an answer; the sim must not either,
however late the machine lets it run.

Usage: pacing_under_load.py [--cli PATH] [--sim PATH] [--reads N] [--load K]
                            [--ctest BUILD_DIR] [--tests REGEX]
"""
import argparse
import os
import subprocess
import sys
import tempfile
import time

INTER_BYTE_TIMEOUT_MS = 50


def busy_loops(count):
    return [subprocess.Popen(["sh", "-c", "while :; do :; done"]) for _ in range(count)]


def worst_gap_ms(log_path):
    """Largest time between two bytes of one answer (no program bytes between)."""
    worst, previous = 0.0, None
    with open(log_path) as log:
        for line in log:
            fields = line.split()
            if len(fields) < 3:
                continue
            when = float(fields[0])
            if fields[1] == "in":
                previous = None
                continue
            if previous is not None:
                worst = max(worst, (when - previous) * 1000)
            previous = when
    return worst


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    build = os.path.join(here, "..", "..", "build")
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--cli", default=os.path.join(build, "src", "cli", "tavin-cli"))
    ap.add_argument("--sim", default=os.path.join(build, "src", "sim", "tavin-sim"))
    ap.add_argument("--reads", type=int, default=10, help="real-pace reads (about 7.6 s each)")
    ap.add_argument("--load", type=int, default=2 * (os.cpu_count() or 2), help="busy loops")
    ap.add_argument("--ctest", metavar="BUILD_DIR", help="also run these tests of a build under load")
    ap.add_argument("--tests", default="tst_simlink|tst_cliradio|tst_transfer|tst_sim$",
                    help="CTest regular expression for --ctest")
    args = ap.parse_args()

    work = tempfile.TemporaryDirectory(prefix="tavin-load-")
    log_path = os.path.join(work.name, "bytes.log")
    load = busy_loops(args.load)
    failures = []
    try:
        sim = subprocess.Popen([args.sim, "--log", log_path], stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, text=True)
        device = sim.stdout.readline().strip()
        started = time.monotonic()
        for n in range(args.reads):
            out = os.path.join(work.name, "read-%d.sin" % n)
            run = subprocess.run([args.cli, "read", "--port", device, "-o", out],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
            if run.returncode != 0:
                failures.append("read %d: exit %d: %s" % (n + 1, run.returncode, run.stderr.strip()[-200:]))
        elapsed = time.monotonic() - started
        sim.terminate()
        sim.wait()
        gap = worst_gap_ms(log_path)
        ctest_code = None
        if args.ctest:
            ctest_code = subprocess.run(["ctest", "--test-dir", args.ctest, "-R", args.tests,
                                         "--output-on-failure"]).returncode
    finally:
        for p in load:
            p.terminate()
        for p in load:
            p.wait()

    print("load: %d busy loops on %d cores" % (args.load, os.cpu_count() or 0))
    print("reads: %d of %d succeeded in %.0f s" % (args.reads - len(failures), args.reads, elapsed))
    for f in failures:
        print("  " + f)
    print("worst pause inside an answer: %.1f ms (the program gives up after %d ms)"
          % (gap, INTER_BYTE_TIMEOUT_MS))
    if ctest_code is not None:
        print("ctest -R '%s' under load: %s" % (args.tests, "passed" if ctest_code == 0 else "FAILED"))
    ok = not failures and gap < INTER_BYTE_TIMEOUT_MS and ctest_code in (None, 0)
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
