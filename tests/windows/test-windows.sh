#!/usr/bin/env bash
# The Windows stage of test.sh: builds tavin.exe and tavin-cli.exe with
# MinGW-w64 against Qt built for Windows (scripts/windows/build-qt.sh, made
# first when it is missing), and runs under Wine:
#   1. every test program that needs neither a pseudo-terminal nor tavin-sim,
#      through CTest, in a decimal-comma locale;
#   2. the radio link through Wine's COM ports: tavin-sim on a pseudo-terminal
#      behind dosdevices/comN, against tavin-cli.exe and the Linux tavin-cli;
#   3. the window: tavin.exe --screenshot under Xvfb, and its Chinese texts
#      drawn with real glyphs on Qt's Windows platform;
#   4. the zip and the installer: a silent install, the installed program, the
#      registry, and a silent uninstall that leaves nothing behind.
# Usage: tests/windows/test-windows.sh [LINUX-BUILD]   (default build-asan,
# which has tavin-sim and the Linux tavin-cli to compare with)
set -euo pipefail
# Wine's programs create windows (Qt's event dispatcher has a hidden one even
# without a window on screen): the whole stage runs on an X server of its own.
if [ -z "${DISPLAY:-}" ] && [ -z "${TAVIN_WINDOWS_STAGE_XVFB:-}" ]; then
    exec env TAVIN_WINDOWS_STAGE_XVFB=1 xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
src=$(cd "$(dirname "$0")/../.." && pwd)
linux_build=${1:-$src/build-asan}
build=$src/build-win
jobs=$(nproc 2>/dev/null || echo 2)
started=$SECONDS

source "$src/tests/windows/wine-folder.sh"

source "$src/tests/checks.sh"

