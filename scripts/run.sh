#!/usr/bin/env bash
# Builds zestawy.exe and starts it under Wine in a folder that holds the three
# draw-history files. With no X display it opens the program on a virtual one,
# saves a screenshot of its window, closes it and says where the picture is.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
build_windows --target zestawy close_window
prepare_wine

RUN=$BUILD/run
mkdir -p "$RUN"
cp "$ROOT"/data/*.txt "$ROOT/data/README.md" "$BUILD/windows/zestawy.exe" "$RUN/"
cd "$RUN"

if [ -n "${DISPLAY:-}" ]; then
    exec wine zestawy.exe
fi

Xvfb :77 -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
trap 'kill $XVFB 2>/dev/null || true' EXIT
export DISPLAY=:77
sleep 1
wine zestawy.exe &
PROGRAM=$!
WINDOW=$(timeout 60 xdotool search --sync --name 'Program wyszuk' | head -n 1)
sleep 2  # let it paint
SHOT=$RUN/zestawy.png
import -window "$WINDOW" "$SHOT"
wine "$BUILD/windows/close_window.exe"
wait $PROGRAM
echo "zestawy.exe ended with exit code $?."
echo "Screenshot of its window: $SHOT"
