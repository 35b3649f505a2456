#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the tests and the program need,
# quietly and only when something is missing. Sourced by run.sh and test.sh.

tavin_packages=(
    g++ make cmake pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6serialport6-dev qt6-qpa-plugins
    xvfb xauth imagemagick
    fonts-wqy-microhei fonts-liberation
    clang libclang-rt-14-dev
    poppler-utils
)

tavin_ensure_deps() {
    local missing=()
    local p
    for p in "${tavin_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
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
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq >/dev/null &&
        "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# A locale that writes a decimal comma, for the tests that check the radio data
# never goes through the process locale.
tavin_ensure_test_locale() {
    locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$' && return 0
    [ "$(id -u)" -eq 0 ] || return 0
    localedef -i de_DE -f UTF-8 de_DE.UTF-8 >/dev/null 2>&1 || true
}
