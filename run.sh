#!/usr/bin/env bash
# Builds the programs and starts them. Installs what is missing.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure-deps.sh
tavin_ensure_deps

jobs=$(nproc 2>/dev/null || echo 2)
# Only the three programs it runs: the tests and benchmarks are test.sh's work.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs" --target tavin tavin-cli tavin-sim

# The desktop program, with tavin-sim playing a radio (its demo programming) on
# COM1. With no display it runs under Xvfb, saves a screenshot and stops.
work=$(mktemp -d)
port="$work/COM1"
build/src/sim/tavin-sim --link "$port" >"$work/sim.out" 2>"$work/sim.log" &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null || true; wait "$sim_pid" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    [ -e "$port" ] && break
    sleep 0.1
done
if [ ! -e "$port" ]; then
    echo "tavin-sim did not start; see $work/sim.log" >&2
    exit 1
fi
export TAVIN_COM1="$port"
echo "Virtual radio (tavin-sim, demo programming) on COM1 = $port"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    echo "Starting tavin. Read the virtual radio with 编程 > 从对讲机读取数据 (Ctrl+R)."
    build/src/app/tavin "$@"
else
    # Show the radio's channels in the picture: read it once over the virtual port.
    radio="$work/radio.sin"
    args=()
    if build/src/cli/tavin-cli read --port "$port" -o "$radio" >/dev/null 2>"$work/read.log"; then
        args=("$radio")
    else
        echo "(reading the virtual radio failed, see $work/read.log; showing a new document)" >&2
    fi
    shot="$PWD/build/tavin-screenshot.png"
    xvfb-run -a -s "-screen 0 1280x800x24" build/src/app/tavin --screenshot "$shot" "${args[@]}"
    echo "No display: tavin ran under Xvfb. Screenshot of its main window: $shot"
fi
