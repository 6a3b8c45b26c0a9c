#!/usr/bin/env bash
# Makes the table of wheels shipped with the program, data/wheels/designs.txt,
# with the program's own generator: zestawy-cli --wheel over the numbers
# 1..v, whose tickets are the table's as they are. A shape already in the
# table is searched from its system, so a run can only make it smaller.
#   bash bench/designs.sh [build/native/zestawy-cli]
# BUDGET (seconds per shape, 5) and LONG (for the shapes known to be hard, 20)
# set the time. Run it with nice: it keeps both cores busy.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build/native/zestawy-cli}
budget=${BUDGET:-5}
long=${LONG:-20}
table=data/wheels/designs.txt

# game v k m t hard
shapes=(
  "lotto 10 6 3 3 0" "lotto 11 6 3 3 0" "lotto 12 6 3 3 0" "lotto 13 6 3 3 0"
  "lotto 14 6 3 3 0" "lotto 15 6 3 3 0" "lotto 16 6 3 3 1" "lotto 17 6 3 3 1"
  "lotto 18 6 3 3 1" "lotto 19 6 3 3 1" "lotto 20 6 3 3 1"
  "lotto 10 6 4 4 0" "lotto 11 6 4 4 0" "lotto 12 6 4 4 1" "lotto 13 6 4 4 1"
  "mini 10 5 3 3 0" "mini 11 5 3 3 0" "mini 12 5 3 3 0" "mini 13 5 3 3 0"
  "mini 14 5 3 3 0" "mini 15 5 3 3 1" "mini 16 5 3 3 1"
  "lotto 10 6 2 2 0" "lotto 11 6 2 2 0" "lotto 12 6 2 2 0" "lotto 13 6 2 2 0"
  "lotto 14 6 2 2 0" "lotto 15 6 2 2 0" "lotto 16 6 2 2 0" "lotto 17 6 2 2 0"
  "lotto 18 6 2 2 0" "lotto 19 6 2 2 0" "lotto 20 6 2 2 0"
  "lotto 10 6 4 3 0" "lotto 12 6 5 3 0" "lotto 9 6 5 4 0" "lotto 11 6 6 4 0"
)

next=$(mktemp)
trap 'rm -f "$next"' EXIT
grep '^#' "$table" > "$next"
for shape in "${shapes[@]}"; do
  read -r game v k m t hard <<< "$shape"
  numbers=$(seq -s, 1 "$v")
  seconds=$budget
  [ "$hard" = 1 ] && seconds=$long
  tickets=$("$cli" --game "$game" --wheel "$numbers" --guarantee "$t z $m" --budget "$seconds" \
    2> >(grep -v gwarantuje | sed "s/^/v=$v k=$k m=$m t=$t: /" >&2))
  { echo; echo "v=$v k=$k m=$m t=$t"; echo "$tickets" | sed 's/, / /g'; } >> "$next"
done
cp "$next" "$table"
