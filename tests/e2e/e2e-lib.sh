#!/usr/bin/env bash
# The machinery of the end-to-end runs, sourced by run-e2e.sh (the evaluation program) and
# run-kurs-e2e.sh (the course window): a work folder removed at the end, a private X server
# (Xvfb) with a small window manager (openbox), the program started as a user starts it,
# and bounded waits for its windows by their titles. Only xdotool key and mouse events
# drive it.
#
# Set before sourcing: program (the program's path), helper (e2e_helper's path).
# E2E_WAIT (seconds, default 20) bounds every wait; E2E_KEEP=1 keeps the work folder.
wait_limit=${E2E_WAIT:-20}

work=$(mktemp -d "${TMPDIR:-/tmp}/quendral-e2e-XXXXXX")
answers=$work/answers   # the folder of the answer files
mkdir -p "$answers" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR=$work/runtime

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

# Starts the program in folder $1 (default: the answer files' folder) with the further
# arguments.
start_program() {
  local folder=${1:-$answers}
  [ $# -gt 0 ] && shift
  begin 'program start'
  # Started from a folder, as from a desktop; the file dialog keeps its history in the
  # configuration folder, which must not be the user's. Signals have their default actions
  # in the program, as when a desktop starts it.
  (cd "$folder" && trap - XFSZ PIPE && { [ -z "$file_size_limit" ] || ulimit -f "$file_size_limit"; } \
    && exec env -u QT_QPA_PLATFORM XDG_CONFIG_HOME="$work/config" \
    XDG_RUNTIME_DIR="$work/runtime" "$program" "$@") >"$work/program.log" 2>&1 &
  app_pid=$!
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


# The tools every run needs, the program and the helper.
check_tools() {
  local tool
  for tool in Xvfb openbox xdotool xwininfo xprop "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is missing (scripts/install-deps.sh installs it)"
  done
  [ -x "$program" ] || fail "no program at $program"
  [ -x "$helper" ] || fail "no helper at $helper"
}
