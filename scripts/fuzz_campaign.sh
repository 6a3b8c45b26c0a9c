#!/usr/bin/env bash
# A longer fuzzing run that keeps what it learns:
#   bash scripts/fuzz_campaign.sh SECONDS [TARGET...]
# Builds the targets of fuzz/ as scripts/fuzz.sh does and runs each given one
# (all by default), one process at a time, for SECONDS from a scratch copy of
# its corpus in fuzz/corpus/, printing the inputs run and inputs per second.
# Fails as fuzz.sh does on any crash, failed check, sanitizer report, hang or
# memory over 2 GB (the input that did it is saved in build/fuzz/campaign/
# artifacts/, the output in build/fuzz/campaign/<target>.log). The corpus of a
# target that passed is then merged into a fresh folder, minimised, and
# replaces fuzz/corpus/<target>/. With FUZZ_RUNS=N in the environment each
# target also stops after N inputs, whichever comes first.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

if [[ ! ${1:-} =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: bash scripts/fuzz_campaign.sh SECONDS [TARGET...]" >&2
    exit 2
fi
SECONDS_EACH=$1
shift
TARGETS=("$@")
if [ ${#TARGETS[@]} -eq 0 ]; then
    for file in "$ROOT"/fuzz/*.cpp; do TARGETS+=("$(basename "$file" .cpp)"); done
fi
install_missing

FUZZ=$BUILD/fuzz
WORK=$FUZZ/campaign
cmake -S "$ROOT" -B "$FUZZ" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZESTAWY_FUZZ=ON >/dev/null
cmake --build "$FUZZ" -j "$JOBS" --target "${TARGETS[@]}"

size_of() { echo "$(find "$1" -type f | wc -l) files, $(du -sb "$1" | cut -f1) bytes"; }

rm -rf "$WORK"
mkdir -p "$WORK/artifacts"
failed=0
for target in "${TARGETS[@]}"; do
    kept=$ROOT/fuzz/corpus/$target
    corpus=$WORK/$target
    log=$WORK/$target.log
    mkdir -p "$corpus"
    cp "$kept"/* "$corpus/"
    start=$(date +%s.%N)
    if "$FUZZ/$target" -max_total_time="$SECONDS_EACH" -runs="${FUZZ_RUNS:--1}" \
        -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$WORK/artifacts/$target-" -print_final_stats=1 \
        "$corpus" >"$log" 2>&1 && ! grep -q 'runtime error:' "$log"; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        awk -v t="$target" -v r="$runs" -v s="$start" -v e="$(date +%s.%N)" 'BEGIN {
            printf "%s: passed, %d inputs in %.0f s (%.0f inputs/s)\n", t, r, e - s, r / (e - s) }'
    else
        grep -E 'ERROR|runtime error:|SUMMARY:|Test unit written' "$log" || tail -n 20 "$log"
        echo "$target: FAILED (whole output in $log)"
        failed=1
        continue
    fi
    merged=$WORK/$target.merged
    mkdir "$merged"
    "$FUZZ/$target" -merge=1 -timeout=10 -rss_limit_mb=2048 "$merged" "$corpus" \
        >"$WORK/$target.merge.log" 2>&1
    echo "$target: corpus of $(size_of "$corpus") minimised to $(size_of "$merged")"
    rm -rf "$kept"
    mv "$merged" "$kept"
done
exit $failed
