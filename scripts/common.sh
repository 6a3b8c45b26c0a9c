# Shared by run.sh and test.sh: installs what is missing, builds, and sets up
# Wine (64-bit, Polish ANSI code page 1250) in a prefix of the project's own.
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=$ROOT/build
JOBS=${JOBS:-$(nproc)}

export WINEPREFIX=$BUILD/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko installer prompts
# Wine's ANSI code page becomes 1250, as on a Polish Windows; with
# ZESTAWY_CODE_PAGE=1252 it is 1252, as on an English one.
if [ "${ZESTAWY_CODE_PAGE:-1250}" = 1252 ]; then export LC_ALL=C.UTF-8; else export LC_ALL=pl_PL.UTF-8; fi

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

install_missing() {
    local need=()
    command -v cmake >/dev/null || need+=(cmake)
    command -v g++ >/dev/null || need+=(g++)
    [ -d /usr/src/googletest ] || need+=(googletest)
    dpkg -s libgtest-dev >/dev/null 2>&1 || need+=(libgtest-dev)
    dpkg -s libbenchmark-dev >/dev/null 2>&1 || need+=(libbenchmark-dev)
    # clang and its libFuzzer runtime for the fuzzing of scripts/fuzz.sh.
    command -v clang++ >/dev/null || need+=(clang)
    command -v clang-format >/dev/null || need+=(clang-format)
    dpkg -s libclang-rt-14-dev >/dev/null 2>&1 || need+=(libclang-rt-14-dev)
    command -v x86_64-w64-mingw32-g++-posix >/dev/null ||
        need+=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix)
    command -v wine >/dev/null || need+=(wine wine64)
    command -v Xvfb >/dev/null || need+=(xvfb)
    command -v xauth >/dev/null || need+=(xauth)
    command -v xdotool >/dev/null || need+=(xdotool)
    command -v import >/dev/null || need+=(imagemagick)
    command -v locale-gen >/dev/null || need+=(locales)
    # The Windows download: written by a Python script, checked with unzip.
    command -v python3 >/dev/null || need+=(python3)
    command -v unzip >/dev/null || need+=(unzip)
    # libcurl, through which the native tool downloads results.
    dpkg -s libcurl4-openssl-dev >/dev/null 2>&1 || need+=(libcurl4-openssl-dev)
    # Wine's own fonts (window frame glyphs) and an Arial-compatible face.
    dpkg -s fonts-wine >/dev/null 2>&1 || need+=(fonts-wine)
    dpkg -s fonts-liberation >/dev/null 2>&1 || need+=(fonts-liberation)
    if [ ${#need[@]} -gt 0 ]; then
        echo "Installing: ${need[*]}"
        as_root apt-get update -qq
        as_root env DEBIAN_FRONTEND=noninteractive \
            apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
    fi
    if ! locale -a 2>/dev/null | grep -qix 'pl_PL.utf8'; then
        echo "Generating the pl_PL.UTF-8 locale"
        as_root sed -i 's/^# *\(pl_PL.UTF-8 UTF-8\)/\1/' /etc/locale.gen
        grep -q '^pl_PL.UTF-8 UTF-8' /etc/locale.gen || echo 'pl_PL.UTF-8 UTF-8' | as_root tee -a /etc/locale.gen >/dev/null
        as_root locale-gen >/dev/null
    fi
}

build_windows() {
    cmake -S "$ROOT" -B "$BUILD/windows" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64.cmake" \
        -DCMAKE_BUILD_TYPE=Release -DZESTAWY_WERROR="${ZESTAWY_WERROR:-OFF}" >/dev/null
    cmake --build "$BUILD/windows" -j "$JOBS" "$@"
}

# Creates the Wine prefix once. Without a window manager Wine waits about 2 s
# after each dialog closes unless it draws the windows itself (Managed = N).
prepare_wine() {
    if [ ! -f "$WINEPREFIX/.zestawy-ready" ]; then
        echo "Creating the Wine prefix in $WINEPREFIX"
        mkdir -p "$WINEPREFIX"
        wineboot --init >/dev/null 2>&1 || true
        for exe in zestawy.exe app_tests.exe; do
            wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$exe\\X11 Driver" \
                /v Managed /d N /f >/dev/null 2>&1
        done
        wineserver -w
        touch "$WINEPREFIX/.zestawy-ready"
    fi
}

# Puts zestawy.exe and the three history files into build/run and goes there.
prepare_run_folder() {
    RUN=$BUILD/run
    mkdir -p "$RUN"
    cp "$ROOT"/data/*.txt "$ROOT/data/README.md" "$BUILD/windows/zestawy.exe" "$RUN/"
    cd "$RUN"
}

# Starts a virtual display :$1 (of $2 pixels, 1600x1000 unless given) and the
# program on it; sets PROGRAM (its process) and WINDOW (its X window). The
# display goes away when the script ends.
start_on_virtual_display() {
    Xvfb ":$1" -screen 0 "${2:-1600x1000}x24" -nolisten tcp >/dev/null 2>&1 &
    XVFB=$!
    trap 'kill $XVFB 2>/dev/null || true' EXIT
    export DISPLAY=":$1"
    sleep 1
    wine zestawy.exe &
    PROGRAM=$!
    WINDOW=$(timeout 60 xdotool search --sync --name 'Program wyszuk' | head -n 1)
    wait_until_painted
}

# Waits, at most 60 s, until WINDOW shows its first screen. It looks below
# Wine's title bar (24 rows) and left of the column of buttons (1000 columns):
# there a window that has not painted yet is flat grey in its frame, 6 colours,
# also when under load a lone scroll bar shows first on the right; the menu
# bar and the about text in a big smoothed font make 21. The picture
# must also stay the same for one more look, so that a screen caught half
# painted does not count. import waits forever for a window that has gone,
# hence its own time limit.
wait_until_painted() {
    local deadline=$((SECONDS + 60)) seen="" last=""
    while :; do
        seen=$(timeout 10 import -window "$WINDOW" png:- 2>/dev/null |
            convert png:- -crop 1000x+0+24 +repage -format '%k %#' info: 2>/dev/null) || seen="0"
        if [ "${seen%% *}" -ge 12 ] && [ "$seen" = "$last" ]; then
            return 0
        fi
        if ! kill -0 "$PROGRAM" 2>/dev/null; then
            echo "zestawy.exe ended before its window painted." >&2
            return 1
        fi
        if [ $SECONDS -ge $deadline ]; then
            echo "The window of zestawy.exe has not painted in 60 s (${seen%% *} colours)." >&2
            return 1
        fi
        last=$seen
        sleep 0.5
    done
}
