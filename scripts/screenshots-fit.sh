#!/usr/bin/env bash
# The window fitted to screens smaller than its full size and to 150 %: on each
# screen below, loads 100 Multi Multi draws, runs two searches and saves a
# screenshot of the whole screen to docs/screenshots/.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
build_windows --target zestawy close_window
prepare_wine

OUT=$ROOT/docs/screenshots
mkdir -p "$OUT"
prepare_run_folder
KEY='HKCU\Control Panel\Desktop'
OLD_DPI=$(wine reg query "$KEY" /v LogPixels 2>/dev/null | awk '/LogPixels/ {print $3}' || true)

# Screen size, DPI, Wine's frame width and the height of its title and menu
# bars at that DPI, and the picture's name.
SCREENS=(
    "1024x700 96 6 44 8-ekran-1024x700"
    "1280x680 96 6 44 9-ekran-1280x680"
    "1920x1080 144 7 63 10-ekran-1920x1080-150-procent"
)
calc() { LC_ALL=C awk "BEGIN { $1 }"; }
display=80
for screen in "${SCREENS[@]}"; do
    read -r size dpi left top name <<<"$screen"
    # Wine takes its screen from the display on which its server starts, so the
    # program starts a server of its own after the DPI is set.
    wineserver -w
    wine reg add "$KEY" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -w
    start_on_virtual_display $((display++)) "$size"
    eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
    # Clicks at design units of the control table, scaled as the window is.
    scale=$(calc "print ($WIDTH - 2 * $left) / 1350")
    click() {
        xdotool mousemove "$(calc "printf \"%d\", $X + $left + $1 * $scale")" \
            "$(calc "printf \"%d\", $Y + $top + $2 * $scale")" click 1
        sleep "${3:-0.5}"
    }
    xdotool key F10 Down Return; sleep 0.7  # Plik -> Przygotuj wyszukiwanie
    click 1105 140                          # Multi Multi
    click 1105 80                           # the count box
    xdotool key ctrl+a BackSpace; xdotool type --delay 40 100
    click 1105 600 2                        # Wczytaj
    click 1105 140 1                        # Wyszukaj 2
    click 1105 290 1                        # Wyszukaj 3 z 4
    import -window root "$OUT/$name.png"
    echo "$OUT/$name.png (scale $scale)"
    wine "$BUILD/windows/close_window.exe"
    wait $PROGRAM
    kill $XVFB
done
if [ -n "$OLD_DPI" ]; then
    wine reg add "$KEY" /v LogPixels /t REG_DWORD /d $((OLD_DPI)) /f >/dev/null 2>&1
else
    wine reg delete "$KEY" /v LogPixels /f >/dev/null 2>&1
fi
wineserver -w
