#!/usr/bin/env bash
# The course window, started as a trainer starts it, on a private X server (Xvfb) with a
# small window manager (openbox), driven only by keyboard events from xdotool: started with
# a course folder, the course report saved with Ctrl+P (the same text as quendral-batch
# --pdf gives), a participant's review window opened with Enter and closed again, the end
# with Ctrl+Q; the folder is as it was, byte for byte.
#
# Usage: run-kurs-e2e.sh PROGRAM BATCH HELPER
# BATCH is quendral-batch, HELPER e2e_helper (the course's answer files).
# E2E_WAIT (seconds, default 20) bounds every wait; E2E_KEEP=1 keeps the work folder.
set -uo pipefail

program=$(realpath -m "${1:?program}") batch=$(realpath -m "${2:?quendral-batch}")
helper=$(realpath -m "${3:?helper}")
source "$(dirname "$0")/e2e-lib.sh"

# A folder name with a blank, as trainers name them.
answers="$work/Kurs Montag"
mkdir -p "$answers"
caption='Quendral Kursauswertung – Kurs Montag'

# Waits until the program shows a popup menu: a window of its own that the window manager
# does not frame (override-redirect).
wait_popup_menu() {
  local until id
  until=$(deadline)
  while :; do
    for id in $(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null); do
      xwininfo -id "$id" 2>/dev/null | grep -q 'Override Redirect State: yes' && return 0
    done
    deadline_passed "$until" && fail "no popup menu within ${wait_limit}s"
    sleep 0.05
  done
}

# Waits until the file $1 is there and begins like a PDF.
wait_pdf() {
  local until
  until=$(deadline)
  until [ "$(head -c 5 "$1" 2>/dev/null)" = '%PDF-' ]; do
    deadline_passed "$until" && fail "no PDF $1 within ${wait_limit}s"
    sleep 0.05
  done
}

folder_sums() { (cd "$answers" && sha256sum -- * | sort); }

check_tools pdftotext sha256sum
"$helper" course "$answers" 24 || fail "cannot write the course"
folder_sums >"$work/folder.before"
start_display

start_program "$work" "$answers"
begin 'course window with the course loaded'
wait_active "$caption"
log_outer_size "$window"

begin 'course report: Ctrl+P'
xdotool key ctrl+p
wait_active 'Kursbericht als PDF speichern'
xdotool key ctrl+a
xdotool type --delay 10 "$work/Kursbericht.pdf"
xdotool key Return
wait_pdf "$work/Kursbericht.pdf"
wait_active "$caption"

begin 'course report against quendral-batch --pdf'
"$batch" -o /dev/null --pdf "$work/batch.pdf" "$answers" 2>"$work/batch.log" \
  || fail "quendral-batch failed: $(cat "$work/batch.log")"
pdftotext -layout "$work/Kursbericht.pdf" "$work/window.txt" \
  && pdftotext -layout "$work/batch.pdf" "$work/batch.txt" || fail "pdftotext failed"
if ! cmp -s "$work/window.txt" "$work/batch.txt"; then
  diff "$work/batch.txt" "$work/window.txt" | head -n 20 >&2
  fail "the window's course report differs from quendral-batch's in its text"
fi

# The participants' table has the focus; Ctrl+Home takes the first row, Quendral.dat, who
# worked blocks 1, 2 and 4; Enter offers them, the first chosen.
begin 'review window of the first participant: Enter'
xdotool key ctrl+Home Return
wait_popup_menu
xdotool key Return
review='Wiederholungsfragen zu Kapitel 1: Über- und Einblick'
wait_active "$review"
log_outer_size "$window"
# "S&chließen" is the window's default button.
xdotool key Return
wait_gone "$window" "$review"

begin 'course window after the review window'
wait_active "$caption"
xdotool key ctrl+q
begin 'program end'
wait_exit

begin 'files'
folder_sums >"$work/folder.after"
cmp -s "$work/folder.before" "$work/folder.after" || fail "the course folder has changed"
echo "PASS kurs in $(elapsed_since "$started")s"
