#!/usr/bin/env bash
# The Windows zip and installer, tried as a user would under Wine: the zip
# holds a program folder that runs on its own; the installer, run silently,
# puts the programs into Program Files with the Start-menu entry, the *.sin
# association and the uninstaller's entry; the installed tavin-cli.exe runs;
# a silent uninstall leaves no file and no registry key of the program.
# Usage: tests/windows/test-installer.sh BUILD-WIN-FOLDER
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:?the Windows build folder}
version=$(sed -n 's/^project(tavin VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")

source "$src/tests/checks.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ! cmake --build "$build" --target windows-packages >"$work/build.log" 2>&1; then
    tail -40 "$work/build.log" >&2
    echo "FAIL: making the Windows zip and installer" >&2
    exit 1
fi
zip=$build/tavin-$version-win64.zip
setup=$build/tavin-$version-setup.exe
check "the zip tavin-$version-win64.zip is made" test -s "$zip"
check "the installer tavin-$version-setup.exe is made" test -s "$setup"

# The zip: one folder with the programs, Qt's and MinGW's DLLs and the plugins.
python3 - "$zip" >"$work/zip-list" <<'PY'
import sys, zipfile
for name in zipfile.ZipFile(sys.argv[1]).namelist():
    print(name)
PY
for f in tavin.exe tavin-cli.exe Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6PrintSupport.dll \
         platforms/qwindows.dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
    check "the zip holds tavin-$version-win64/$f" grep -qx "tavin-$version-win64/$f" "$work/zip-list"
done
check "the zip holds no test program" bash -c "! grep -q 'tst_' '$work/zip-list'"

# A Wine folder of the installer's own, new for each run.
export WINEPREFIX="$build/wine-install" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
source "$src/tests/windows/wine-folder.sh"
make_wine_folder
drive_c=$WINEPREFIX/drive_c
installed=$drive_c/Program\ Files/Tavin
regquery() { wine reg query "$@" >"$work/reg.out" 2>/dev/null; }

wine "$setup" /S >"$work/install.out" 2>&1 || true
wineserver -w
check "the installer put tavin.exe into Program Files" test -f "$installed/tavin.exe"
check "the installer put tavin-cli.exe into Program Files" test -f "$installed/tavin-cli.exe"
check "the installer put the uninstaller into Program Files" test -f "$installed/uninstall.exe"
check "the Start menu has the entry Tavin写频软件" test -f "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tavin写频软件.lnk"
wine "C:\\Program Files\\Tavin\\tavin-cli.exe" --version >"$work/version.out" 2>"$work/version.err" || true
check "the installed tavin-cli.exe --version prints tavin-cli $version ($(tr -d '\r' <"$work/version.out"))" \
    grep -q "^tavin-cli $version" "$work/version.out"
check "*.sin files are Program.Document" bash -c "wine reg query 'HKCR\\.sin' 2>/dev/null | grep -q 'Program.Document'"
check "Program.Document is named Program Document" \
    bash -c "wine reg query 'HKCR\\Program.Document' 2>/dev/null | grep -q 'Program Document'"
check "*.sin files open with the installed tavin.exe" \
    bash -c "wine reg query 'HKCR\\Program.Document\\shell\\open\\command' 2>/dev/null | grep -qi 'Tavin.tavin.exe.*%1'"
check "*.sin files show the document icon of tavin.exe" \
    bash -c "wine reg query 'HKCR\\Program.Document\\DefaultIcon' 2>/dev/null | grep -qi 'tavin.exe,-129'"
check "the uninstaller is in the system's list of programs" \
    bash -c "wine reg query 'HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tavin' /v UninstallString 2>/dev/null | grep -qi uninstall.exe"

# The installed programs: a new channel file, opened by the desktop program
# (a picture of its window, under Xvfb); the settings go to the user's branch
# of the registry.
wine "C:\\Program Files\\Tavin\\tavin-cli.exe" new -o "$work/new.sin" >/dev/null 2>&1 || true
check "the installed tavin-cli.exe makes a channel file" test "$(stat -c %s "$work/new.sin" 2>/dev/null)" = 1024
if [ -n "${DISPLAY:-}" ]; then
    wine "C:\\Program Files\\Tavin\\tavin.exe" --screenshot "$work/installed.png" "$work/new.sin" >/dev/null 2>&1 || true
    check "the installed tavin.exe opens the channel file and shows its window" test -s "$work/installed.png"
fi
wine "C:\\Program Files\\Tavin\\tavin-cli.exe" ports --set COM1=COM3 >/dev/null 2>&1 || true
check "the installed tavin-cli.exe keeps its settings in the registry" \
    bash -c "wine reg query 'HKCU\\Software\\Local AppWizard-Generated Applications\\Tavin写频软件\\Ports' 2>/dev/null | grep -q COM3"

wine "C:\\Program Files\\Tavin\\uninstall.exe" /S >"$work/uninstall.out" 2>&1 || true
wineserver -w
check "the uninstaller removed the program folder" test ! -e "$installed"
check "the uninstaller removed the Start-menu entry" \
    test ! -e "$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Tavin写频软件.lnk"
for key in 'HKCR\.sin' 'HKCR\Program.Document' 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavin' \
           'HKCU\Software\Local AppWizard-Generated Applications'; do
    check "the uninstaller removed the registry key $key" bash -c "! wine reg query '$key' >/dev/null 2>&1"
done
wineserver -k || true
echo "installer: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
