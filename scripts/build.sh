#!/usr/bin/env bash
# Configures and builds the project into build/ (or $BUILD_DIR).
# Extra arguments go to the CMake configure step, e.g. -DMIREL_SANITIZE=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja "$@"
cmake --build "$build" -j "$(nproc)"
