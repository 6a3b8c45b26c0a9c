#!/usr/bin/env bash
# The update of a history from a large download: the shipped Multi Multi
# history completed from a made-up download of about SIZE MB (default 250) of
# later draws, in the comma-separated layout with a time and a Plus, two a day.
# Prints a markdown row: the download's size, the draws added, the wall time,
# and the peak resident memory beside the sizes of the download and the
# history it makes (the update may hold both, and little more).
#
#   bash bench/update.sh [SIZE_MB]
#
# Environment: BUILD_DIR (default build/native) is built if needed; TMPDIR for
# the download and the history (about 2 x SIZE MB).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
size_mb="${1:-250}"
if [[ ! -x /usr/bin/time ]]; then
    echo "update.sh: needs GNU time (/usr/bin/time; apt-get install time)" >&2
    exit 2
fi
build="${BUILD_DIR:-build/native}"
[[ -f "$build/CMakeCache.txt" ]] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target zestawy-cli >/dev/null
cli="$build/zestawy-cli"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# A Multi Multi line of this layout is about 87 bytes.
python3 - "$work/download.csv" $((size_mb * 1024 * 1024 / 87)) <<'EOF'
import datetime, random, sys
path, count = sys.argv[1], int(sys.argv[2])
random.seed(250)
day = datetime.date(2026, 8, 23)
with open(path, "w") as out:
    for i in range(count):
        numbers = sorted(random.sample(range(1, 81), 20))
        out.write("%d,%s,%s,%s,%d\n" % (16979 + i, day.strftime("%d.%m.%Y"),
                  "22:00" if i % 2 else "14:00", ",".join("%02d" % n for n in numbers),
                  numbers[i % 20]))
        if i % 2:
            day += datetime.timedelta(days=1)
EOF
cp "data/Multi Multi wyniki losowań.txt" "$work/history.txt"

/usr/bin/time -o "$work/stats" -f "%M %e" "$cli" --game multi --history "$work/history.txt" \
    --update "$work/download.csv" 2>"$work/said" || { cat "$work/said" >&2; exit 1; }
read -r peak_kb seconds <"$work/stats"
mb() { echo $(( ($1 + 524288) / 1048576 )); }
echo "| download | draws added | time (s) | peak memory (MB) | download + history (MB) |"
echo "|---|---|---|---|---|"
echo "| $(mb "$(stat -c %s "$work/download.csv")") MB | $(grep -o 'Dopisano [0-9]*' "$work/said" | cut -d' ' -f2) |" \
     "$seconds | $(( (peak_kb + 512) / 1024 )) |" \
     "$(mb $(( $(stat -c %s "$work/download.csv") + $(stat -c %s "$work/history.txt") )))"
