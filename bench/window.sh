#!/usr/bin/env bash
# How long the Multi Multi answers over the last 1,000 and 100 draws take to
# appear in the results box of the real window under Wine:
#   bash bench/window.sh
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
install_missing
build_windows --target window_answers_bench
prepare_wine
cd "$BUILD/windows" && xvfb-run -a -s "-screen 0 1600x1000x24" wine window_answers_bench.exe
