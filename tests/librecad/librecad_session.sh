#!/usr/bin/env bash
# The LibreCAD command in Debian's LibreCAD, driven as a user drives it: LibreCAD runs under a
# private X server (Xvfb) with a private home whose plugin folder holds the module, and xdotool
# types into it.
#   1. The command from the Plugins menu; Enter at the base point prompt opens the mode dialog,
#      which is cancelled: nothing changes. A right-click in the drawing does the same.
#   2. Escape at the base point prompt cancels the command.
#   3. The base point 0,0 and a range typed in LibreCAD's command line, the move unit 0.5 chosen
#      in the dialog, the message box closed; the saved drawing has every hole on the grid.
#   4. LibreCAD's undo takes the whole command back; the saved drawing is as drawn.
#   5. The specific-hole mode chosen in the mode dialog; one drill picked, the whole drawing
#      searched, the review confirmed: the drills alone are corrected.
# Every step waits for the command's log lines ($TARNELL_LIBRECAD_LOG) or for a window.
#   librecad_session.sh MODULE OUT
set -euo pipefail
module=${1:?usage: librecad_session.sh MODULE OUT}
out=${2:?usage: librecad_session.sh MODULE OUT}
here=$(cd "$(dirname "$0")" && pwd)
py=/usr/bin/python3

rm -rf "$out"
home="$out/home"
mkdir -p "$home/.librecad/plugins" "$home/.config/LibreCAD" "$out/shots"
cp "$module" "$home/.librecad/plugins/"
# No first-run dialog, no splash screen, a known window.
cat >"$home/.config/LibreCAD/LibreCAD.conf" <<'EOF'
[Startup]
FirstLoad=0
ShowSplash=0
Maximize=0

[Geometry]
WindowWidth=1280
WindowHeight=960
WindowX=0
WindowY=0

[Defaults]
Unit=Millimeter
EOF
log="$out/command.log"
: >"$log"
drawing="$out/plate.dxf"
"$py" "$here/plate_drawing.py" make "$drawing"

