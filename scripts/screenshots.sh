#!/usr/bin/env bash
# Walks through the program as a user would, by mouse and keyboard on a virtual
# display, and saves a screenshot of each screen to docs/screenshots/.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
build_windows --target zestawy close_window
prepare_wine

OUT=$ROOT/docs/screenshots
mkdir -p "$OUT"
prepare_run_folder
start_on_virtual_display 79
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
# The client area starts below Wine's own frame, title bar and the menu bar.
CX=$((X + 6))
CY=$((Y + 44))

click() { xdotool mousemove $((CX + $1)) $((CY + $2)) click 1; sleep "${3:-0.5}"; }
menu() { xdotool mousemove $((X + $1)) $((Y + 33)) click 1; sleep 0.5; xdotool mousemove $((X + $1 + 40)) $((Y + 52 + 19 * $2)) click 1; sleep 0.7; }
button() { click $((1030 + 160 * ($1 - 1) + 75)) $(($2 + 20)) "${3:-0.5}"; }  # column, y
# The screen over the window, so that message boxes in front of it show too.
shot() { import -window root -crop "${WIDTH}x${HEIGHT}+$X+$Y" +repage "$OUT/$1.png"; echo "$OUT/$1.png"; }
count() { click 1105 80; xdotool key ctrl+a BackSpace; xdotool type --delay 40 "$1"; }

shot 1-o-programie
menu 21 0                     # Plik -> Przygotuj wyszukiwanie
shot 2-wyszukiwanie
button 1 120                  # Multi Multi
count 100
button 1 580 2                # Wczytaj
button 1 120 1                # Wyszukaj 2
button 1 270 1                # Wyszukaj 3 z 4
shot 3-multi-multi
button 1 630                  # Wyczyść
count 10
button 1 580 2                # Wczytaj
button 1 470 3                # Wyszukaj 5 z 5: asks where 464 MB go
shot 7-dluga-odpowiedz
xdotool key Escape; sleep 0.5 # Anuluj
button 1 630                  # Wyczyść
button 2 470                  # Inne gry
button 1 170                  # Mini Lotto
count 1000
button 1 370 2                # Wczytaj
button 1 320 1                # Wyszukaj 3 z 5
shot 4-mini-lotto
button 1 420                  # Wyczyść
button 1 570                  # Inne gry
button 1 220                  # Lotto
count 500
button 1 420 2                # Wczytaj
button 1 370 1                # Wyszukaj 3 z 5
shot 5-lotto
xdotool key F10 Right Right Down Return; sleep 0.7  # Pomoc -> Otwórz okno pomocy...
shot 6-pomoc
xdotool key F10 Right Down Return; sleep 0.7        # Analiza -> Ranking oczekiwania...
click 855 46 3                # Pokaż: the pairs of Multi Multi over every draw
shot 11-ranking
click 636 489 1               # 51 on the coupon: its pairs
shot 12-ranking-pary
click 100 46; xdotool key Escape L; sleep 0.3          # Gra: Lotto
click 290 46; xdotool key Escape Home Down Down Down   # Wyszukiwanie: Wyszukaj 3
click 475 46; xdotool type --delay 40 3000             # the last 3000 draws
click 855 46 3                # Pokaż: the longest wait is the whole span
shot 14-ranking-nigdy
xdotool key F10 Right Down Down Return; sleep 0.7   # Analiza -> Sprawdź swoje liczby...
click 360 46; xdotool type --delay 40 "3, 17, 22, 41, 56"
click 765 46 2                # Sprawdź: five Multi Multi numbers over every draw
shot 15-sprawdz-liczby
xdotool key F10 Right Down Down Down Return; sleep 0.7  # Analiza -> Czy czekanie pomaga?
click 625 46 8                # Policz: Multi Multi pairs over every draw
shot 16-czy-czekanie-pomaga
xdotool key F10 Right Down Down Down Down Return; sleep 0.7  # Analiza -> System skrócony...
click 100 46; xdotool key Escape L; sleep 0.3                 # Gra: Lotto
click 350 46; xdotool type --delay 30 "3, 5, 8, 11, 13, 17, 22, 27, 30, 33, 41, 49"
click 1085 46 2               # Ułóż: 15 tickets from the program's table
click 435 108 6               # Sprawdź na historii: the best ticket in every draw
shot 18-system-skrocony
wine "$BUILD/windows/close_window.exe"
wait $PROGRAM
kill $XVFB

# The same program on an English Windows: Wine's ANSI code page 1252.
LC_ALL=C.UTF-8 start_on_virtual_display 78
eval "$(xdotool getwindowgeometry --shell "$WINDOW")"
CX=$((X + 6))
CY=$((Y + 44))
xdotool key F10 Right Down Return; sleep 0.7        # Analiza -> Ranking oczekiwania...
click 855 46 3                # Pokaż: the pairs of Multi Multi over every draw
shot 17-strona-kodowa-1252
wine "$BUILD/windows/close_window.exe"
wait $PROGRAM
