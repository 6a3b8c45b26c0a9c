#!/usr/bin/env bash
# Rebuilds the Windows program and runs its window tests under Wine on a
# virtual display; extra arguments go to the test program, e.g.
#   bash scripts/app-tests.sh --gtest_filter='Panels*'
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
build_windows --target app_tests zestawy
prepare_wine
cd "$BUILD/windows"
xvfb-run -a -s "-screen 0 1600x1000x24" wine app_tests/app_tests.exe "$@"
