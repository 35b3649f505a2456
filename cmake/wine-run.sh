#!/bin/sh
# Runs a Windows program of the build under Wine for CTest. Wine keeps the
# build machine's QT_* variables away from Windows programs and hands them
# WINEQT_* as QT_* instead: each QT_* setting of a test (the offscreen
# platform, its font folder, a scale factor) is passed on that way. QtTest
# writes its results to the debugger rather than to standard output when it
# sees no console, so it is told to write them where CTest reads them.
for variable in $(env | sed -n 's/^\(QT_[A-Za-z0-9_]*\)=.*/\1/p'); do
    eval "export WINE$variable=\"\$$variable\""
done
export WINEQT_FORCE_STDERR_LOGGING=1
exec "${TAVIN_WINE:-wine}" "$@"
