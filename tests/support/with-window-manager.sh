#!/usr/bin/env bash
# Runs a command on the current X display with a small window manager, so that windows get
# frames, captions and the input focus as on a desktop.
set -u
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
# Wait until the window manager has taken the screen.
for _ in $(seq 1 100); do
  xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
  sleep 0.05
done
"$@"
status=$?
kill "$wm" 2>/dev/null
wait "$wm" 2>/dev/null
exit $status
