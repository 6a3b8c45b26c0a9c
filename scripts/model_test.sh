#!/usr/bin/env bash
# The long run of the window's model test: a thousand seeded random walks
# through the program under Wine (the test command runs a hundred).
#   bash scripts/model_test.sh [WALKS [SEED]]
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
build_windows --target app_tests zestawy
prepare_wine
cd "$BUILD/windows"
ZESTAWY_MODEL_SEQUENCES=${1:-1000} ZESTAWY_MODEL_SEED=${2:-1} \
    xvfb-run -a -s "-screen 0 1600x1000x24" wine app_tests/app_tests.exe --gtest_filter='WindowModel.*'
wineserver -k 2>/dev/null || true
