#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang in build/fuzz and runs each
# for FUZZ_SECONDS (18 by default), starting from a scratch copy of its seed
# corpus in fuzz/corpus/. Fails on any crash, failed check, sanitizer report,
# input that runs over 10 s or memory over 2 GB; the input that did it is saved
# in build/fuzz/artifacts/ and the whole output in build/fuzz/<target>.log.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

FUZZ=$BUILD/fuzz
SECONDS_EACH=${FUZZ_SECONDS:-18}
TARGETS=(fuzz_parse fuzz_history fuzz_history_file fuzz_command_frame)

cmake -S "$ROOT" -B "$FUZZ" -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZESTAWY_FUZZ=ON -DZESTAWY_WERROR=ON >/dev/null
cmake --build "$FUZZ" -j "$JOBS" --target "${TARGETS[@]}"

rm -rf "$FUZZ/corpus" "$FUZZ/artifacts"
mkdir -p "$FUZZ/artifacts"
failed=0
for target in "${TARGETS[@]}"; do
    mkdir -p "$FUZZ/corpus/$target"
    cp "$ROOT/fuzz/corpus/$target"/* "$FUZZ/corpus/$target/"
    log=$FUZZ/$target.log
    if "$FUZZ/$target" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$FUZZ/artifacts/$target-" -print_final_stats=1 \
        "$FUZZ/corpus/$target" >"$log" 2>&1 && ! grep -q 'runtime error:' "$log"; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "$target: passed ($runs inputs in $SECONDS_EACH s)"
    else
        grep -E 'ERROR|runtime error:|SUMMARY:|Test unit written' "$log" || tail -n 20 "$log"
        echo "$target: FAILED (whole output in $log)"
        failed=1
    fi
done
exit $failed
