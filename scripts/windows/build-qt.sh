#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (x86_64-w64-mingw32, Debian's MinGW-w64 with
# POSIX threads) from the source of Debian's qt6-base package, the version of
# the host's Qt tools, which the cross build uses (moc, rcc, uic from /usr).
# Only what Tavin needs: Core, Gui, Widgets, PrintSupport and Test, with the
# Windows and offscreen platform plugins; no OpenGL, D-Bus, SQL, network or XML.
#
# The result goes into a cache folder outside the source tree and is reused
# while this script (comments aside) and the version stay the same:
#     ${XDG_CACHE_HOME:-$HOME/.cache}/tavin/qt-6.4.2-mingw64
# The source comes through a private apt configuration (its own source list,
# lists and archives folders under the cache), so the machine's apt set-up is
# left as it is. A build cut short goes on where it stopped. Prints the install
# folder on stdout as its last line; progress and the time the build took go
# to stderr. TAVIN_QT_JOBS sets the number of compile jobs (default 2).
#
#   scripts/windows/build-qt.sh            # build when missing, print the folder
#   scripts/windows/build-qt.sh --check    # exit 0 when the cached Qt is usable
set -euo pipefail

qt_version=6.4.2
triple=x86_64-w64-mingw32
cache=${XDG_CACHE_HOME:-$HOME/.cache}/tavin
prefix=$cache/qt-$qt_version-mingw64
work=$cache/qt-$qt_version-mingw64.work
jobs=${TAVIN_QT_JOBS:-2}
log=$work/build.log

# The cached build matches when it was made by this script (comments aside).
stamp_value=$(grep -v '^[[:space:]]*#' "$0" | sha256sum | cut -d' ' -f1)
stamp=$prefix/tavin-build-stamp

is_current() {
    [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$stamp_value" ] &&
        [ -f "$prefix/bin/Qt6Core.dll" ] && [ -f "$prefix/plugins/platforms/qwindows.dll" ]
}

fail() {  # fail MESSAGE: the end of the log, then MESSAGE
    [ -f "$log" ] && tail -40 "$log" >&2
    echo "$1 (log: $log)" >&2
    exit 1
}

# The source of Debian's qt6-base, through apt with a configuration of its own.
fetch_source() {
    local apt_dir=$cache/apt
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/sources.list.d"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
        >"$apt_dir/sources.list"
    local apt_opts=(
        -o "Dir::Etc::SourceList=$apt_dir/sources.list"
        -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
        -o "Dir::State::Lists=$apt_dir/lists"
        -o "Dir::Cache=$apt_dir"
        -o "Dir::Cache::Archives=$apt_dir/archives"
        -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache="
        -o "APT::Sandbox::User=root"
    )
    apt-get "${apt_opts[@]}" -qq update >>"$log" 2>&1 || fail "apt-get update (private sources) failed"
    local host_version
    host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null || true)
    case "$host_version" in
        "$qt_version"*) ;;
        *) fail "The host's Qt tools are '$host_version', not $qt_version: install qt6-base-dev-tools $qt_version" ;;
    esac
    (cd "$work" && { apt-get "${apt_opts[@]}" -qq source "qt6-base=$host_version" ||
                     apt-get "${apt_opts[@]}" -qq source qt6-base; }) >>"$log" 2>&1 ||
        fail "apt-get source qt6-base failed"
}

configure() {
    local src
    src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name "qt6-base-*" | head -1)
    [ -n "$src" ] && [ -f "$src/CMakeLists.txt" ] || fail "no qt6-base source in $work"
    grep -q "$qt_version" "$src/.cmake.conf" || fail "the fetched qt6-base is not Qt $qt_version"
    cat >"$work/toolchain.cmake" <<TOOLCHAIN
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $triple-gcc-posix)
set(CMAKE_CXX_COMPILER $triple-g++-posix)
set(CMAKE_RC_COMPILER $triple-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$triple)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
TOOLCHAIN
    # Debian's source leaves out the tablet header wintab.h: no tablet events.
    # Without OpenGL there is no dynamic choice of OpenGL either. Qt 6.4 builds
    # its DirectWrite font engine only with Direct2D, yet PrintSupport and the
    # Windows platform plugin call it whenever DirectWrite is on: without
    # Direct2D, DirectWrite goes too (text is drawn through GDI).
    local features=(
        -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF
        -DFEATURE_direct2d=OFF -DFEATURE_directwrite=OFF -DFEATURE_tabletevent=OFF
        -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_xml=OFF
        -DFEATURE_concurrent=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF
        -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
        -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_printsupport=ON -DFEATURE_testlib=ON
    )
    nice -n 10 cmake -S "$src" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
        -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
        "${features[@]}" >>"$log" 2>&1 || fail "configuring Qt failed"
    echo "$stamp_value" >"$work/configured-by"
}

if [ "${1:-}" = --check ]; then
    is_current
    exit
fi

mkdir -p "$cache"
# One Qt build at a time on this machine: a second caller waits, then finds it made.
exec 9>"$cache/qt-$qt_version-mingw64.lock"
flock 9
if is_current; then
    echo "$prefix"
    exit 0
fi

started=$SECONDS
rm -rf "$prefix"
if [ -f "$work/configured-by" ] && [ "$(cat "$work/configured-by")" = "$stamp_value" ] && [ -d "$work/build" ]; then
    echo "Going on with the Qt $qt_version build in $work (log: $log)" >&2
else
    rm -rf "$work"
    mkdir -p "$work"
    echo "Building Qt $qt_version for Windows into $prefix (about half an hour on 2 free cores; log: $log)" >&2
    fetch_source
    configure
    echo "Qt configured in $((SECONDS - started)) s" >&2
fi
nice -n 10 cmake --build "$work/build" -j"$jobs" >>"$log" 2>&1 || fail "building Qt failed"
cmake --install "$work/build" >>"$log" 2>&1 || fail "installing Qt failed"

echo "$stamp_value" >"$stamp"
cp "$log" "$prefix/build.log"
rm -rf "$work"
minutes=$(( (SECONDS - started) / 60 ))
seconds=$(( (SECONDS - started) % 60 ))
echo "Qt $qt_version for Windows built in ${minutes} min ${seconds} s: $prefix" >&2
echo "$prefix"
