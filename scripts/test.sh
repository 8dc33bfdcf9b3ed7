#!/usr/bin/env bash
# Builds everything and runs every test headless: offscreen widgets, Xvfb for the tests
# that need a real screen. In CI (CI set) compiler warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
preset=dev
[ -n "${CI:-}" ] && preset=ci
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" -j "${JOBS:-2}"
ctest --preset "$preset" -j "${JOBS:-2}" "$@"
