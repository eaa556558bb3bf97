#!/usr/bin/env bash
# Cross-builds the Windows program (32-bit and 64-bit) and runs its tests under Wine: the unit
# tests, and the program itself captured through ALSA's file plugin, compared with what the
# Linux program sends. Needs the Linux build in build/ (for the expected samples).
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS

bash tools/install-deps.sh --windows
host_song_samples=$PWD/build/tests/song_samples
[[ -x $host_song_samples ]] || { echo "test-windows: build the Linux tests first" >&2; exit 1; }

# Wine in a prefix of its own, quiet, without a display, with its ALSA driver. A persistent
# wineserver keeps Wine's background processes from holding the test runner's output open.
export WINEPREFIX WINEDEBUG=-all
WINEPREFIX=$(mktemp -d)
unset DISPLAY WAYLAND_DISPLAY
trap 'wineserver -k 2>/dev/null; rm -rf "$WINEPREFIX"' EXIT
wineserver -p
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /d alsa /f >/dev/null 2>&1

for arch in i686 x86_64; do
    echo "== Windows, $arch"
    cmake -S . -B "build-windows-$arch" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
        -DMINGW_ARCH="$arch" -DCMAKE_BUILD_TYPE=Release -DSONG_WARNINGS_AS_ERRORS=ON \
        -DHOST_SONG_SAMPLES="$host_song_samples" >/dev/null
    cmake --build "build-windows-$arch" --parallel "$(nproc)"
    file "build-windows-$arch/player/square-song.exe"
    ctest --test-dir "build-windows-$arch" --output-on-failure --parallel "$(nproc)"
done
echo "Windows builds and tests took $((SECONDS - started)) s"
