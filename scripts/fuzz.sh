#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and the sanitizers into
# build-fuzz/ (or $FUZZ_BUILD_DIR) and runs each one for a fixed time
# (FUZZ_SECONDS, default 20) on its seed corpus. A crash fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${FUZZ_BUILD_DIR:-build-fuzz}
seconds=${FUZZ_SECONDS:-20}
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DMIREL_FUZZ=ON -DMIREL_SANITIZE=ON \
  -DMIREL_TESTS=OFF -DMIREL_BENCH=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
targets=(archive_reader_fuzz ini_reader_fuzz remote_name_fuzz text_import_fuzz format_text_fuzz)
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"
export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1
for t in "${targets[@]}"; do
  corpus=$(mktemp -d)
  seeds=fuzz/corpus/${t%_fuzz}
  [ -d "$seeds" ] && cp -r "$seeds"/. "$corpus"/
  echo "fuzzing $t for ${seconds}s"
  "$build/fuzz/$t" -max_total_time="$seconds" -max_len=65536 -print_final_stats=0 "$corpus" 2>"$corpus.log" \
    || { tail -40 "$corpus.log"; rm -rf "$corpus" "$corpus.log"; exit 1; }
  tail -1 "$corpus.log"
  rm -rf "$corpus" "$corpus.log"
done
