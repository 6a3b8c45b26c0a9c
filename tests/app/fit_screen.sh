#!/bin/sh
# Runs the Fit tests of the window tests on a virtual screen of the given size
# and DPI, e.g.  fit_screen.sh 1024x700 96 wine app_tests.exe
# Wine keeps the screen of the display on which its server started, and reads
# the DPI (LogPixels) from the registry as a program starts. So the run starts
# its own server on its own display, sets the DPI, and puts the prefix's own
# setting back and lets the server end before the next run.
if [ -z "${FIT_SCREEN_DISPLAY-}" ]; then
    exec env FIT_SCREEN_DISPLAY=1 xvfb-run -a -s "-screen 0 ${1}x24" sh "$0" "$@"
fi
dpi=$2
shift 2
key='HKCU\Control Panel\Desktop'
wineserver -w
old=$(wine reg query "$key" /v LogPixels 2>/dev/null | awk '/LogPixels/ {print $3}')
wine reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
"$@" --gtest_filter='Fit.*'
status=$?
if [ -n "$old" ]; then
    wine reg add "$key" /v LogPixels /t REG_DWORD /d "$((old))" /f
else
    wine reg delete "$key" /v LogPixels /f
fi >/dev/null 2>&1
wineserver -w
exit $status
