#!/usr/bin/env bash
# End-to-end run of the real morv on a private X display: a renamed model outlives SIGKILL, SIGTERM and SIGHUP and is offered back at the next start.
#
# Usage: recovery_after_kill_test.sh PATH_TO_MORV
#
# The program is driven the way a user drives it: real windows under a real window manager, real
# key strokes and clicks. The texts of its message boxes are read by selecting them with a triple
# click and copying them with Ctrl+C, as a user would to paste them into a bug report.
set -euo pipefail

morv=${1:?usage: $0 PATH_TO_MORV}
name=Rescued
# The names of the runs that a logout (SIGTERM) and a closed terminal (SIGHUP) end.
term_name=Termed
hup_name=Hungup
main_title="Morv! 5 - Bézier Modeller"
box_title="Morv! 5"

work=$(mktemp -d)
# The picture of a failed run goes where ctest runs the test, inside the build folder; one of an
# earlier run would mislead.
shot="$PWD/recovery_after_kill_failure.png"
rm -f "$shot"
xvfb_pid='' openbox_pid='' morv_pid=''

step() { echo "== $*"; }

# Stops a child of this script: politely first, as a user's session would.
stop() {
  local pid=$1 _
  [ -n "$pid" ] || return 0
  kill -TERM "$pid" 2>/dev/null || return 0
  for _ in $(seq 50); do
    exited "$pid" && break
    sleep 0.1
  done
  kill -KILL "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
}

cleanup() {
  trap - ERR
  stop "$morv_pid"
  stop "$openbox_pid"
  stop "$xvfb_pid"
  rm -rf "$work"
}
trap cleanup EXIT
# A test stopped from outside still takes its X server and programs with it.
trap "exit 143" TERM INT HUP

fail() {
  trap - ERR
  echo "FAIL: $*" >&2
  if [ -n "${DISPLAY:-}" ]; then
    echo "-- windows:" >&2
    wmctrl -l >&2 || true
    if command -v import >/dev/null; then
      import -window root "$shot" 2>/dev/null && echo "-- screen: $shot" >&2
    fi
  fi
  if [ -s "$work/morv.log" ]; then
    echo "-- morv's output:" >&2
    cat "$work/morv.log" >&2
  fi
  exit 1
}
trap 'fail "unexpected error at line $LINENO: $BASH_COMMAND"' ERR

# Polls until the command succeeds or the seconds are up: the sanitizer builds start much slower,
# and a fixed pause long enough for them would make every other run slow.
wait_until() {
  local end=$((SECONDS + $1))
  shift
  until "$@"; do
    [ "$SECONDS" -lt "$end" ] || return 1
    sleep 0.2
  done
}

# True once the process has ended; a child that has ended stays a zombie until it is waited for,
# and kill -0 still finds a zombie.
exited() {
  local state
  state=$(ps -o stat= -p "$1" 2>/dev/null) || return 0
  [[ $state == Z* ]]
}

# The id of the top-level window whose title is exactly the one given, as the window manager
# lists it.
window_titled() {
  wmctrl -l | awk -v title="$1" '{ id = $1; $1 = $2 = $3 = ""; sub(/^ +/, ""); if ($0 == title) print id }'
}
has_window() { [ -n "$(window_titled "$1")" ]; }
no_window() { [ -z "$(window_titled "$1")" ]; }

# A run that ends by itself fails at once instead of when the wait is up.
running_and() {
  ! exited "$morv_pid" || fail "morv ended by itself"
  "$@"
}

start_morv() {
  "$morv" >>"$work/morv.log" 2>&1 &
  morv_pid=$!
  wait_until 60 running_and has_window "$main_title" || fail "morv's main window did not appear"
  main=$(window_titled "$main_title")
}

# Waits for morv's message box and keeps its id in `box`.
await_box() {
  wait_until 30 running_and has_window "$box_title" ||
    fail "no message box titled \"$box_title\" appeared ($1)"
  box=$(window_titled "$box_title")
}

clipboard_is() { [ "$(timeout 5 xclip -o -selection clipboard 2>/dev/null)" = "$1" ]; }

# Copies the text of the message box and compares it with the one expected. The click lands on the
# box's text beside its icon, well above the buttons; the text starts a little lower when it fits on
# one line, so a few heights are tried.
check_box_text() {
  local box=$1 expected=$2 y
  timeout 10 xdotool windowactivate --sync "$box" || fail "the message box could not be made active"
  for y in 20 14 28; do
    xdotool mousemove --window "$box" 100 "$y" click --repeat 3 --delay 60 1
    xdotool key ctrl+c
    if wait_until 5 clipboard_is "$expected"; then return 0; fi
  done
  fail "the message box says \"$(timeout 5 xclip -o -selection clipboard 2>/dev/null || true)\"," \
    "expected \"$expected\""
}

