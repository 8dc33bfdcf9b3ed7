#!/usr/bin/env bash
# Builds the release configuration and runs the benchmark on the offscreen platform; the
# table of medians, floors and ratios comes last. Arguments go to the benchmark, for
# example --benchmark_filter=review/2 or --samples=5.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release
QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 LANG=C.UTF-8 build/release/bench/quendral_bench "$@"
