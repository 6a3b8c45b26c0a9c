#!/usr/bin/env bash
# Makes the table of wheels shipped with the program, data/wheels/designs.txt,
# with the program's own generator: zestawy-cli --wheel over the numbers
# 1..v, whose tickets are the table's as they are. A shape already in the
# table is searched from its system, so a run can only make it smaller. The
# shapes: the coverings "t z t" of tickets of 5 (Mini Lotto) and 6 numbers
# (Lotto) for t = 2, 3, 4 and v from k+1 to 20 (to 30 for t = 3), the ones
# bench/wheel_sizes.sh compares, and four lotto designs "t z m", m > t.
#   bash bench/designs.sh [build/native/zestawy-cli]
# BUDGET (seconds per shape, 5) and LONG (for a shape whose system is above
# Schönheim's lower bound, 20) set the time; a shape at the bound is not
# searched. Run it with nice: it keeps both cores busy.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build/native/zestawy-cli}
budget=${BUDGET:-5}
long=${LONG:-20}
table=data/wheels/designs.txt

# game v k m t
shapes=("lotto 10 6 4 3" "lotto 12 6 5 3" "lotto 9 6 5 4" "lotto 11 6 6 4")
for k in 5 6; do
  game=lotto
  [ "$k" = 5 ] && game=mini
  for t in 2 3 4; do
    top=20
    [ "$t" = 3 ] && top=30
    for v in $(seq $((k + 1)) "$top"); do shapes+=("$game $v $k $t $t"); done
  done
done

# The tickets of the table's system of a shape, or nothing.
tickets_of() {
  awk -v head="v=$1 k=$2 m=$3 t=$4" '$0 == head { on = 1; next } /^$/ { on = 0 } on' "$table"
}

# Schönheim's lower bound of a covering; 0 for a lotto design.
bound_of() {
  awk -v v="$1" -v k="$2" -v m="$3" -v t="$4" 'BEGIN {
    if (m != t) { print 0; exit }
    b = 1
    for (i = t - 1; i >= 0; i--) { b = (v - i) * b / (k - i); b = b == int(b) ? b : int(b) + 1 }
    print b }'
}

next=$(mktemp)
trap 'rm -f "$next"' EXIT
grep '^#' "$table" > "$next"
for shape in "${shapes[@]}"; do
  read -r game v k m t <<< "$shape"
  numbers=$(seq -s, 1 "$v")
  known=$(tickets_of "$v" "$k" "$m" "$t")
  seconds=$budget
  if [ -n "$known" ] && [ "$(echo "$known" | wc -l)" -le "$(bound_of "$v" "$k" "$m" "$t")" ]; then
    tickets=$(echo "$known" | sed 's/ /, /g')
  else
    [ -n "$known" ] && seconds=$long
    tickets=$("$cli" --game "$game" --wheel "$numbers" --guarantee "$t z $m" --budget "$seconds" \
      2> >(grep -v gwarantuje | sed "s/^/v=$v k=$k m=$m t=$t: /" >&2))
  fi
  { echo; echo "v=$v k=$k m=$m t=$t"; echo "$tickets" | sed 's/, / /g'; } >> "$next"
done
cp "$next" "$table"
