#!/usr/bin/env bash
# cmake --install as a Linux user runs it: into an empty prefix, then the tool
# from its PATH, run from / and from a folder holding a history file of the
# same name that must not be read. It must find its sample histories in
# <prefix>/share/zestawy and answer as from the source's own copies.
#   bash tests/package/install_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(realpath "$1")
source=$(realpath "$2")
prefix=$(mktemp -d)
decoy=$(mktemp -d)
trap 'rm -rf "$prefix" "$decoy"' EXIT
failed=0
fail() { echo "FAILED: $*"; failed=1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
for file in bin/zestawy-cli share/zestawy/README.md share/doc/zestawy/README.md \
    "share/zestawy/Multi Multi wyniki losowań.txt" "share/zestawy/Mini Lotto wyniki losowań.txt" \
    "share/zestawy/Lotto wyniki losowań.txt"; do
    [ -f "$prefix/$file" ] || fail "not installed: $file"
done

expected=$("$build/zestawy-cli" --history "$source/data/Lotto wyniki losowań.txt" --last 100 33 31)
printf '1. 01.01.2000 1,2,3,4,5,6\r\n' >"$decoy/Lotto wyniki losowań.txt"
for folder in / "$decoy"; do
    got=$(cd "$folder" && PATH="$prefix/bin:$PATH" zestawy-cli --game lotto --last 100 33 31) ||
        fail "zestawy-cli failed in $folder"
    [ "$got" = "$expected" ] || fail "in $folder: \"$got\", not \"$expected\""
done
[ $failed = 0 ] && echo "The installed tool finds its histories from any folder."
exit $failed
