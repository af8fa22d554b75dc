#!/usr/bin/env bash
# Installs what is needed, builds everything and runs the whole test suite
# headless, then runs each fuzz target for a short, fixed time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
# Tests and benches on, also after the run command built without them.
bash scripts/build.sh -DMIREL_TESTS=ON -DMIREL_BENCH=ON "$@"
(cd "${BUILD_DIR:-build}" && ctest --output-on-failure --no-tests=error -j "$(nproc)" --timeout 600)
FUZZ_SECONDS=${FUZZ_SECONDS:-20} bash scripts/fuzz.sh
