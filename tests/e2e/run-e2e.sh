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
source "$(dirname "$0")/e2e-lib.sh"
answer_file=$answers/Quendral.dat   # the answers folder is the program's working directory

# In the open dialog: the file name field has the focus with "Quendral.dat" in it.
choose_answer_file() {
  begin 'open dialog'
  wait_active 'Öffnen'
  xdotool key ctrl+a
  xdotool type --delay 10 "$answer_file"
  xdotool key Return
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

check_tools iconv

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