work=$(mktemp -d)
sims=()
cleanup() {
    local pid
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${sims[@]}"; do wait "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# --- Qt for Windows and the build -------------------------------------------------
qt=$("$src/scripts/windows/build-qt.sh" | tail -1)
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$src" CCACHE_NOHASHDIR=1
fi
log="$work/build.log"
# A Debug build without optimisation or debug information: the quickest to
# compile and link, with Qt's and our assertions on. (The zip and installer
# for users are built Release, as the README shows.)
if ! { cmake -S "$src" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64.cmake" \
           -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-O0 \
           -DTAVIN_BUILD_BENCH=OFF "${launcher[@]}" &&
       cmake --build "$build" -j"$jobs"; } >"$log" 2>&1; then
    tail -60 "$log" >&2
    echo "FAIL: building the Windows programs" >&2
    exit 1
fi
built=$SECONDS
echo "Windows programs and tests built in $((built - started)) s" >&2

# A Wine folder of the build's own, made once (and again when a run was cut
# short while making it); no Mono or Gecko downloads.
export WINEPREFIX="$build/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine_folder_ready || make_wine_folder

# --- 1. the tests under Wine, in a decimal-comma locale ----------------------------
locale_env=()
if locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    locale_env=(LC_ALL=de_DE.UTF-8)
elif [ "${CI:-}" = true ]; then
    echo "FAIL: the de_DE.UTF-8 locale is missing" >&2
    exit 1
fi
check "the tests pass under Wine (${locale_env[*]:-default locale})" \
    env "${locale_env[@]}" ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 900
tests_done=$SECONDS

# --- 2. the radio link through Wine's COM ports ------------------------------------
sim=$linux_build/src/sim/tavin-sim
lcli=$linux_build/src/cli/tavin-cli
wcli=$build/bin/tavin-cli.exe
[ -x "$sim" ] && [ -x "$lcli" ] || { echo "FAIL: $sim and $lcli are needed (the Linux stage builds them)" >&2; exit 1; }

# Wine's COM1 and COM2 lead to fixed paths, where each virtual radio links its
# pseudo-terminal: dosdevices/comN -> ports/comN -> /dev/pts/K. Wine's mount
# manager rebuilds dosdevices/comN from this setting whenever Wine starts.
ports=$build/wine-ports
mkdir -p "$ports"
for n in 1 2; do
    wine reg add 'HKLM\Software\Wine\Ports' /v "COM$n" /t REG_SZ /d "$ports/com$n" /f >/dev/null 2>&1
done
wineserver -k 2>/dev/null || true
wineserver -w
for n in 1 2; do ln -sfn "$ports/com$n" "$WINEPREFIX/dosdevices/com$n"; done

# start_sim N [OPTIONS...]: a virtual radio behind COMn.
start_sim() {
    local n=$1
    shift
    rm -f "$ports/com$n"
    "$sim" --link "$ports/com$n" "$@" >"$work/sim$n.out" 2>"$work/sim$n.err" &
    sims+=($!)
    local i
    for i in $(seq 100); do
        [ -L "$ports/com$n" ] && return 0
        sleep 0.05
    done
    echo "tavin-sim did not start: $(cat "$work/sim$n.err")" >&2
    return 1
}
stop_sims() {
    local pid
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
    for pid in "${sims[@]}"; do wait "$pid" 2>/dev/null || true; done
    sims=()
}
# run NAME PROGRAM ARGS...: runs it, keeping stdout, stderr and the exit code under $work/NAME.
run() {
    local name=$1
    shift
    set +e
    "$@" >"$work/$name.out" 2>"$work/$name.err"
    echo $? >"$work/$name.rc"
    set -e
}
rc() { cat "$work/$1.rc"; }
wine_cli() { wine "$wcli" "$@"; }

"$lcli" new -o "$work/new.sin"

# A read at the radio's real pace: the same bytes as the Linux program reads.
start_sim 1 --save "$work/saved.sin"
run win-read wine_cli read --port COM1 -o "$work/win-read.sin"
run lin-read "$lcli" read --port "$ports/com1" -o "$work/lin-read.sin"
check "read: tavin-cli.exe exits 0 (stderr: $(tail -2 "$work/win-read.err" | tr '\n' ' '))" test "$(rc win-read)" = 0
check "read: the Linux tavin-cli exits 0" test "$(rc lin-read)" = 0
check "read: tavin-cli.exe reads the bytes the Linux program reads" cmp -s "$work/win-read.sin" "$work/lin-read.sin"

# write --verify, then verify against another file: the same outcome and the same differences.
run win-write wine_cli write --port COM1 --verify "$work/new.sin"
check "write --verify: tavin-cli.exe exits 0 ($(tail -1 "$work/win-write.err"))" test "$(rc win-write)" = 0
check "write --verify: the radio holds bytes 0x000 to 0x3D7 of the file" cmp -s -n 984 "$work/saved.sin" "$work/new.sin"
run win-verify wine_cli verify --port COM1 "$work/lin-read.sin"
run lin-verify "$lcli" verify --port "$ports/com1" "$work/lin-read.sin"
check "verify of another file: tavin-cli.exe exits 7" test "$(rc win-verify)" = 7
check "verify of another file: the Linux tavin-cli exits 7" test "$(rc lin-verify)" = 7
# (Windows' text output ends its lines with CR LF.)
check "verify: both name the same differences" \
    bash -c "tr -d '\r' <'$work/win-verify.out' | cmp -s - '$work/lin-verify.out'"
run win-verify-same wine_cli verify --port COM1 "$work/new.sin"
check "verify of the radio's own programming: exit 0" test "$(rc win-verify-same)" = 0

# The port held by another program: "in use", exit 4; the first transfer goes on.
wine_cli read --port COM1 -o "$work/first.sin" >/dev/null 2>"$work/first.err" &
first=$!
sleep 3
run win-busy wine_cli read --port COM1 -o "$work/second.sin"
set +e; wait "$first"; first_rc=$?; set -e
check "a second program on COM1 exits 4 ($(tail -1 "$work/win-busy.err"))" test "$(rc win-busy)" = 4
check "a second program on COM1 says the port is in use" grep -q "in use" "$work/win-busy.err"
check "the first program's read completes" test "$first_rc" = 0

# The doctor on Windows: the port is free and the radio answers; a port that does not exist.
run win-doctor wine_cli doctor --port COM1
check "doctor --port COM1 with a radio: exit 0 ($(tail -1 "$work/win-doctor.out"))" test "$(rc win-doctor)" = 0
check "doctor says the Linux checks do not apply" grep -q "brltty: does not apply on Windows" "$work/win-doctor.out"
run win-doctor-none wine_cli doctor --port COM9
check "doctor --port COM9 (no such port): exit 4" test "$(rc win-doctor-none)" = 4
stop_sims

# The sim's faults: the same exit codes from both programs.
faults=(  # fault verb expected-exit
    "no-write-ack:50 write 6"
    "read-reply-9:3 read 6"
    "no-read-ack:5 read 6"
    "hangup:20 read 6"
    "stx-none read 0"
    "silent read 5"
)
for row in "${faults[@]}"; do
    read -r fault verb expected <<<"$row"
    args=(-o "$work/fault.sin")
    [ "$verb" = write ] && args=("$work/new.sin")
    for side in win lin; do
        start_sim 1 --fast --fault "$fault"
        if [ "$side" = win ]; then
            run "fault-$side" wine_cli "$verb" --port COM1 "${args[@]}"
        else
            run "fault-$side" "$lcli" "$verb" --port "$ports/com1" "${args[@]}"
        fi
        stop_sims
    done
    check "fault $fault: tavin-cli.exe $verb exits $expected (got $(rc fault-win): $(tail -1 "$work/fault-win.err"))" \
        test "$(rc fault-win)" = "$expected"
    check "fault $fault: the Linux tavin-cli $verb exits $expected too" test "$(rc fault-lin)" = "$expected"
done

# clone: one channel file into two radios on COM1 and COM2.
mkdir -p "$work/kept1" "$work/kept2"
start_sim 1 --fast --radios 1 --save-dir "$work/kept1"
start_sim 2 --fast --radios 1 --save-dir "$work/kept2"
run win-clone wine_cli clone "$work/new.sin" --port COM1 --port COM2 --count 2 \
    --backup-dir "$work/backups" --log "$work/clone.jsonl"
stop_sims
check "clone on COM1 and COM2: exit 0 ($(tail -1 "$work/win-clone.err"))" test "$(rc win-clone)" = 0
check "clone: two verified records in the audit log" test "$(grep -c '"result": *"verified"' "$work/clone.jsonl" 2>/dev/null)" = 2
for n in 1 2; do
    check "clone: the radio on COM$n holds the file" cmp -s -n 984 "$work/kept$n/radio-1.sin" "$work/new.sin"
    check "clone: the backup of COM$n's radio is its original programming" \
        cmp -s "$work/kept$n/radio-1-original.sin" "$(ls "$work"/backups/*COM$n*.sin | head -1)"
done
link_done=$SECONDS

# --- 3. the window on Windows --------------------------------------------------------
run shot wine "$build/bin/tavin.exe" --screenshot "$work/shot.png" "$work/lin-read.sin"
check "tavin.exe --screenshot under Wine: exit 0 ($(tail -1 "$work/shot.err"))" test "$(rc shot)" = 0
check "tavin.exe --screenshot wrote a picture" test -s "$work/shot.png"
# The window's Chinese texts through Qt's Windows platform itself (Wine's GDI
# and its fonts), not the offscreen one of the tests above: real glyphs, no boxes.
run glyphs env QT_QPA_PLATFORM=windows "$src/cmake/wine-run.sh" "$build/bin/tst_chinesetexts.exe"
check "the window's Chinese texts draw with real glyphs on the Windows platform ($(grep -m1 'FAIL!' "$work/glyphs.out"))" \
    test "$(rc glyphs)" = 0
if [ -n "${TAVIN_KEEP_SCREENSHOT:-}" ]; then cp "$work/shot.png" "$TAVIN_KEEP_SCREENSHOT"; fi

# --- 4. the zip and the installer -----------------------------------------------------
"$src/tests/windows/test-installer.sh" "$build" || failed=$((failed + 1))

echo "Windows stage: built in $((built - started)) s, tests $((tests_done - built)) s," \
     "radio link $((link_done - tests_done)) s, total $((SECONDS - started)) s" >&2
echo "windows: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
