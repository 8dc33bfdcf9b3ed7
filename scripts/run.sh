#!/usr/bin/env bash
# Builds the program and starts it in examples/, so that the open dialog offers the sample
# answer file Quendral.dat.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --preset dev >/dev/null
cmake --build --preset dev --target QuendralAuswertung
cd examples
exec ../build/dev/src/app/QuendralAuswertung "$@"
