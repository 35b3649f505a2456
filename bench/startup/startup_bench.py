#!/usr/bin/env python3
"""Start-up benchmark: time from process start to the main window shown, and
resident memory at that moment, for tavin and for a bare Qt Widgets window (the
floor), side by side. Prints both ratios; the target is at most 1.3 for each.

Usage: startup_bench.py [BUILD_DIR] [--runs N]
Runs under the current DISPLAY, or under its own Xvfb when there is none.
"""
import argparse
import os
import resource
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

TARGET_RATIO = 1.3


def start_xvfb():
    if os.environ.get("DISPLAY") or not shutil.which("Xvfb"):
        return None
    for number in range(90, 140):
        if os.path.exists(f"/tmp/.X{number}-lock"):
            continue
        proc = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1280x800x24", "-nolisten", "tcp"],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(50):
            if os.path.exists(f"/tmp/.X11-unix/X{number}"):
                os.environ["DISPLAY"] = f":{number}"
                return proc
            time.sleep(0.1)
        proc.kill()
    return None


def run_once(command, env):
    """Returns (ms to the window shown, resident KiB then, CPU ms of the whole run)."""
    started = time.monotonic_ns()
    proc = subprocess.Popen(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    stdout, stderr = proc.communicate(timeout=60)
    # The CPU time of the run (start-up and the quit right after it) is less
    # disturbed than wall time when other work shares the machine.
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu_ms = (usage.ru_utime + usage.ru_stime) * 1000.0
    global _cpu_before
    cpu_ms, _cpu_before = cpu_ms - _cpu_before, cpu_ms
    for line in stdout.splitlines():
        parts = line.split()
        if len(parts) == 4 and parts[0] == "shown" and parts[2] == "rss_kb":
            return (int(parts[1]) - started) / 1e6, int(parts[3]), cpu_ms
    raise RuntimeError(f"{command[0]} did not report its window:\n{stdout}{stderr}")


_cpu_before = 0.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default="build")
    parser.add_argument("--runs", type=int, default=15)
    args = parser.parse_args()

    tavin = os.path.join(args.build, "src/app/tavin")
    floor = os.path.join(args.build, "bench/startup/bench-startup-floor")
    for path in (tavin, floor):
        if not os.access(path, os.X_OK):
            sys.exit(f"missing {path}: build the targets tavin and bench-startup-floor first")

    xvfb = start_xvfb()
    settings = tempfile.mkdtemp()
    env = dict(os.environ, XDG_CONFIG_HOME=settings)  # no recent files of the user's
    if not env.get("DISPLAY"):
        env["QT_QPA_PLATFORM"] = "offscreen"
    try:
        # One warm-up each so that both start from a warm file cache.
        run_once([floor], env)
        run_once([tavin, "--startup-probe"], env)
        samples = {"floor": [], "tavin": []}
        for _ in range(args.runs):
            samples["floor"].append(run_once([floor], env))
            samples["tavin"].append(run_once([tavin, "--startup-probe"], env))
    finally:
        if xvfb:
            xvfb.kill()
        shutil.rmtree(settings, ignore_errors=True)

    def medians(name):
        return tuple(statistics.median(sample[i] for sample in samples[name]) for i in range(3))

    floor_ms, floor_kb, floor_cpu = medians("floor")
    tavin_ms, tavin_kb, tavin_cpu = medians("tavin")
    time_ratio = tavin_ms / floor_ms
    memory_ratio = tavin_kb / floor_kb
    platform = "Xvfb" if xvfb else ("offscreen" if env.get("QT_QPA_PLATFORM") == "offscreen" else env["DISPLAY"])
    print(f"start-up to window shown, median of {args.runs} runs ({platform}):")
    print(f"  {'':8} {'time ms':>9} {'RSS KiB':>9} {'CPU ms':>9}")
    print(f"  {'floor':8} {floor_ms:9.1f} {floor_kb:9.0f} {floor_cpu:9.1f}")
    print(f"  {'tavin':8} {tavin_ms:9.1f} {tavin_kb:9.0f} {tavin_cpu:9.1f}")
    print(f"  time ratio   {time_ratio:.2f}  (target <= {TARGET_RATIO})")
    print(f"  memory ratio {memory_ratio:.2f}  (target <= {TARGET_RATIO})")
    print(f"  CPU ratio    {tavin_cpu / floor_cpu:.2f}  (for reference: steadier than time on a busy machine)")
    return 0 if time_ratio <= TARGET_RATIO and memory_ratio <= TARGET_RATIO else 1


if __name__ == "__main__":
    sys.exit(main())
