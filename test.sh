#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# them with CTest; a sanitizer report fails the run. Installs what is missing.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/ensure-deps.sh
tavin_ensure_test_deps
tavin_ensure_test_locale

jobs=$(nproc 2>/dev/null || echo 2)
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:abort_on_error=0:strict_string_checks=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"

# ccache, when installed, lets several checkouts of the project share compiled objects.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DTAVIN_SANITIZE=ON "${launcher[@]}" >/dev/null
cmake --build build-asan -j"$jobs"
ctest --test-dir build-asan --output-on-failure -j"$jobs"

# The fuzz targets need clang's libFuzzer; they run for a bounded number of inputs.
if command -v clang++ >/dev/null 2>&1; then
    cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
        -DTAVIN_MODEL_ONLY=ON -DTAVIN_FUZZ=ON "${launcher[@]}" >/dev/null
    cmake --build build-fuzz -j"$jobs"
    ctest --test-dir build-fuzz --output-on-failure -j"$jobs"
fi

# The model on Windows' C runtime: built with MinGW-w64 and run under Wine
# (its standard-C++ check program; Qt is not needed for it).
if command -v x86_64-w64-mingw32-g++-posix >/dev/null 2>&1 && command -v wine >/dev/null 2>&1; then
    cmake -S . -B build-mingw -DCMAKE_BUILD_TYPE=Debug -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
        -DTAVIN_MODEL_ONLY=ON "${launcher[@]}" >/dev/null
    cmake --build build-mingw -j"$jobs"
    # A Wine folder of its own, made once; no Mono or Gecko downloads.
    export WINEPREFIX="$PWD/build-mingw/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    [ -d "$WINEPREFIX" ] || wineboot --init >/dev/null 2>&1 || true
    ctest --test-dir build-mingw --output-on-failure
else
    echo "MinGW-w64 or Wine is missing: the model was not checked on Windows' C runtime" >&2
    [ "${CI:-}" != true ]
fi

# The Debian package: built, inspected and run from an unpacked copy.
tests/package/test-package.sh

# The Windows stage: tavin.exe and tavin-cli.exe built with MinGW-w64 against
# Qt for Windows (built once into ~/.cache/tavin when missing, about half an
# hour on 2 cores), their tests, the radio link through Wine's COM ports, the
# zip and the installer, all under Wine.
tests/windows/test-windows.sh build-asan
