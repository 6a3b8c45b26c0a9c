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
# With --history, the update of a large history by a few new draws, and its
# --check: a made-up Multi Multi history of about SIZE MB (default 237), two
# draws a day from the year 1200 on, completed by a download of its last 10
# draws and 120 new ones. Prints a row each: the history's size, the wall
# time, the peak resident memory and the budget it must stay under (the
# history plus the download plus 16 MB; --check, which reads a piece at a
# time, the same).
#
#   bash bench/update.sh --history [SIZE_MB]
#
# Environment: BUILD_DIR (default build/native) is built if needed; TMPDIR for
# the download and the history (about 2 x SIZE MB).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
large_history=false
if [[ "${1:-}" == --history ]]; then
    large_history=true
    shift
fi
size_mb="${1:-$($large_history && echo 237 || echo 250)}"
if [[ ! -x /usr/bin/time ]]; then
    echo "update.sh: needs GNU time (/usr/bin/time; apt-get install time)" >&2
    exit 2
fi
build="${BUILD_DIR:-build/native}"
[[ -f "$build/CMakeCache.txt" ]] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j2 --target zestawy-cli >/dev/null
cli="$build/zestawy-cli"

large_history_rows() {
python3 - "$work" "$size_mb" <<'PY'
import datetime, random, sys
work, size_mb = sys.argv[1], int(sys.argv[2])
random.seed(237)
day, n, size, tail = datetime.date(1200, 1, 1), 0, 0, []
with open(work + "/history.txt", "w", newline="") as out:
    while size < size_mb * 1024 * 1024:
        n += 1
        numbers = sorted(random.sample(range(1, 81), 20))
        line = "%d. %s %s\r\n" % (n, day.strftime("%d.%m.%Y"), ",".join(map(str, numbers)))
        out.write(line)
        size += len(line)
        tail = (tail + [(n, day, numbers)])[-10:]
        if n % 2 == 0:
            day += datetime.timedelta(days=1)
with open(work + "/download.csv", "w") as out:
    for i in range(130):
        if i >= 10:
            n += 1
            if n % 2 == 1:
                day += datetime.timedelta(days=1)
            tail.append((n, day, sorted(random.sample(range(1, 81), 20))))
        number, date, numbers = tail[i]
        out.write("%d,%s,%s\n" % (number, date.strftime("%d.%m.%Y"),
                                  ",".join("%02d" % x for x in numbers)))
PY
history_bytes=$(stat -c %s "$work/history.txt")
download_bytes=$(stat -c %s "$work/download.csv")
/usr/bin/time -o "$work/update" -f "%M %e" "$cli" --game multi --history "$work/history.txt" \
    --update "$work/download.csv" 2>"$work/said" || { cat "$work/said" >&2; exit 1; }
grep -q "Dopisano 120 " "$work/said" || { cat "$work/said" >&2; exit 1; }
/usr/bin/time -o "$work/check" -f "%M %e" "$cli" --game multi --history "$work/history.txt" \
    --check >/dev/null
mib() { echo $(( ($1 + 524288) / 1048576 )); }
echo "| run | history (MB) | time (s) | peak memory (MB) | budget (MB) |"
echo "|---|---|---|---|---|"
read -r peak seconds <"$work/update"
echo "| update, 120 new draws | $(mib "$history_bytes") | $seconds | $(( (peak + 512) / 1024 )) |" \
     "$(mib $(( history_bytes + download_bytes + 16 * 1048576 ))) |"
read -r peak seconds <"$work/check"
echo "| --check | $(mib "$history_bytes") | $seconds | $(( (peak + 512) / 1024 )) |" \
     "$(mib $(( history_bytes + 16 * 1048576 ))) |"
}


work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
if $large_history; then
    large_history_rows
    exit 0
fi
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
