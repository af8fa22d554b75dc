#!/usr/bin/env bash
# Installs what is needed, builds the program and starts it: the main window
# with the bundled sample document when a display is available; otherwise
# the sample is converted to PDF headless and the file is printed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh -DMIREL_TESTS=OFF -DMIREL_BENCH=OFF
if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
  exec build/src/app/lanzhou samples/welcome.qwd
fi
out=${TMPDIR:-/tmp}/lanzhou-sample
mkdir -p "$out"
QT_QPA_PLATFORM=offscreen build/src/app/lanzhou --convert-to pdf --outdir "$out" samples/welcome.qwd
echo "No display: converted samples/welcome.qwd to $out/welcome.pdf"
