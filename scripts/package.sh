#!/usr/bin/env bash
# The Windows download: builds the Release Windows programs and writes
# build/package/zestawy-VERSION-win64.zip (see scripts/package.py):
#   bash scripts/package.sh
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
install_missing
build_windows --target zestawy zestawy-cli
VERSION=$(sed -n 's/^project(zestawy VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
if [ -z "$VERSION" ]; then
    echo "package.sh: no project(zestawy VERSION ...) in CMakeLists.txt" >&2
    exit 1
fi
python3 "$ROOT/scripts/package.py" "$VERSION" "$BUILD/windows" \
    "$BUILD/package/zestawy-$VERSION-win64.zip"
