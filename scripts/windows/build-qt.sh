#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (x86_64-w64-mingw32, Debian's MinGW-w64 with
# POSIX threads) from the source of Debian's qt6-base package, the version of
# the host's Qt tools, which the cross build uses (moc, rcc, uic from /usr).
# Only what Tavin needs: Core, Gui, Widgets, PrintSupport and Test, with the
# Windows and offscreen platform plugins; no OpenGL, D-Bus, SQL, network or XML.
#
# The result goes into a cache folder outside the source tree and is reused
# while this script and the version stay the same:
#     ${XDG_CACHE_HOME:-$HOME/.cache}/tavin/qt-6.4.2-mingw64
# The source comes through a private apt configuration (its own source list,
# lists and archives folders under the cache), so the machine's apt set-up is
# left as it is. Prints the install folder on stdout as its last line;
# progress and the time the build took go to stderr.
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

# The cached build matches when it was made by this script (comments aside).
stamp_value=$(grep -v '^[[:space:]]*#' "$0" | sha256sum | cut -d' ' -f1)
stamp=$prefix/tavin-build-stamp

is_current() {
    [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$stamp_value" ] &&
        [ -f "$prefix/bin/Qt6Core.dll" ] && [ -f "$prefix/plugins/platforms/qwindows.dll" ]
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
log=$work/build.log
rm -rf "$work" "$prefix"
mkdir -p "$work"
echo "Building Qt $qt_version for Windows into $prefix (about half an hour on 2 cores; log: $log)" >&2

# --- the source, through apt with a configuration of its own -------------------
apt_dir=$cache/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/archives/partial" "$apt_dir/sources.list.d"
echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] http://deb.debian.org/debian bookworm main" \
    >"$apt_dir/sources.list"
apt_opts=(
    -o "Dir::Etc::SourceList=$apt_dir/sources.list"
    -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
    -o "Dir::State::Lists=$apt_dir/lists"
    -o "Dir::Cache=$apt_dir"
    -o "Dir::Cache::Archives=$apt_dir/archives"
    -o "Dir::Cache::pkgcache=" -o "Dir::Cache::srcpkgcache="
    -o "APT::Sandbox::User=root"
)
apt-get "${apt_opts[@]}" -qq update >>"$log" 2>&1 ||
    { tail -20 "$log" >&2; echo "apt-get update (private sources) failed" >&2; exit 1; }
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null || true)
case "$host_version" in
    "$qt_version"*) ;;
    *) echo "The host's Qt tools are '$host_version', not $qt_version: install qt6-base-dev-tools $qt_version" >&2
       exit 1 ;;
esac
(cd "$work" && { apt-get "${apt_opts[@]}" -qq source "qt6-base=$host_version" ||
                 apt-get "${apt_opts[@]}" -qq source qt6-base; }) >>"$log" 2>&1 ||
    { tail -20 "$log" >&2; echo "apt-get source qt6-base failed" >&2; exit 1; }
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name "qt6-base-*" | head -1)
[ -n "$src" ] && [ -f "$src/CMakeLists.txt" ] || { echo "no qt6-base source in $work" >&2; exit 1; }
grep -q "$qt_version" "$src/.cmake.conf" ||
    { echo "the fetched qt6-base is not Qt $qt_version" >&2; exit 1; }

# --- configure and build --------------------------------------------------------
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
# Without OpenGL there is no dynamic choice of OpenGL either.
features=(
    -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF
    -DFEATURE_direct2d=OFF -DFEATURE_tabletevent=OFF
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
    "${features[@]}" >>"$log" 2>&1 ||
    { tail -40 "$log" >&2; echo "configuring Qt failed (log: $log)" >&2; exit 1; }
configured=$SECONDS
echo "Qt configured in $((configured - started)) s; building with $jobs jobs" >&2
nice -n 10 cmake --build "$work/build" -j"$jobs" >>"$log" 2>&1 ||
    { tail -40 "$log" >&2; echo "building Qt failed (log: $log)" >&2; exit 1; }
cmake --install "$work/build" >>"$log" 2>&1 ||
    { tail -20 "$log" >&2; echo "installing Qt failed (log: $log)" >&2; exit 1; }

echo "$stamp_value" >"$stamp"
cp "$log" "$prefix/build.log"
rm -rf "$work"
minutes=$(( (SECONDS - started) / 60 ))
seconds=$(( (SECONDS - started) % 60 ))
echo "Qt $qt_version for Windows built in ${minutes} min ${seconds} s: $prefix" >&2
echo "$prefix"
