#!/usr/bin/env bash
# The real program, started as a user starts it, on a private X server (Xvfb) with a small
# window manager (openbox), driven only by keyboard and mouse events from xdotool.
#
# Usage: run-e2e.sh SCENARIO PROGRAM HELPER
#   full        a participant who worked blocks 1, 2 and 4: open the file, answer "&Ja",
#               "&Einzelauswertung", review the three blocks, close the menu, "S&chließen";
#               then the report byte for byte, the picture and exit code 0
#   cancel      the open dialog is cancelled: the program ends at once, exit code 0
#   short-file  a 394-byte answer file: the message box, then the end, exit code 0
#   named-pipe  the answer file is a named pipe nobody writes to: the same message at once
#   size-limit  the picture cannot be written within the file size limit (ulimit -f): the
#               error box, the window stays open with the earlier picture intact, and
#               Enter on the focused "S&chließen" tries again
# HELPER is e2e_helper (answer file, expected report, JPEG and screen measurements).
# E2E_WAIT (seconds, default 20) bounds every wait; E2E_KEEP=1 keeps the work folder.
set -uo pipefail

scenario=${1:?scenario} program=$(realpath -m "${2:?program}") helper=$(realpath -m "${3:?helper}")
wait_limit=${E2E_WAIT:-20}

work=$(mktemp -d "${TMPDIR:-/tmp}/quendral-e2e-XXXXXX")
answers=$work/answers   # the participant's folder: the program's working directory
mkdir -p "$answers" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime
answer_file=$answers/Quendral.dat

xvfb_pid='' wm_pid='' app_pid=''
step='start'

