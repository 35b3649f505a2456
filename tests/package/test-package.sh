#!/usr/bin/env bash
# Builds the Debian package (CPack), inspects its control data and contents
# with dpkg-deb, unpacks it into a temporary root and runs the programs from
# there. Usage: tests/package/test-package.sh [BUILD-FOLDER]
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$src/build-package}
jobs=$(nproc 2>/dev/null || echo 2)

source "$src/tests/checks.sh"

launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$src" CCACHE_NOHASHDIR=1
fi
log=$(mktemp)
work=$(mktemp -d)
trap 'rm -rf "$work" "$log"' EXIT
if ! { cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVIN_BUILD_TESTS=OFF \
           -DTAVIN_BUILD_BENCH=OFF "${launcher[@]}" &&
       cmake --build "$build" -j"$jobs" --target package; } >"$log" 2>&1; then
    cat "$log" >&2
    echo "FAIL: building the package" >&2
    exit 1
fi

version=$(sed -n 's/^project(tavin VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
deb="$build/tavin_${version}_amd64.deb"
check "the package is named tavin_${version}_amd64.deb" test -f "$deb"
[ -f "$deb" ] || { echo "package: $passed passed, $failed failed"; exit 1; }

# Control data: the version from CMakeLists.txt, dependencies computed from
# the binaries, and the ones no binary names.
field() { dpkg-deb -f "$deb" "$1"; }
depends=$(field Depends)
check "Package is tavin" test "$(field Package)" = tavin
check "Version is $version" test "$(field Version)" = "$version"
check "Architecture is amd64" test "$(field Architecture)" = amd64
for dep in libc6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6printsupport6 \
           qt6-translations-l10n fonts-liberation; do
    check "Depends names $dep" grep -Eq "(^|, |\| )$dep( |,|$)" <<<"$depends"
done
check "Depends names a font with Chinese glyphs" grep -q 'fonts-wqy-microhei | fonts-noto-cjk' <<<"$depends"
dpkg-deb -I "$deb" >"$work/info"
check "postinst is in the package" grep -q ' postinst' "$work/info"
# Without a postrm (and no conffiles) a plain remove leaves no trace in dpkg's database.
check "there is no postrm" bash -c "! grep -q ' postrm' '$work/info'"
check "there are no conffiles" bash -c "! grep -q ' conffiles' '$work/info'"

# Contents: exactly these files, nothing else (no static libraries, tests or headers).
expected=(
    ./usr/bin/tavin ./usr/bin/tavin-cli ./usr/bin/tavin-sim
    ./usr/lib/udev/rules.d/70-tavin-cable.rules
    ./usr/share/applications/tavin.desktop
    ./usr/share/mime/packages/tavin-mime.xml
    ./usr/share/man/man1/tavin.1.gz ./usr/share/man/man1/tavin-cli.1.gz ./usr/share/man/man1/tavin-sim.1.gz
    ./usr/share/doc/tavin/copyright ./usr/share/doc/tavin/changelog.gz
)
for size in 16 32 48 128; do
    expected+=("./usr/share/icons/hicolor/${size}x${size}/apps/tavin.png"
               "./usr/share/icons/hicolor/${size}x${size}/mimetypes/application-x-tavin-channel-data.png")
done
dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort >"$work/files" || true
printf '%s\n' "${expected[@]}" | sort >"$work/expected"
check "the package holds exactly the expected files" diff -u "$work/expected" "$work/files"
dpkg-deb -c "$deb" >"$work/listing"
check "the udev rule is installed without execute bits" grep -q '^-rw-r--r-- .*70-tavin-cable.rules$' "$work/listing"

# Installed into a temporary root, the programs run from there.
root="$work/root"
dpkg-deb -x "$deb" "$root"
check "tavin-cli --version prints $version" test "$("$root/usr/bin/tavin-cli" --version)" = "tavin-cli $version"
check "tavin-sim --version prints $version" grep -q " $version\$" <<<"$("$root/usr/bin/tavin-sim" --version)"
check "tavin --version prints $version" \
    grep -q " $version\$" <<<"$(QT_QPA_PLATFORM=offscreen "$root/usr/bin/tavin" --version 2>/dev/null)"
check "tavin-cli new writes a channel file" "$root/usr/bin/tavin-cli" new -o "$work/new.sin"
check "the new channel file is 1024 bytes" test "$(stat -c %s "$work/new.sin" 2>/dev/null)" = 1024
"$build/src/cli/tavin-cli" new -o "$work/built.sin"
check "it is byte for byte the build's" cmp -s "$work/new.sin" "$work/built.sin"
for program in tavin tavin-cli tavin-sim; do
    check "every library of $program is found" bash -c "! ldd '$root/usr/bin/$program' | grep -q 'not found'"
done

# The manual pages render without warnings and carry the README's sections.
if command -v man >/dev/null 2>&1; then
    for page in tavin tavin-cli tavin-sim; do
        check "man page $page renders without warnings" \
            bash -c "man --warnings -E UTF-8 -l '$root/usr/share/man/man1/$page.1.gz' 2>&1 >/dev/null | (! grep -q .)"
    done
    # Every README section that concerns a program is in its page.
    while read -r page heading; do
        check "$page(1) has the section $heading" bash -c \
            "man -E UTF-8 -l '$root/usr/share/man/man1/$page.1.gz' 2>/dev/null | grep -qx '$heading'"
    done <<'SECTIONS'
tavin DESCRIPTION
tavin THE DESKTOP PROGRAM
tavin CHANNEL LISTS
tavin PRINTING
tavin FILES, FILE NAMES AND MESSAGES
tavin-cli DESCRIPTION
tavin-cli COMMAND-LINE REFERENCE
tavin-cli RADIO VERBS IN DETAIL
tavin-cli CHANNEL LISTS
tavin-cli TROUBLESHOOTING THE CABLE
tavin-cli PROGRAMMING A FLEET
tavin-cli PRINTING
tavin-cli FILES, FILE NAMES AND MESSAGES
tavin-sim THE VIRTUAL RADIO
tavin-sim TRYING IT WITHOUT A RADIO
tavin-sim PROGRAMMING A FLEET
SECTIONS
    for page in tavin tavin-cli tavin-sim; do
        check "$page(1) shows no Markdown backticks" \
            bash -c "! man -E UTF-8 -l '$root/usr/share/man/man1/$page.1.gz' 2>/dev/null | grep -q '\`'"
    done
    # The doctor's numbered checks are items of their own, not one paragraph.
    check "tavin-cli(1) lists the doctor's checks one by one" bash -c \
        "man -E UTF-8 -l '$root/usr/share/man/man1/tavin-cli.1.gz' 2>/dev/null | grep -Eq '^ +2\. +brltty'"
fi

# Debian's own standard, where lintian is installed: no error and no warning,
# and none of its notes either (hardening, unneeded sections, the desktop
# entry's keywords).
if command -v lintian >/dev/null 2>&1; then
    lintian --display-info "$deb" >"$work/lintian" 2>&1 || true
    check "lintian reports nothing" bash -c "! grep -Eq '^[EWI]: ' '$work/lintian'"
    grep -E '^[EWI]: ' "$work/lintian" >&2 || true
fi

# The desktop entry opens channel files: its MIME type is the one the package defines.
desktop="$root/usr/share/applications/tavin.desktop"
mimetype=$(sed -n 's/.*<mime-type type="\([^"]*\)".*/\1/p' "$root/usr/share/mime/packages/tavin-mime.xml")
check "the desktop entry takes $mimetype" grep -qx "MimeType=$mimetype;" "$desktop"
check "the desktop entry starts tavin with the file" grep -qx 'Exec=tavin %f' "$desktop"
if command -v desktop-file-validate >/dev/null 2>&1; then
    check "the desktop entry is valid" desktop-file-validate "$desktop"
fi

echo "package: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
