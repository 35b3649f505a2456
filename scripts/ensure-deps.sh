#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need,
# quietly and only when something is missing. Sourced by run.sh and test.sh.
#
# Every name here is a real package (dpkg-query reports virtual packages as
# not installed, which would make every run go to the network): check a new
# name with `apt-cache show NAME` before adding it. On a machine that has them
# all, nothing here touches the network.

# What run.sh needs: build the programs and start them (under Xvfb when there
# is no display), with the fonts and Qt's translations the program uses;
# lupdate and lrelease (qt6-l10n-tools) check and compile the program's own.
tavin_packages=(
    g++ make cmake pkg-config
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev qt6-qpa-plugins
    qt6-translations-l10n qt6-l10n-tools
    xvfb xauth
    fonts-wqy-microhei fonts-liberation
)

# What building the Debian package needs on top: dpkg-shlibdeps (dpkg-dev)
# and file for the dependencies, python3 for the manual pages.
tavin_package_tools=(dpkg-dev file python3)

# What test.sh needs on top: the sanitizer and fuzzing runtime, the PDF and
# picture tools of the print tests, the decimal-comma locale, man-db to check
# the manual pages, lintian to check the package by Debian's own standard,
# and MinGW-w64 with Wine to run the model's tests on Windows' C runtime.
tavin_test_packages=(
    "${tavin_package_tools[@]}"
    clang libclang-rt-14-dev
    imagemagick poppler-utils
    locales man-db lintian
    g++-mingw-w64-x86-64-posix wine wine64
)

# Installs the packages named as arguments that are not installed yet.
tavin_install_missing() {
    local installed missing=()
    local p
    # One dpkg-query for all: the names whose status is "install ok installed".
    # (dpkg-query fails when a name is not installed at all; that is what we look for.)
    installed=" $({ dpkg-query -W -f='${Package} ${Status}\n' "$@" 2>/dev/null || true; } |
        awk '$2 == "install" && $3 == "ok" && $4 == "installed" { printf "%s ", $1 }')"
    for p in "$@"; do
        [[ "$installed" == *" $p "* ]] || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}" >&2
    local sudo=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1; then
            sudo=(sudo)
        else
            echo "Please install as root: apt-get install ${missing[*]}" >&2
            return 1
        fi
    fi
    local log
    log=$(mktemp)
    if ! { DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get update -qq &&
           DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"; } \
           >"$log" 2>&1; then
        cat "$log" >&2
        rm -f "$log"
        echo "Installing ${missing[*]} failed (see above)." >&2
        return 1
    fi
    rm -f "$log"
}

tavin_ensure_deps() {
    tavin_install_missing "${tavin_packages[@]}"
}

tavin_ensure_test_deps() {
    tavin_install_missing "${tavin_packages[@]}" "${tavin_test_packages[@]}"
}

# A locale that writes a decimal comma, for the tests that check the radio data
# never goes through the process locale. Generating it needs root; without it
# those tests skip (and fail under CI=true).
tavin_ensure_test_locale() {
    locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "The de_DE.UTF-8 locale is missing; as root: localedef -i de_DE -f UTF-8 de_DE.UTF-8" >&2
        return 0
    fi
    localedef -i de_DE -f UTF-8 de_DE.UTF-8 >&2 || true
    locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
    echo "Generating the de_DE.UTF-8 locale failed; the decimal-comma tests will not run." >&2
    [ "${CI:-}" != true ]
}

# Run as a command (not sourced): what building the programs and the package needs.
if [[ "${BASH_SOURCE[0]}" == "$0" ]]; then
    set -euo pipefail
    tavin_install_missing "${tavin_packages[@]}" "${tavin_package_tools[@]}"
fi
