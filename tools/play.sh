#!/usr/bin/env bash
# Installs what is missing, builds the player (and render-song) and plays the song on the
# default sound device.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build --parallel "$(nproc)"
exec build/player/square-song
