#!/usr/bin/env bash
# The sizes of the program's coverings ("t z t": every t of the player's v
# numbers in some ticket) against the best known ones, as a Markdown table for
# the README: tickets of 5 (Mini Lotto) and 6 numbers (Lotto), t = 2, 3, 4,
# v from k+1 to 20 (to 30 for t = 3). A cell reads "ours / best known", with
# the excess where ours is larger. The best known sizes are those of
# data/wheels/best_known.txt; where it has none, a system of ours as small as
# Schönheim's lower bound is the best there is ("n*"), and otherwise the cell
# says "?". Ours is the tool's answer with its default budget: the table's
# system (data/wheels/designs.txt) at once, or a 10 s search on every core
# for a shape the table lacks.
#   bash bench/wheel_sizes.sh [build/native/zestawy-cli]
# Run it with nice: a shape the table lacks keeps both cores busy.
set -euo pipefail
cd "$(dirname "$0")/.."
cli=${1:-build/native/zestawy-cli}
best_known=data/wheels/best_known.txt

# The best known size of "k t v", or "?".
best_of() {
  awk -v k="$1" -v t="$2" -v v="$3" '$1 !~ /^#/ && $1 == k && $2 == t && $3 == v { print $4; found = 1 }
    END { if (!found) print "?" }' "$best_known"
}

# Our size of "k t v", and "optimal" when the tool says no fewer tickets can do.
ours_of() {
  local k=$1 t=$2 v=$3 game=lotto summary
  [ "$k" = 5 ] && game=mini
  summary=$(mktemp)
  "$cli" --game "$game" --wheel "$(seq -s, 1 "$v")" --guarantee "$t z $t" 2>"$summary" | wc -l
  grep -q "mniej zakładów się nie da" "$summary" && echo optimal
  rm -f "$summary"
}

columns=("5 2" "5 3" "5 4" "6 2" "6 3" "6 4")
header="| v |"
rule="|---|"
for c in "${columns[@]}"; do
  read -r k t <<< "$c"
  header+=" C(v,$k,$t) |"
  rule+="---|"
done
echo "$header"
echo "$rule"
above=0
for v in $(seq 6 30); do
  row="| $v |"
  for c in "${columns[@]}"; do
    read -r k t <<< "$c"
    top=20
    [ "$t" = 3 ] && top=30
    if [ "$v" -le "$k" ] || [ "$v" -gt "$top" ]; then
      row+=" |"
      continue
    fi
    read -r ours optimal <<< "$(ours_of "$k" "$t" "$v" | tr '\n' ' ')"
    best=$(best_of "$k" "$t" "$v")
    [ "$best" = "?" ] && [ "$optimal" = optimal ] && best="$ours*"
    cell="$ours / $best"
    if [ "$best" != "?" ] && [ "$ours" -gt "${best%\*}" ]; then
      cell="**$ours** / $best (+$((ours - best)))"
      above=$((above + 1))
    fi
    row+=" $cell |"
  done
  echo "$row"
done
echo
echo "Ours / best known (La Jolla Covering Repository); n*: ours meets Schönheim's lower bound,"
echo "so no system is smaller; bold: $above above the best known."
