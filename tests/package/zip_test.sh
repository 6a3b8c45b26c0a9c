#!/usr/bin/env bash
# The Windows download as a user gets it: the zip unpacked into an empty
# folder, and zestawy.exe run from there, with that folder as its working
# folder, in a Wine prefix made for this test alone. Loads the last 100 Multi
# Multi draws, presses "Wyszukaj 2" (tests/package/drive_window.cpp) and
# checks the answer against the tool's, then zestawy-cli.exe --version and the
# version resource of both programs. Also checks that packing again gives the
# same bytes and that the entry names read back right.
#   bash tests/package/zip_test.sh ZIP VERSION
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
ZIP=$(realpath "$1")
VERSION=$2
WORK=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WORK"' EXIT
export WINEPREFIX=$WORK/prefix
failed=0
fail() { echo "FAILED: $*"; failed=1; }

# Packing the same build again gives the same bytes.
python3 "$ROOT/scripts/package.py" "$VERSION" "$BUILD/windows" "$WORK/again.zip" >/dev/null
cmp -s "$ZIP" "$WORK/again.zip" || fail "the zip is not the same when packed again"

# The names, in the zip's order, as zipfile and unzip (in a UTF-8 locale) read
# them: UTF-8 with the UTF-8 flag (bit 11) on exactly the names that are not
# plain ASCII, which is also how Windows' "Extract all" reads them, and no
# extra fields.
FILES=(zestawy.exe zestawy-cli.exe "Multi Multi wyniki losowań.txt"
    "Mini Lotto wyniki losowań.txt" "Lotto wyniki losowań.txt" CZYTAJ.txt README-dane.txt)
expected=$(for file in "" "${FILES[@]}"; do echo "zestawy-$VERSION/$file"; done)
for listed in "$(python3 -c '
import sys, zipfile
for entry in zipfile.ZipFile(sys.argv[1]).infolist():
    utf8 = bool(entry.flag_bits & 0x800)
    right = utf8 != entry.filename.isascii() and not entry.extra
    print(entry.filename if right else "wrong flag or extra field: " + entry.filename)
' "$ZIP")" "$(LC_ALL=C.UTF-8 unzip -Z1 "$ZIP")"; do
    [ "$listed" = "$expected" ] || fail "the names in the zip read back as:"$'\n'"$listed"
done

mkdir "$WORK/unpacked"
cd "$WORK/unpacked"
unzip -q "$ZIP"
[ "$(ls)" = "zestawy-$VERSION" ] || fail "the zip does not hold one folder zestawy-$VERSION: $(ls)"
cd "zestawy-$VERSION"
for file in "${FILES[@]}"; do
    [ -f "$file" ] || fail "no $file in the unpacked folder"
done
# The player's texts: the guide without Markdown marks, the data note in Polish first.
marks=$(iconv -f cp1250 -t utf-8 CZYTAJ.txt | { grep -nE '^#|`|\*\*|!\[|\]\(' || true; } | head -3)
[ -z "$marks" ] || fail "CZYTAJ.txt has Markdown marks: $marks"
first=$(head -1 README-dane.txt | iconv -f cp1250 -t utf-8 | tr -d '\r')
[ "$first" = "Prawdziwe wyniki losowań" ] || fail "README-dane.txt starts with: $first"
cp "$BUILD/windows/drive_window.exe" "$WORK/"

echo "Creating a fresh Wine prefix"
wineboot --init >/dev/null 2>&1 || true
wineserver -w
xvfb-run -a -s "-screen 0 1600x1000x24" bash -c \
    'wine zestawy.exe & wine "$0" play > "$1"; code=$?; wait; exit $code' \
    "$WORK/drive_window.exe" "$WORK/seen.txt" || fail "drive_window.exe failed: $(cat "$WORK/seen.txt")"
wine "$WORK/drive_window.exe" version zestawy.exe >>"$WORK/seen.txt" 2>/dev/null ||
    fail "no version resource in zestawy.exe"
seen=$(tr -d '\r' <"$WORK/seen.txt")
echo "$seen"

expected=$("$BUILD/native/zestawy-cli" --history "Multi Multi wyniki losowań.txt" --last 100 \
    --encoding cp1250 1)
grep -qxF "results: $expected" <<<"$seen" || fail "the answer is not \"$expected\""
grep -qxF "ProductVersion: $VERSION" <<<"$seen" || fail "no ProductVersion $VERSION"
grep -q "^FileVersion: $VERSION" <<<"$seen" || fail "no FileVersion $VERSION"
product=$(iconv -f utf-8 -t cp1250 <<<"ProductName: Najdłużej oczekiwane zestawy")
grep -qxF "$product" <<<"$seen" || fail "no Polish ProductName"

cli=$(wine zestawy-cli.exe --version | tr -d '\r')
[ "$cli" = "zestawy-cli $VERSION" ] || fail "zestawy-cli.exe --version says \"$cli\""
wine "$WORK/drive_window.exe" version zestawy-cli.exe >"$WORK/cli.txt" 2>/dev/null || true
grep -qxF "ProductVersion: $VERSION" <(tr -d '\r' <"$WORK/cli.txt") ||
    fail "no ProductVersion $VERSION in zestawy-cli.exe"

[ $failed = 0 ] && echo "The download works as unpacked."
exit $failed