cleanup() {
  local pid
  for pid in $app_pid $wm_pid $xvfb_pid; do
    kill "$pid" 2>/dev/null
  done
  for pid in $app_pid $wm_pid $xvfb_pid; do
    wait "$pid" 2>/dev/null
  done
  if [ -n "${E2E_KEEP:-}" ]; then
    echo "work folder kept: $work"
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT
trap 'exit 143' TERM
trap 'exit 130' INT

now() { date +%s.%N; }
elapsed_since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.1f", b - a }'; }
started=$(now)

# Names the step that follows, for the log and for a failure message.
begin() {
  step=$1
  printf '[%5ss] %s\n' "$(elapsed_since "$started")" "$step"
}

window_list() {
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    printf '    %s "%s"\n' "$id" "$(xdotool getwindowname "$id" 2>/dev/null)"
  done
}

fail() {
  echo "FAIL in step '$step': $*" >&2
  if [ -n "${DISPLAY:-}" ] && [ -n "$xvfb_pid" ]; then
    echo "  visible windows:" >&2
    window_list >&2
    echo "  active window: \"$(xdotool getactivewindow getwindowname 2>/dev/null)\"" >&2
  fi
  if [ -s "$work/program.log" ]; then
    echo "  program output:" >&2
    tail -n 20 "$work/program.log" | sed 's/^/    /' >&2
  fi
  exit 1
}

# The program has ended (it stays a zombie until it is waited for).
program_ended() {
  local state
  state=$(awk '/^State:/ { print $2 }' "/proc/$app_pid/status" 2>/dev/null) || return 0
  [ -z "$state" ] || [ "$state" = Z ]
}

deadline_passed() { awk -v d="$1" -v n="$(now)" 'BEGIN { exit !(n > d) }'; }
deadline() { awk -v n="$(now)" -v s="$wait_limit" 'BEGIN { printf "%.3f", n + s }'; }

# Window id of the visible window whose title is exactly $1.
find_window() {
  local id
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    if [ "$(xdotool getwindowname "$id" 2>/dev/null)" = "$1" ]; then
      echo "$id"
      return 0
    fi
  done
  return 1
}

# Waits until the window titled exactly $1 is shown and has the input focus; sets $window
# to its id.
window=''
wait_active() {
  local title=$1 until id
  until=$(deadline)
  while :; do
    if [ -n "$app_pid" ] && program_ended; then
      wait "$app_pid"
      local code=$?
      app_pid=''
      fail "the program ended (exit code $code) while \"$title\" was awaited"
    fi
    if id=$(find_window "$title") \
        && [ "$(xdotool getactivewindow 2>/dev/null)" = "$id" ]; then
      window=$id
      return 0
    fi
    deadline_passed "$until" && fail "no focused window \"$title\" within ${wait_limit}s"
    sleep 0.05
  done
}

# Waits until window $1 is no longer shown.
wait_gone() {
  local until
  until=$(deadline)
  while xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; do
    deadline_passed "$until" && fail "window $1 (\"$2\") still shown after ${wait_limit}s"
    sleep 0.05
  done
}

# Waits for the program's end and checks its exit code is 0.
wait_exit() {
  local until code
  until=$(deadline)
  until program_ended; do
    deadline_passed "$until" && fail "the program has not ended within ${wait_limit}s"
    sleep 0.05
  done
  wait "$app_pid"
  code=$?
  app_pid=''
  [ "$code" -eq 0 ] || fail "the program ended with exit code $code, not 0"
}

# The folder holds exactly the given file names.
expect_folder() {
  local found
  found=$(cd "$answers" && ls -A | sort | tr '\n' ' ')
  [ "$found" = "$* " ] || fail "the folder holds: ${found:-nothing}; expected: $*"
}

start_display() {
  begin 'X server'
  # The first display number that is free: Xvfb takes its lock file or gives up at once.
  # -noreset keeps the server as it is when a client (such as xprop below) disconnects.
  local number until
  for number in $(seq 60 160); do
    [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -noreset -nolisten tcp -screen 0 1280x1024x24 >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$number"
    until=$(deadline)
    until xprop -root >/dev/null 2>&1; do
      kill -0 "$xvfb_pid" 2>/dev/null || break
      deadline_passed "$until" && fail "Xvfb on $DISPLAY accepts no client within ${wait_limit}s"
      sleep 0.05
    done
    xprop -root >/dev/null 2>&1 && kill -0 "$xvfb_pid" 2>/dev/null && break
    wait "$xvfb_pid" 2>/dev/null
    xvfb_pid=''
  done
  [ -n "$xvfb_pid" ] || fail "no free display for Xvfb: $(cat "$work/xvfb.log")"

  begin 'window manager'
  # Its own configuration folder keeps a user's openbox settings out of the test.
  XDG_CONFIG_HOME=$work/config openbox --sm-disable >"$work/openbox.log" 2>&1 &
  wm_pid=$!
  until=$(deadline)
  until xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    kill -0 "$wm_pid" 2>/dev/null || fail "openbox did not start: $(cat "$work/openbox.log")"
    deadline_passed "$until" && fail "openbox did not take the screen within ${wait_limit}s"
    sleep 0.05
  done
}

# A file size limit for the program in blocks of 1 KiB (ulimit -f); empty: none.
file_size_limit=''

start_program() {
  begin 'program start'
  # Started from the participant's folder, as from a desktop; the file dialog keeps its
  # history in the configuration folder, which must not be the user's. Signals have their
  # default actions in the program, as when a desktop starts it.
  (cd "$answers" && trap - XFSZ PIPE && { [ -z "$file_size_limit" ] || ulimit -f "$file_size_limit"; } \
    && exec env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" \
    XDG_RUNTIME_DIR="$work/runtime" "$program") >"$work/program.log" 2>&1 &
  app_pid=$!
}

# In the open dialog: the file name field has the focus with "Quendral.dat" in it.
choose_answer_file() {
  begin 'open dialog'
  wait_active 'Öffnen'
  xdotool key ctrl+a
  xdotool type --delay 10 "$answer_file"
  xdotool key Return
}

# Outer rectangle (frame included) of window $1, into outer_x, outer_y, outer_w, outer_h.
outer_rectangle() {
  local info x y w h extents l r t b
  info=$(xwininfo -id "$1") || fail "no geometry for window $1"
  x=$(awk '/Absolute upper-left X:/ { print $NF }' <<<"$info")
  y=$(awk '/Absolute upper-left Y:/ { print $NF }' <<<"$info")
  w=$(awk '/^ *Width:/ { print $NF }' <<<"$info")
  h=$(awk '/^ *Height:/ { print $NF }' <<<"$info")
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
  [ -n "$extents" ] || fail "window $1 has no frame from the window manager"
  IFS=, read -r l r t b <<<"$extents"
  outer_x=$((x - l)) outer_y=$((y - t)) outer_w=$((w + l + r)) outer_h=$((h + t + b))
}

# Notes window $1's outer size in the log (for a reader of a failed run).
log_outer_size() {
  outer_rectangle "$1"
  printf '         outer size %sx%s at %s,%s\n' "$outer_w" "$outer_h" "$outer_x" "$outer_y"
}

# Clicks the middle of a control at (left, top, width, height) in window $1's client area.
click_control() {
  local info x y
  info=$(xwininfo -id "$1") || fail "no geometry for window $1"
  x=$(awk '/Absolute upper-left X:/ { print $NF }' <<<"$info")
  y=$(awk '/Absolute upper-left Y:/ { print $NF }' <<<"$info")
  xdotool mousemove --sync $((x + $2 + $4 / 2)) $((y + $3 + $5 / 2)) click 1
}

# The review window titled $1, just opened from the menu by a key or a click: waits for it,
# closes it with Enter and waits for the menu to have the focus again.
review_block() {
  local title=$1
  begin "review window \"$title\""
  wait_active "$title"
  log_outer_size "$window"
  xdotool key Return
  wait_gone "$window" "$title"
  begin "block menu after \"$title\""
  wait_active 'Quendral Einzelauswertung Tarvik'
}

scenario_full() {
  "$helper" answer-file "$answer_file" || fail "cannot write the answer file"
  cp "$answer_file" "$work/answer-file.orig"
  "$helper" expected-report "$work/expected-report.txt" || fail "cannot form the expected report"

  start_program
  choose_answer_file

  begin 'picture question'
  wait_active 'Bestätigung'
  xdotool key Return   # "&Ja" is the default button

  begin 'overall window'
  wait_active 'Quendral Tarvik: Auswertung'
  xdotool key alt+e    # "&Einzelauswertung"

  begin 'report message'
  wait_active 'Quendral Tarvik'
  xdotool key Return

  begin 'block menu'
  wait_active 'Quendral Einzelauswertung Tarvik'
  local menu=$window
  log_outer_size "$menu"
  # "S&chließen" has the focus; Tab leads to block 1's button.
  xdotool key Tab Return
  review_block 'Wiederholungsfragen zu Kapitel 1: Über- und Einblick'
  # The focus has moved on to block 2's button.
  xdotool key Return
  review_block 'Wiederholungsfragen zu Kapitel 2: Projektstart'
  # Block 3 is greyed, so the focus stays on block 2. A click on the greyed button opens
  # nothing (else the click on block 4 would meet a review window of block 3).
  begin 'block menu: clicks on blocks 3 and 4'
  click_control "$menu" 40 120 129 33
  click_control "$menu" 40 168 129 33
  review_block 'Wiederholungsfragen zu Kapitel 4: Projektsteuerung'
  # Blocks 5 and 6 are greyed, and once block 1 has been reviewed Esc does nothing either;
  # Alt+C is the menu's "S&chließen".
  click_control "$menu" 40 216 129 33
  click_control "$menu" 40 264 129 33
  xdotool key Escape
  xdotool key alt+c
  begin 'closing the block menu'
  wait_gone "$menu" 'Quendral Einzelauswertung Tarvik'

  begin 'overall window after the menu'
  wait_active 'Quendral Tarvik: Auswertung'
  outer_rectangle "$window"
  local x=$outer_x y=$outer_y w=$outer_w h=$outer_h
  [ "$w" -eq 808 ] && [ "$h" -eq 619 ] \
    || fail "the overall window's outer size is ${w}x${h}, not 808x619"
  # The pointer leaves the window so that nothing in it is hovered; then the screen shows
  # what the picture must show.
  xdotool mousemove --sync 0 0
  "$helper" grab "$x" "$y" "$w" "$((h - 100))" "$work/screen.png" \
    || fail "cannot read the screen"
  # The focus is back on "S&chließen": Space presses it.
  xdotool key space

  begin 'program end'
  wait_exit

  begin 'report'
  local report=$answers/Quendral-Detail.txt
  [ -f "$report" ] || fail "no report $report"
  if ! cmp -s "$work/expected-report.txt" "$report"; then
    echo "the report differs (< expected, > written; shown in UTF-8, CR as \\r):" >&2
    diff <(iconv -f WINDOWS-1252 -t UTF-8 "$work/expected-report.txt" | sed 's/\r$/\\r/') \
      <(iconv -f WINDOWS-1252 -t UTF-8 "$report" | sed 's/\r$/\\r/') | head -n 40 >&2
    fail "the report is not byte for byte as expected"
  fi

  begin 'picture'
  local picture=$answers/Quendral.jpg size difference
  [ -f "$picture" ] || fail "no picture $picture"
  size=$("$helper" jpeg-size "$picture") || fail "the picture is no baseline colour JPEG"
  [ "$size" = "${w}x$((h - 100))" ] \
    || fail "the picture is $size, not the window's outer width x outer height - 100 (${w}x$((h - 100)))"
  difference=$("$helper" compare "$picture" "$work/screen.png") \
    || fail "the picture does not show the window's top as on the screen (mean difference ${difference:-?})"
  echo "         ${size}, mean difference to the screen ${difference}"

  begin 'files'
  cmp -s "$work/answer-file.orig" "$answer_file" || fail "the answer file has changed"
  expect_folder Quendral-Detail.txt Quendral.dat Quendral.jpg
}

scenario_cancel() {
  "$helper" answer-file "$answer_file" || fail "cannot write the answer file"
  start_program
  begin 'open dialog'
  wait_active 'Öffnen'
  xdotool key Escape
  begin 'program end after cancelling'
  wait_exit
  begin 'files'
  expect_folder Quendral.dat
}

# The chosen answer file cannot be loaded: only the message, then the end; the file is as
# it was.
expect_load_refused() {
  start_program
  choose_answer_file
  begin 'message "Datei lässt sich nicht öffnen"'
  wait_active 'Quendral Tarvik'
  xdotool key Return
  begin 'program end after the message'
  wait_exit
  begin 'files'
  expect_folder Quendral.dat
}

scenario_short_file() {
  "$helper" answer-file "$answer_file" 394 || fail "cannot write the answer file"
  cp "$answer_file" "$work/answer-file.orig"
  expect_load_refused
  cmp -s "$work/answer-file.orig" "$answer_file" || fail "the answer file has changed"
}

scenario_named_pipe() {
  mkfifo "$answer_file" || fail "cannot make the named pipe"
  expect_load_refused
  [ -p "$answer_file" ] || fail "the named pipe is gone"
}

scenario_size_limit() {
  "$helper" answer-file "$answer_file" || fail "cannot write the answer file"
  cp "$answer_file" "$work/answer-file.orig"
  printf 'die vorige Grafik' >"$answers/Quendral.jpg"
  cp "$answers/Quendral.jpg" "$work/picture.orig"
  # The picture of the window needs some ten KiB and more.
  file_size_limit=4
  start_program
  choose_answer_file

  begin 'picture question'
  wait_active 'Bestätigung'
  xdotool key Return   # "&Ja"

  begin 'overall window'
  wait_active 'Quendral Tarvik: Auswertung'
  local overall=$window
  # "S&chließen" has the focus at start; Enter presses it.
  xdotool key Return

  begin 'error box for the picture'
  wait_active 'Quendral Tarvik'
  xdotool key Return

  begin 'overall window still open'
  wait_active 'Quendral Tarvik: Auswertung'
  [ "$window" = "$overall" ] || fail "another overall window came up"
  cmp -s "$work/picture.orig" "$answers/Quendral.jpg" || fail "the earlier picture has changed"
  expect_folder Quendral.dat Quendral.jpg

  begin 'closing by the frame'
  xdotool key alt+F4
  wait_exit

  begin 'files'
  cmp -s "$work/answer-file.orig" "$answer_file" || fail "the answer file has changed"
  cmp -s "$work/picture.orig" "$answers/Quendral.jpg" || fail "the earlier picture has changed"
  expect_folder Quendral.dat Quendral.jpg
}

for tool in Xvfb openbox xdotool xwininfo xprop iconv; do
  command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
done
[ -x "$program" ] || fail "no program at $program"
[ -x "$helper" ] || fail "no helper at $helper"

start_display
case $scenario in
  full) scenario_full ;;
  cancel) scenario_cancel ;;
  short-file) scenario_short_file ;;
  named-pipe) scenario_named_pipe ;;
  size-limit) scenario_size_limit ;;
  *) fail "unknown scenario $scenario" ;;
esac
echo "PASS $scenario in $(elapsed_since "$started")s"
