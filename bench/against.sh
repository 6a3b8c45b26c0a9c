#!/usr/bin/env bash
# The slowest Multi Multi cases timed side by side, in one run, with this
# tree's zestawy-cli and an older one (a build of another commit), each case
# run by both in turn, best of RUNS (default 5) in wall-clock time. Checks that
# both print the same bytes, and prints a markdown table with the new time as
# a share of the old, the load average before each case, and the peak memory
# of the nines and tens over every draw.
#
#   bash bench/against.sh OLD_CLI [THREADS...]    (default threads: 1 2)
#
# --all is held against copying its output (cat into another file) instead of
# against the old tool. The nines and tens over every draw ("Wyszukaj 6 z 9",
# "7 z 10") are new and timed once each. Environment: BUILD_DIR (default
# build/native) holds the new tool; RUNS; TMPDIR for the 232 MB of --all.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
old="${1:?usage: against.sh OLD_CLI [THREADS...]}"
shift
threads=("$@")
[[ ${#threads[@]} -eq 0 ]] && threads=(1 2)
new="$root/${BUILD_DIR:-build/native}/zestawy-cli"
runs="${RUNS:-5}"
tmp="${TMPDIR:-/tmp}/zestawy-against.$$"
mkdir -p "$tmp"
trap 'rm -rf "$tmp"' EXIT

# best_ms OUT CMD...: the best wall time of $runs runs in ms; the output goes to OUT.
best_ms() {
    local out="$1" best=999999999 start end ms
    shift
    for ((i = 0; i < runs; i++)); do
        # Hundreds of megabytes of --all left to write back would slow down
        # whichever run comes next: each run starts with nothing pending.
        sync
        start=$(date +%s%N)
        "$@" >"$out"
        end=$(date +%s%N)
        ms=$(((end - start) / 1000000))
        ((ms < best)) && best=$ms
    done
    echo "$best"
}

load() { cut -d' ' -f1 /proc/loadavg; }

echo "| case | threads | old ms | new ms | new/old | load |"
echo "|---|---|---|---|---|---|"
cases=("--last 1100 11" "--last 1300 11" "--last 2000 10" "10" "ranking")
for c in "${cases[@]}"; do
    # shellcheck disable=SC2206  # the case's words are the arguments
    args=(--game multi --encoding cp1250 $c)
    [[ "$c" == ranking ]] && args=(--game multi --encoding cp1250 --ranking --search "5 z 8" --top 10)
    l=$(load)
    o=$(best_ms "$tmp/old" "$old" "${args[@]}")
    for t in "${threads[@]}"; do
        n=$(best_ms "$tmp/new" "$new" "${args[@]}" --threads "$t")
        cmp -s "$tmp/old" "$tmp/new" || { echo "against.sh: outputs differ: $c" >&2; exit 1; }
        echo "| $c | $t | $o | $n | $(awk "BEGIN{printf \"%.0f%%\", 100*$n/$o}") | $l |"
    done
done

all=(--game multi --last 1000 --search "5 z 5" --all)
l=$(load)
"$old" "${all[@]}" >"$tmp/old-all"
for t in "${threads[@]}"; do
    copy=$(best_ms "$tmp/copy" cat "$tmp/old-all")
    n=$(best_ms "$tmp/new-all" "$new" "${all[@]}" --threads "$t")
    cmp -s "$tmp/old-all" "$tmp/new-all" || { echo "against.sh: --all differs" >&2; exit 1; }
    echo "| --all 5 z 5, last 1000 (vs cat) | $t | $copy | $n | $(awk "BEGIN{printf \"%.2fx\", $n/$copy}") | $l |"
done

echo
echo "| nines and tens over every draw | seconds | peak MB | load |"
echo "|---|---|---|---|"
for id in 41 42; do
    l=$(load)
    /usr/bin/time -f "%e %M" -o "$tmp/time" "$new" --game multi --encoding cp1250 "$id" >/dev/null
    read -r s kb <"$tmp/time"
    echo "| $id | $s | $((kb / 1024)) | $l |"
done
