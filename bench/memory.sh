#!/usr/bin/env bash
# Peak memory of every search command, run by zestawy-cli on the last N draws
# of a real history, loaded as the window loads them (N = 10, 100, 300, 1000
# and 3000 for Multi Multi; 100, 1000 and every draw for Mini Lotto and Lotto),
# plus an empty box for "Wyszukaj 5 z 5" and a box whose line holds all of 1..80
# for the random ids 41 and 42. The answer goes to a file in Windows-1250, the
# program's own bytes, so the file's size is the length of the answer.
#
# Prints a markdown table: id, N, answer bytes, peak resident memory and peak
# minus answer, which has to stay under 64 MiB; exits non-zero when it does not
# (or when a run fails).
#
#   bash bench/memory.sh [ID...]      (default: every search command)
#
# Environment: BUILD_DIR (default build/native) is built if needed; CLI names
# another zestawy-cli to run instead, without building.
# Needs about 7 GB of memory and as much free disk space for the largest answer
# ("Wyszukaj 5 z 6" over the last 10 draws: 6.8 GB); one answer file at a time.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

if [[ ! -x /usr/bin/time ]]; then
    echo "memory.sh: needs GNU time (/usr/bin/time; apt-get install time)" >&2
    exit 2
fi

if [[ -n "${CLI:-}" ]]; then
    cli="$CLI"
else
    build="${BUILD_DIR:-build/native}"
    if [[ ! -f "$build/CMakeCache.txt" ]]; then
        cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
    fi
    cmake --build "$build" -j2 --target zestawy-cli >/dev/null
    cli="$build/zestawy-cli"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

declare -A game_of=([1]=multi [2]=multi [3]=multi [4]=multi [5]=multi [6]=multi [7]=multi
    [16]=multi [8]=multi [9]=multi [10]=multi [11]=multi [41]=multi [42]=multi
    [20]=mini [21]=mini [22]=mini [23]=mini [24]=mini
    [30]=lotto [31]=lotto [32]=lotto [33]=lotto [34]=lotto [35]=lotto)
declare -A history_of=([multi]="data/Multi Multi wyniki losowań.txt"
    [mini]="data/Mini Lotto wyniki losowań.txt" [lotto]="data/Lotto wyniki losowań.txt")
declare -A counts_of=([multi]="10 100 300 1000 3000" [mini]="100 1000 all" [lotto]="100 1000 all")

ids=("$@")
if [[ ${#ids[@]} -eq 0 ]]; then
    ids=(1 2 3 4 5 6 7 16 8 9 10 11 41 42 20 21 22 23 24 30 31 32 33 34 35)
fi

limit=$((64 * 1024 * 1024))
over=0

# Runs one command on one source (zestawy-cli's source options) and prints its row.
measure() {
    local id="$1" label="$2"
    shift 2
    local answer="$work/answer" stats="$work/stats"
    local status=0
    /usr/bin/time -o "$stats" -f "%M %e" "$cli" "$@" --encoding cp1250 "$id" \
        >"$answer" 2>"$work/notes" || status=$?
    if ((status != 0)); then
        echo "| $id | $label | zestawy-cli exited with $status: $(head -c 200 "$work/notes") | | | | |"
        over=1
        return
    fi
    local kb seconds bytes peak extra verdict
    read -r kb seconds <"$stats"
    bytes=$(stat -c %s "$answer")
    rm -f "$answer"
    peak=$((kb * 1024))
    extra=$((peak - bytes))
    verdict=yes
    if ((extra >= limit)); then
        verdict=NO
        over=1
    fi
    awk -v id="$id" -v label="$label" -v bytes="$bytes" -v peak="$peak" -v extra="$extra" \
        -v verdict="$verdict" -v seconds="$seconds" 'BEGIN {
            printf "| %s | %s | %s | %.1f | %.1f | %s | %s |\n", id, label, bytes,
                peak / 1048576, extra / 1048576, verdict, seconds
        }'
}

for id in "${ids[@]}"; do
    if [[ -z "${game_of[$id]:-}" ]]; then
        echo "memory.sh: $id is not a search command id" >&2
        exit 2
    fi
done

echo "| id | N | answer bytes | peak RSS (MiB) | peak - answer (MiB) | under 64 MiB | seconds |"
echo "|---:|---|---:|---:|---:|---|---:|"
for id in "${ids[@]}"; do
    game="${game_of[$id]}"
    for count in ${counts_of[$game]}; do
        last=()
        [[ "$count" == all ]] || last=(--last "$count")
        measure "$id" "$game $count" --history "${history_of[$game]}" "${last[@]}"
    done
    case "$id" in
        16)
            : >"$work/box"
            measure "$id" "empty box" --numbers "$work/box"
            ;;
        41 | 42)
            seq -s, 1 80 | tr -d '\n' >"$work/box"
            measure "$id" "1..80 in one line" --numbers "$work/box"
            ;;
    esac
done
exit "$over"