xvfb_pid="" librecad_pid=""
stop() {
  if [ -n "$librecad_pid" ]; then
    kill "$librecad_pid" 2>/dev/null || true
    wait "$librecad_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}
trap stop EXIT

fail() {
  echo "librecad_session: $*" >&2
  import -window root "$out/shots/failure.png" 2>/dev/null || true
  echo "--- command log" >&2
  cat "$log" >&2
  exit 1
}
# wait_for SECONDS WHAT COMMAND...: until the command succeeds.
wait_for() {
  local end=$((SECONDS + $1)) what=$2
  shift 2
  until "$@" >/dev/null 2>&1; do
    ((SECONDS < end)) || fail "timed out waiting for $what"
    sleep 0.1
  done
}
lines() { grep -c -F -- "$1" "$log" || true; }
has_lines() { [ "$(lines "$1")" -ge "$2" ]; }
# wait_log TEXT COUNT: until the log holds COUNT lines with TEXT.
wait_log() { wait_for 20 "'$1' (x$2) in the log" has_lines "$1" "$2"; }
main_window() { xdotool search --name '^LibreCAD' | head -n 1; }
focus() { xdotool windowfocus --sync "$1"; }  # Xvfb runs no window manager
type_line() {  # type_line TEXT: typed into LibreCAD's command line, then Enter
  focus "$(main_window)"
  xdotool type --delay 30 -- "$1"
  xdotool key Return
}
# Starts the command from the Plugins menu (Alt+U, its first entry) and waits for its first
# prompt; a key press that came before the menu opened is retried.
start_command() {
  local before end
  before=$(lines "prompt: ")
  for _ in 1 2 3 4 5; do
    focus "$(main_window)"
    xdotool key alt+u
    xdotool key Return
    end=$((SECONDS + 4))
    while ((SECONDS < end)); do
      has_lines "prompt: " $((before + 1)) && return 0
      sleep 0.1
    done
    xdotool key Escape
  done
  fail "the command did not start from the Plugins menu"
}
# dialog_action TEXT: waits for the next dialog box, types the action into it.
dialogs=0
dialog_action() {
  local before
  before=$(lines "dialog action: $1")
  dialogs=$((dialogs + 1))
  wait_log "dialog shown" "$dialogs"
  wait_for 10 "the dialog box" xdotool search --onlyvisible --name '^Tarnell dialog$'
  focus "$(xdotool search --onlyvisible --name '^Tarnell dialog$' | head -n 1)"
  import -window root "$out/shots/dialog-$dialogs.png" 2>/dev/null || true
  xdotool type --delay 30 -- "$1"
  xdotool key Return
  wait_log "dialog action: $1" $((before + 1))
}
# close_message_box TEXT: waits for the command's message box with TEXT and presses OK.
close_message_box() {
  wait_log "message box: $1" 1
  wait_for 10 "the message box" xdotool search --onlyvisible --name '^Tarnell$'
  import -window root "$out/shots/message-box-$(lines "message box: ").png" 2>/dev/null || true
  focus "$(xdotool search --onlyvisible --name '^Tarnell$' | head -n 1)"
  xdotool key Return
  wait_log "message box closed" "$(lines "message box: ")"
}
# save_until STATE: Ctrl+S until the saved drawing passes the check for STATE.
save_until() {
  focus "$(main_window)"
  xdotool key ctrl+s
  wait_for 20 "a saved drawing that is $1" "$py" "$here/plate_drawing.py" check "$drawing" "$1"
}

# The X server picks a free display and names it once it takes connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$out/display" >"$out/xvfb.log" 2>&1 &
xvfb_pid=$!
wait_for 10 "the X server" grep -q '[0-9]' "$out/display"
DISPLAY=":$(tr -dc 0-9 <"$out/display")"
export DISPLAY
env HOME="$home" TARNELL_LIBRECAD_LOG="$log" librecad "$drawing" >"$out/librecad.log" 2>&1 &
librecad_pid=$!
wait_for 60 "LibreCAD's main window" main_window

# 1. Enter at the base point: the mode dialog, cancelled.
start_command
focus "$(main_window)"
xdotool key Return
dialog_action cancel
wait_log "run finished" 1
grep -q -F "(Enter)" "$log" || fail "Enter was not taken as a confirmation"

start_command
xdotool mousemove 640 480 click 3
dialog_action cancel
wait_log "run finished" 2
[ "$(lines "(Enter)")" -ge 2 ] || fail "a right-click was not taken as a confirmation"

# 2. Escape at the base point.
start_command
focus "$(main_window)"
xdotool key Escape
wait_log "run cancelled" 1

# 3. The correction, typed.
start_command
ranges=$(lines "prompt: 구멍형상 범위지시")
type_line "0,0"
wait_log "prompt: 구멍형상 범위지시" $((ranges + 1))
type_line "-5,-5"
wait_log "prompt: 구멍형상 범위지시" $((ranges + 2))
type_line "115,85"
dialog_action "click row 4"
dialog_action ok
close_message_box "총 7개의 Hole 위치를 변경했습니다."
wait_log "run finished: 11 entities written" 1
save_until corrected

# 4. One undo takes the command back.
type_line undo
save_until original

# 5. The specific-hole mode: the drills like the one at 30.26,10.1, anywhere in the drawing.
start_command
focus "$(main_window)"
xdotool key Return
dialog_action "click 15001"
dialog_action ok
wait_log "run finished" 4
start_command
wait_log "[특정구멍]" 1
type_line "0,0"
wait_log "prompt: 구멍형상 지시: " 1
type_line "30.26,10.1"
wait_log "prompt: 구멍형상 지시(확정=선택종료) : " 1
type_line ""
wait_log "prompt: 범위지시(확정=도면전체) : " 1
type_line ""
wait_log "prompt: 범위지시(확정=선택종료) : " 1
type_line ""
dialog_action "click row 4"
dialog_action ok
close_message_box "총 3개의 Hole 위치를 변경했습니다."
wait_log "run finished: 4 entities written" 1
save_until drills
echo "librecad_session: OK"
