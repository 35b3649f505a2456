# Sourced by the Windows stage's scripts: a Wine folder ($WINEPREFIX) made
# whole before any program runs in it.

# wine_folder_ready: the Wine folder is whole.
wine_folder_ready() { [ -f "$WINEPREFIX/drive_c/windows/system32/kernel32.dll" ]; }

# make_wine_folder: makes it anew and waits until Wine has finished with it.
make_wine_folder() {
    rm -rf "$WINEPREFIX"
    wineboot --init >"$WINEPREFIX.log" 2>&1 || true
    wineserver -w
    if ! wine_folder_ready; then
        cat "$WINEPREFIX.log" >&2
        echo "FAIL: making the Wine folder $WINEPREFIX" >&2
        exit 1
    fi
}
