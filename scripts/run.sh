#!/usr/bin/env bash
# Builds zestawy.exe and starts it under Wine in a folder that holds the three
# draw-history files. With no X display it opens the program on a virtual one,
# saves a screenshot of its window, closes it and says where the picture is.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
build_windows --target zestawy close_window
prepare_wine

prepare_run_folder
if [ -n "${DISPLAY:-}" ]; then
    exec wine zestawy.exe
fi
start_on_virtual_display 77
SHOT=$RUN/zestawy.png
import -window "$WINDOW" "$SHOT"
wine "$BUILD/windows/close_window.exe"
wait $PROGRAM
echo "zestawy.exe ended with exit code $?."
echo "Screenshot of its window: $SHOT"