recovery_files() { compgen -G "$recovery/*.MVD" || true; }
# The one recovery file, once it holds the model under the name given, or the first run's.
recovery_holds_name() {
  local files
  files=$(recovery_files)
  [ -n "$files" ] && [ "$(wc -l <<<"$files")" -eq 1 ] &&
    [ "$(head -n 1 "$files" | tr -d '\r')" = "${1:-$name}" ]
}
no_locks() { [ -z "$(compgen -G "$recovery/*.lock" || true)" ]; }

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# Types a new name over the model's, and waits until the 3D display's caption shows it.
rename_model() {
  timeout 10 xdotool windowactivate --sync "$main" || fail "the main window could not be made active"
  xdotool mousemove --window "$main" 260 74 click 1
  xdotool key ctrl+a
  xdotool type --delay 30 "$1"
  wait_until 30 running_and has_window "3D Display - $1" ||
    fail "the name typed into the main window did not become the model's name"
}

# Sends the signal to morv at once after an edit and checks that the edit was kept by the signal,
# not by the keeper's own write some seconds after the change.
edit_then_signal() {
  local new_name=$1 signal=$2 began elapsed
  began=$(now_ms)
  rename_model "$new_name"
  elapsed=$(($(now_ms) - began))
  if [ "$(head -n 1 "$(recovery_files | head -n 1)" 2>/dev/null | tr -d '\r')" = "$new_name" ]; then
    # Only a machine too slow to type for seconds lets the keeper's own write come first.
    [ "$elapsed" -ge 4000 ] ||
      fail "the edit reached the recovery file within $elapsed ms, long before its delay"
    echo "   (typing took $elapsed ms: the keeper wrote the edit before the signal came)"
  fi
  kill "-$signal" "$morv_pid"
}

# Waits for morv to end, which it must do with status 0.
wait_for_exit() {
  local status=0
  wait_until 60 exited "$morv_pid" || fail "morv did not end ($1)"
  wait "$morv_pid" || status=$?
  morv_pid=
  [ "$status" -eq 0 ] || fail "morv ended with status $status ($1)"
}

step "checking the tools"
for tool in Xvfb openbox xdotool wmctrl xclip flock; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps installs it)"
done
[ -x "$morv" ] || fail "no program at $morv"

step "starting Xvfb and openbox"
# Runs started together must not meet on one display. Xvfb's own choice of a free display races
# with another Xvfb choosing at the same moment, so a number is tried and taken only once the lock
# of that display names this Xvfb and the display answers; a taken number makes Xvfb give up.
x_ready() {
  [ "$(tr -d ' \n' 2>/dev/null <"/tmp/.X$1-lock")" = "$xvfb_pid" ] &&
    DISPLAY=":$1" xdotool getdisplaygeometry >/dev/null 2>&1
}
x_ready_or_gone() { exited "$xvfb_pid" || x_ready "$1"; }
# A display may still refuse a client that arrives just after it answered the first one (seen
# when several runs start together), so Xvfb and openbox start again together on another number.
start_display() {
  local _
  for _ in $(seq 20); do
    display=$((display + 1))
    Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    if wait_until 30 x_ready_or_gone "$display" && x_ready "$display"; then return 0; fi
    stop "$xvfb_pid"
    xvfb_pid=''
  done
  cat "$work/xvfb.log" >&2
  fail "Xvfb did not start"
}
display=$((RANDOM % 500 + 100))
for attempt in $(seq 5); do
  start_display
  export DISPLAY=":$display"
  echo "   display $DISPLAY"
  openbox --sm-disable >"$work/openbox.log" 2>&1 &
  openbox_pid=$!
  if wait_until 30 bash -c 'wmctrl -m 2>/dev/null | grep -q "^Name: Openbox"'; then break; fi
  cat "$work/openbox.log" >&2
  stop "$openbox_pid"
  stop "$xvfb_pid"
  openbox_pid='' xvfb_pid=''
  unset DISPLAY
  [ "$attempt" -lt 5 ] || fail "openbox did not start"
done

# A fresh user: nothing of the one running the tests is read or left behind. The bus address names
# no bus, so that nothing starts a session bus that would outlive the test.
mkdir -m 0700 "$work/home" "$work/state" "$work/runtime"
export HOME="$work/home" XDG_STATE_HOME="$work/state" XDG_RUNTIME_DIR="$work/runtime"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus" QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY XAUTHORITY SESSION_MANAGER XDG_CONFIG_HOME XDG_CACHE_HOME XDG_DATA_HOME
unset QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE XDG_CURRENT_DESKTOP XDG_SESSION_TYPE
recovery="$XDG_STATE_HOME/morv/recovery"

step "first run: renaming the model"
start_morv
[ -z "$(recovery_files)" ] || fail "a recovery file exists before the model was changed"
rename_model "$name"

step "waiting for the recovery file"
wait_until 30 running_and recovery_holds_name ||
  fail "no recovery file with the name \"$name\" on its first line appeared in $recovery ($(recovery_files))"
file=$(recovery_files)

step "killing morv"
status=0
# Quietly: the shell would report the kill as if it were a fault.
{
  kill -KILL "$morv_pid"
  wait "$morv_pid"
} 2>/dev/null || status=$?
morv_pid=
[ "$status" -eq 137 ] || fail "morv ended with status $status instead of being killed"
[ -f "$file" ] || fail "the recovery file went with the killed run"
[ -f "$file.lock" ] || fail "the lock of the recovery file went with the killed run"
# The lock went with the process; a lock still held would hide the file from the next run.
flock -n "$file.lock" true || fail "the lock of the killed run is still held"
written=$(date -r "$file" +%H:%M)

step "second run: the recovery question"
start_morv
await_box "at the start after the kill"
check_box_text "$box" "Morv! 5 was not closed properly. Recover the model \"$name\" as it was at $written?"
xdotool key Return
wait_until 30 no_window "$box_title" || fail "the recovery question did not go on Return"
wait_until 30 has_window "3D Display - $name" || fail "the recovered model is not the working one"
[ -f "$file" ] || fail "the recovery file went although its model is the working one"
! flock -n "$file.lock" true || fail "the recovered run does not hold the recovery file it took over"

step "second run: the recovered model is changed"
wmctrl -i -c "$main"
await_box "on closing the recovered model"
check_box_text "$box" "The model \"$name\" has changes that are not saved. Save them before closing?"
xdotool key Escape
wait_until 30 no_window "$box_title" || fail "the close question did not go on Escape"
! exited "$morv_pid" || fail "morv ended although closing was cancelled"
has_window "$main_title" || fail "the main window went although closing was cancelled"

step "second run: closing without saving"
wmctrl -i -c "$main"
await_box "on closing again"
xdotool key alt+d
wait_for_exit "after Discard"
[ -z "$(recovery_files)" ] || fail "recovery files are left after a normal end: $(recovery_files)"
no_locks || fail "locks are left after a normal end"

step "third run: nothing to recover"
start_morv
# The question would come as soon as the windows are shown.
! wait_until 3 has_window "$box_title" || fail "morv asks something at a start after a normal end"
wmctrl -i -c "$main"
wait_for_exit "closing an unchanged model, which asks nothing"

# A logout or a shutdown sends SIGTERM and a closed terminal SIGHUP; nobody is there to answer, so
# morv asks nothing, keeps the changes at once and ends with status 0.
step "fourth run: SIGTERM at once after an edit"
start_morv
edit_then_signal "$term_name" TERM
wait_for_exit "after SIGTERM with unsaved changes"
recovery_holds_name "$term_name" ||
  fail "the edit made just before SIGTERM is not in one recovery file ($(recovery_files))"
file=$(recovery_files)
[ -f "$file.lock" ] || fail "the lock of the recovery file went with the stopped run"
flock -n "$file.lock" true || fail "the lock of the stopped run is still held"
written=$(date -r "$file" +%H:%M)

step "fifth run: SIGHUP while the recovery question is open"
start_morv
await_box "at the start after SIGTERM"
check_box_text "$box" "Morv! 5 was not closed properly. Recover the model \"$term_name\" as it was at $written?"
kill -HUP "$morv_pid"
wait_for_exit "after SIGHUP with the recovery question open"
[ "$(recovery_files)" = "$file" ] && recovery_holds_name "$term_name" ||
  fail "the recovery file that was offered did not stay as it was ($(recovery_files))"
flock -n "$file.lock" true || fail "the lock of the run ended by SIGHUP is still held"

step "sixth run: the work recovered and changed, then SIGHUP"
start_morv
await_box "at the start after SIGHUP"
xdotool key Return
wait_until 30 no_window "$box_title" || fail "the recovery question did not go on Return"
wait_until 30 has_window "3D Display - $term_name" || fail "the recovered model is not the working one"
edit_then_signal "$hup_name" HUP
wait_for_exit "after SIGHUP with unsaved changes"
[ "$(recovery_files)" = "$file" ] && recovery_holds_name "$hup_name" ||
  fail "the edit made just before SIGHUP is not in the recovered run's file ($(recovery_files))"
flock -n "$file.lock" true || fail "the lock of the run ended by SIGHUP is still held"
written=$(date -r "$file" +%H:%M)

step "seventh run: No to the recovery question, then SIGTERM without changes"
start_morv
await_box "at the start after SIGHUP with changes"
check_box_text "$box" "Morv! 5 was not closed properly. Recover the model \"$hup_name\" as it was at $written?"
xdotool key alt+n
wait_until 30 no_window "$box_title" || fail "the recovery question did not go on Alt+N"
[ -z "$(recovery_files)" ] || fail "No kept the recovery file: $(recovery_files)"
kill -TERM "$morv_pid"
wait_for_exit "after SIGTERM without changes"
[ -z "$(recovery_files)" ] || fail "a recovery file is left after SIGTERM without changes"
no_locks || fail "locks are left after SIGTERM without changes"

step "passed"
