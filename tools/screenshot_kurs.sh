#!/usr/bin/env bash
# Takes the README's picture of the course window (docs/kursauswertung-fragen.png): the real
# quendral-kurs on the sample course examples/kurs, tab "Fragen" with "nur Hinweise", on a
# private X server with openbox. Run after `cmake --build --preset dev`; commit the picture.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/dev}
out=docs/kursauswertung-fragen.png

shoot() {
  "$build/src/course/quendral-kurs" examples/kurs &
  local pid=$! id=''
  for _ in $(seq 1 100); do
    id=$(xdotool search --onlyvisible --name 'Kursauswertung – kurs' 2>/dev/null) && break
    sleep 0.1
  done
  [ -n "$id" ] || { kill "$pid"; echo "no course window" >&2; return 1; }
  xdotool key alt+f alt+h
  xdotool mousemove 0 0
  sleep 1   # the mnemonic's click and the repaint
  local info x y w h l r t b
  info=$(xwininfo -id "$id")
  x=$(awk '/Absolute upper-left X:/ { print $NF }' <<<"$info")
  y=$(awk '/Absolute upper-left Y:/ { print $NF }' <<<"$info")
  w=$(awk '/^ *Width:/ { print $NF }' <<<"$info")
  h=$(awk '/^ *Height:/ { print $NF }' <<<"$info")
  IFS=, read -r l r t b <<<"$(xprop -id "$id" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')"
  "$build/tests/e2e/e2e_helper" grab $((x - l)) $((y - t)) $((w + l + r)) $((h + t + b)) "$out"
  kill "$pid"
}

if [ "${1:-}" = --inside ]; then
  build=${2:-build/dev}
  shoot
else
  mkdir -p docs
  export LC_ALL=C.UTF-8 LANG=C.UTF-8 QT_QPA_PLATFORM=xcb
  xvfb-run -a -s "-screen 0 1280x1024x24" tests/support/with-window-manager.sh \
    bash "$0" --inside "$build"
  echo "written: $out"
fi
