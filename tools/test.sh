#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors, and runs the whole suite:
# the Linux build's tests, then the Windows builds' tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh --test
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DSONG_WARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build --parallel "$(nproc)"
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
bash tools/test-windows.sh
