#!/usr/bin/env bash
# Builds everything and runs every test: the native suite, the native suite
# under AddressSanitizer + UndefinedBehaviorSanitizer, a bounded run of the
# fuzz targets, the window tests of the Windows program under Wine on a
# virtual X display, and the Windows download as a user unpacks and runs it.
# Exits non-zero on any failure.
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
export ZESTAWY_WERROR=ON  # every build of the test command treats warnings as errors

echo "== Formatting (clang-format, the tree's .clang-format)"
(cd "$ROOT" && git ls-files -z '*.cpp' '*.hpp' | xargs -0 clang-format --dry-run --Werror)

echo "== Native build and tests"
cmake -S "$ROOT" -B "$BUILD/native" -DCMAKE_BUILD_TYPE=Release -DZESTAWY_WERROR=ON >/dev/null
cmake --build "$BUILD/native" -j "$JOBS"
ctest --test-dir "$BUILD/native" --output-on-failure

echo "== Native tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S "$ROOT" -B "$BUILD/asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZESTAWY_SANITIZE=ON \
    -DZESTAWY_BENCH=OFF -DZESTAWY_WERROR=ON >/dev/null
cmake --build "$BUILD/asan" -j "$JOBS"
ctest --test-dir "$BUILD/asan" --output-on-failure

echo "== Fuzzing (libFuzzer)"
bash "$ROOT/scripts/fuzz.sh"

echo "== Windows build and window tests under Wine"
build_windows
prepare_wine
xvfb-run -a -s "-screen 0 1600x1000x24" ctest --test-dir "$BUILD/windows" --output-on-failure
wineserver -k 2>/dev/null || true

echo "== The Windows download, unpacked and run in a fresh Wine prefix"
bash "$ROOT/scripts/package.sh"
VERSION=$(sed -n 's/^project(zestawy VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
bash "$ROOT/tests/package/zip_test.sh" "$BUILD/package/zestawy-$VERSION-win64.zip" "$VERSION"
echo "All tests passed."
