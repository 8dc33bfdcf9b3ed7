#!/usr/bin/env bash
# Builds the release configuration and runs the benchmarks. First the real-screen table:
# the program and its bare-Qt peer started and clicked on a private X server (Xvfb) with a
# window manager (openbox), each figure with its peer, ratio and aim, and the same for the
# course window with a course of 10,000 answer files. Then the quick table
# on the offscreen platform. With --quick only the quick table; other arguments go to the
# real-screen benchmark, for example --cold=5 --warm=5 (pairs per block).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "${JOBS:-2}"
export LC_ALL=C.UTF-8 LANG=C.UTF-8

quick=0
args=()
for a in "$@"; do
  if [ "$a" = --quick ]; then quick=1; else args+=("$a"); fi
done

if [ "$quick" -eq 0 ]; then
  QT_QPA_PLATFORM=xcb timeout 3600 xvfb-run -a -s "-screen 0 1280x1024x24" \
    tests/support/with-window-manager.sh build/release/bench/screen_bench "${args[@]}"
  QT_QPA_PLATFORM=xcb timeout 1800 xvfb-run -a -s "-screen 0 1280x1024x24" \
    tests/support/with-window-manager.sh build/release/bench/kurs_bench
fi
QT_QPA_PLATFORM=offscreen build/release/bench/quendral_bench
