#!/usr/bin/env bash
# What "Czy czekanie pomaga?" finds in the shipped histories, as the README
# quotes it: for each game and kind of set, how many of its judged groups
# (ten appearances expected or more) lie outside their 95% intervals, and
# which way (częściej: more often than chance, rzadziej: less often), and
# whether the ten longest-waiting sets came up outside chance's range; Multi
# Multi also without its first 300 draws (--last 16662), whose numbers 50-59
# came up far less often than the others. Read from zestawy-cli --backtest.
set -euo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
CLI=${CLI:-$ROOT/build/native/zestawy-cli}
if [ ! -x "$CLI" ]; then
    cmake -S "$ROOT" -B "$ROOT/build/native" -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$ROOT/build/native" --target zestawy-cli -j "$(nproc)" >/dev/null
fi

declare -A KINDS=(
    [multi]="2|2 z 3|3|3 z 4|4|3 z 5|4 z 5|5 z 5|4 z 6|5 z 6|5 z 7|5 z 8"
    [mini]="1|2|2 z 3|3 z 4|3 z 5"
    [lotto]="1|2|2 z 3|3|3 z 4|3 z 5"
)

# One game over its history (and the options given): a line per kind, then
# the totals.
figures() {
    local game=$1 name=$2
    shift 2
    local outside=0 judged=0 topOutside=0 kinds=0 kind line
    IFS='|' read -r -a list <<<"${KINDS[$game]}"
    for kind in "${list[@]}"; do
        line=$("$CLI" --game "$game" --search "$kind" --backtest "$@" 2>/dev/null | tr ',' '.' | awk -F'\t' '
            NR <= 5 && $4 >= 10 {
                judged++; p = $4 / $2 * 100
                if (p < $6) { out++; which = which " " $1 " częściej" }
                if (p > $7) { out++; which = which " " $1 " rzadziej" } }
            NR == 6 { top = ($5 < $6 || $5 > $7) }
            END { printf "%d %d %d%s", out, judged, top, which }')
        read -r o j t rest <<<"$line"
        printf '  %-7s %d of %d groups outside%s%s\n' "$kind" "$o" "$j" \
            "${rest:+ ($rest)}" "$([ "$t" = 1 ] && echo '; top10 outside' || true)"
        outside=$((outside + o)) judged=$((judged + j)) topOutside=$((topOutside + t))
        kinds=$((kinds + 1))
    done
    printf '%s: %d of %d judged groups outside their intervals; top10 outside in %d of %d kinds\n' \
        "$name" "$outside" "$judged" "$topOutside" "$kinds"
}

figures multi "Multi Multi, the whole history"
figures multi "Multi Multi without its first 300 draws" --last 16662
figures mini "Mini Lotto, the whole history"
figures lotto "Lotto, the whole history"
