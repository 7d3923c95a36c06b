# shellcheck shell=bash disable=SC2154  # out, shots, here and name come from the sourcing script
# What the LibreCAD session tests share, sourced by them: Debian's LibreCAD under an X server of
# its own (Xvfb) with a home of its own whose plugin folder holds the module, driven by xdotool;
# every step waits for the command's log lines ($TARNELL_LIBRECAD_LOG) or for a window.
# The sourcing script sets `name` (for its messages), `out` (its folder, emptied here), `shots`
# (where pictures go) and `here` (the tests' folder), then calls session_setup MODULE and
# start_librecad.

py=/usr/bin/python3
xvfb_pid="" librecad_pid=""

# session_setup MODULE: a fresh home with the module in its plugin folder and LibreCAD's
# settings, the command's log, and the test drawing ($drawing).
session_setup() {
  rm -rf "$out"
  home="$out/home"
  mkdir -p "$home/.librecad/plugins" "$home/.config/LibreCAD" "$shots"
  cp "$1" "$home/.librecad/plugins/"
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
  trap stop_session EXIT
}

stop_session() {
  if [ -n "$librecad_pid" ]; then
    kill "$librecad_pid" 2>/dev/null || true
    wait "$librecad_pid" 2>/dev/null || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}

fail() {
  echo "$name: $*" >&2
  import -window root "$out/failure.png" 2>/dev/null || true
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
# last_field PREFIX: the last field of the log's last line that starts with PREFIX.
last_field() { grep -F -- "$1" "$log" | tail -n 1 | awk '{print $NF}'; }

# The X server picks a free display and names it once it takes connections; LibreCAD opens the
# test drawing on it.
start_librecad() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$out/display" >"$out/xvfb.log" 2>&1 &
  xvfb_pid=$!
  wait_for 10 "the X server" grep -q '[0-9]' "$out/display"
  DISPLAY=":$(tr -dc 0-9 <"$out/display")"
  export DISPLAY
  env HOME="$home" TARNELL_LIBRECAD_LOG="$log" librecad "$drawing" >"$out/librecad.log" 2>&1 &
  librecad_pid=$!
  wait_for 60 "LibreCAD's main window" main_window
}

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
# save_until STATE: Ctrl+S until the saved drawing passes plate_drawing.py's check for STATE.
save_until() {
  focus "$(main_window)"
  xdotool key ctrl+s
  wait_for 20 "a saved drawing that is $1" "$py" "$here/plate_drawing.py" check "$drawing" "$1"
}

# ---- The command's Qt dialogs ----------------------------------------------------------------
viewable() { xdotool search --onlyvisible --name '.' | grep -q -x "$1"; }
# open_dialog TEMPLATE NAME: waits until the session's next dialog is shown and mapped, checks
# that it is TEMPLATE, focuses it and photographs it as NAME.png; its window is $dialog_window.
# The controls' and rows' places logged last ("dialog control: ID at X,Y", "dialog row: N at
# X,Y") are its own.
dialogs_shown=0
dialog_window=""
open_dialog() {
  dialogs_shown=$((dialogs_shown + 1))
  wait_log "dialog shown: " "$dialogs_shown"
  grep -F -- "dialog shown: " "$log" | sed -n "${dialogs_shown}p" | grep -q -F "dialog shown: $1 " ||
    fail "dialog $dialogs_shown is not dialog $1"
  dialog_window=$(last_field "dialog shown: $1 ")
  wait_for 10 "the window of dialog $1" viewable "$dialog_window"
  focus "$dialog_window"
  import -window "$dialog_window" "$shots/$2.png" || fail "no picture of dialog $1"
}
# click_at "X,Y" [REPEAT]: a left click (or REPEAT clicks, a double-click for 2) at a pixel.
click_at() {
  xdotool mousemove --sync "${1%,*}" "${1#*,}"
  xdotool click --repeat "${2:-1}" --delay 120 1
}
# click_control ID / click_row N [REPEAT]: a click on the open dialog's control or list row.
click_control() { click_at "$(last_field "dialog control: $1 at")"; }
click_row() { click_at "$(last_field "dialog row: $1 at")" "${2:-1}"; }
# end_dialog KEY TEMPLATE RESULT: KEY (Return: OK, Escape: Cancel) in the open dialog, which ends
# with RESULT (1 OK, 2 Cancel).
end_dialog() {
  local before
  before=$(lines "dialog ended: $2 $3")
  focus "$dialog_window"
  xdotool key "$1"
  wait_log "dialog ended: $2 $3" $((before + 1))
}
# close_message_box TEXT: waits for the command's message box with TEXT and presses OK.
close_message_box() {
  local before box
  before=$(lines "message box closed")
  wait_log "message box: $1" 1
  wait_for 10 "the message box" xdotool search --onlyvisible --name '^Tarnell$'
  box=$(xdotool search --onlyvisible --name '^Tarnell$' | head -n 1)
  import -window "$box" "$shots/message-box-$(lines "message box: ").png" 2>/dev/null || true
  focus "$box"
  xdotool key Return
  wait_log "message box closed" $((before + 1))
}
