#!/usr/bin/env bash
# The command's two dialogs as Qt dialogs in Debian's LibreCAD, driven with the mouse and the
# keyboard as a user drives them: LibreCAD runs under an X server of its own (Xvfb) with a home of
# its own whose plugin folder holds the module, and xdotool clicks and types.
#   1. Enter at the base point opens the mode dialog; a click on the specific-hole button stores
#      the mode at once; Enter is OK.
#   2. The next run asks for specific holes: one drill picked, the whole drawing searched; the
#      move-unit dialog opens, and a double-click on row 4 (0.5) chooses and closes it. The saved
#      drawing has the drills alone on the 0.5 grid, and LibreCAD's title marks the drawing
#      changed (it did not before the correction).
# Each dialog is photographed (SHOTS/librecad-mode-dialog.png, librecad-move-unit-dialog.png).
# Every step waits for the command's log lines ($TARNELL_LIBRECAD_LOG) or for a window.
#   dialogs_session.sh MODULE OUT [SHOTS]
set -euo pipefail
module=${1:?usage: dialogs_session.sh MODULE OUT [SHOTS]}
out=${2:?usage: dialogs_session.sh MODULE OUT [SHOTS]}
shots=${3:-$out/shots}
here=$(cd "$(dirname "$0")" && pwd)
name=dialogs_session
# shellcheck source=tests/librecad/session_lib.sh disable=SC2034  # name is the library's
. "$here/session_lib.sh"
session_setup "$module"
settings="$home/.config/tarnell/registry.reg"
# stored_method N: the settings file (UTF-16, as the registry exports it) holds "Method"="N".
stored_method() { iconv -f UTF-16 -t UTF-8 "$settings" | grep -q "^\"Method\"=\"$1\""; }
start_librecad

# 1. The mode dialog: all holes at first; the specific-hole button stores its mode when clicked.
start_command
focus "$(main_window)"
xdotool key Return
open_dialog 17001 librecad-mode-dialog
wait_for 10 "the default mode stored" stored_method 0
click_control 15001
wait_for 10 "the specific-hole mode stored" stored_method 1
end_dialog Return 17001 1
wait_log "run finished" 1

# 2. Specific holes: the drills like the one at 30.26,10.1, in the whole drawing.
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
open_dialog 12000 librecad-move-unit-dialog
title() { xdotool getwindowname "$(main_window)"; }
[ "$(title)" = "LibreCAD - [plate.dxf]" ] || fail "the drawing is marked changed already: $(title)"
click_row 4 2
wait_log "dialog ended: 12000 1" 1
close_message_box "총 3개의 Hole 위치를 변경했습니다."
wait_log "run finished: 4 entities written" 1
[ "$(title)" = "LibreCAD - [plate.dxf*]" ] || fail "the corrected drawing is not marked changed: $(title)"
save_until drills
echo "dialogs_session: OK"
