#!/usr/bin/env bash
# The LibreCAD command in Debian's LibreCAD, driven as a user drives it: LibreCAD runs under a
# private X server (Xvfb) with a private home whose plugin folder holds the module, and xdotool
# types and clicks into it. Clicks go where the test's own calibration puts drawing points: two
# clicks at known pixels of the zoomed-to-fit view, read back from the command's log.
#   1. The command from the Plugins menu; Enter at the base point prompt opens the mode dialog,
#      which is cancelled (Escape): nothing changes. A right-click in the drawing does the same.
#   2. Escape at the base point prompt cancels the command.
#   3. The all-hole mode: the base point 0,0 typed, the range clicked from -1,-1 to 115,85 with
#      the rubber band following the cursor from its first corner, the move unit 0.5 clicked in
#      the dialog and Enter (OK), the message box closed; the saved drawing has every hole on the
#      grid.
#   4. LibreCAD's undo takes the whole command back; the saved drawing is as drawn. A redo
#      repeats it whole, and an undo takes it back again.
#   5. The specific-hole mode chosen in the mode dialog; a drill and the tapped hole picked (the
#      picked examples are highlighted over the drawing view), the whole drawing searched (every
#      gathered hole highlighted: docs/librecad-review.png when the test is told where), two
#      drills toggled out, the view zoomed (nothing highlighted until the view's scale is known
#      again), an extra window that brings one drill back, the review confirmed: those drills
#      and the tapped hole alone are corrected.
#   6. Escape while picked holes are highlighted: the highlight goes, nothing changes.
#   7. The drawing changed while the command waits: in the all-hole mode, between the range's
#      corners, LibreCAD's circle tool draws a new drill off its grid point; the command reads
#      the drawing again before it takes the second corner and corrects the new drill with the
#      others. The circle tool's own input (its centre, its radius, the Escape that ends it)
#      answers none of the command's prompts.
# The dialogs are the command's Qt dialogs, clicked where the command logs their controls and
# rows (session_lib.sh). Every step waits for the command's log lines ($TARNELL_LIBRECAD_LOG),
# for a window or for what the screen shows.
#   librecad_session.sh MODULE OUT [REVIEW_PNG]
set -euo pipefail
module=${1:?usage: librecad_session.sh MODULE OUT [REVIEW_PNG]}
out=${2:?usage: librecad_session.sh MODULE OUT [REVIEW_PNG]}
review_png=${3:-}
here=$(cd "$(dirname "$0")" && pwd)
name=librecad_session
shots=$out/shots
# shellcheck source=tests/librecad/session_lib.sh disable=SC2034  # name is the library's
. "$here/session_lib.sh"
session_setup "$module"

# The test's calibration of the view, "PX,PY=X,Y;PX,PY=X,Y", and the screen pixel of a drawing
# point by it.
calibration=""
pixel_of() {
  "$py" - "$calibration" "$1" "$2" <<'PY'
import sys
(p1, d1), (p2, d2) = [[list(map(float, xy.split(","))) for xy in pair.split("=")]
                      for pair in sys.argv[1].split(";")]
x, y = float(sys.argv[2]), float(sys.argv[3])
u = p1[0] + (x - d1[0]) * (p2[0] - p1[0]) / (d2[0] - d1[0])
v = p1[1] + (y - d1[1]) * (p2[1] - p1[1]) / (d2[1] - d1[1])
print(round(u), round(v))
PY
}
click_point() {  # click_point X Y: a left click where the drawing point X,Y stands
  read -r u v < <(pixel_of "$1" "$2")
  xdotool mousemove "$u" "$v" click 1
}
# answered PROMPT: the point given at the prompt last, as the command history shows it.
answered() {
  grep -F -- "$1" "$log" | grep -v -F "prompt: " | sed "s/.*$1//" | grep -E '^-?[0-9]' | tail -n 1
}
# screen_shows NAME LIT DARK: until a screenshot shows the holes of LIT highlighted and those of
# DARK not (plate_drawing.py shown).
screen_shows() {
  local shot="$shots/$1.png"
  wait_for 10 "the screen to show $2 highlighted and $3 not" \
    sh -c 'import -window root "$1" && "$2" "$3" shown "$1" "$4" "$5" "$6"' _ \
    "$shot" "$py" "$here/plate_drawing.py" "$calibration" "$2" "$3"
}
# screen_band NAME X,Y PX,PY: until a screenshot shows the rubber band from X,Y to the pixel.
screen_band() {
  local shot="$shots/$1.png"
  wait_for 10 "a rubber band from $2 to the pixel $3" \
    sh -c 'import -window root "$1" && "$2" "$3" band "$1" "$4" "$5" "$6"' _ \
    "$shot" "$py" "$here/plate_drawing.py" "$calibration" "$2" "$3"
}

start_librecad

# 1. Enter at the base point: the mode dialog, cancelled.
start_command
focus "$(main_window)"
xdotool key Return
open_dialog 17001 mode-dialog-cancelled
end_dialog Escape 17001 2
wait_log "run finished" 1
grep -q -F "(Enter)" "$log" || fail "Enter was not taken as a confirmation"

start_command
xdotool mousemove 640 480 click 3
open_dialog 17001 mode-dialog-right-click
end_dialog Escape 17001 2
wait_log "run finished" 2
[ "$(lines "(Enter)")" -ge 2 ] || fail "a right-click was not taken as a confirmation"

# 2. Escape at the base point.
start_command
focus "$(main_window)"
xdotool key Escape
wait_log "run cancelled" 1

# The test's calibration: zoomed to fit, two clicks at known pixels (the base point and the first
# corner of a range), then Escape.
type_line za
start_command
xdotool mousemove 300 400 click 1
wait_log "prompt: 구멍형상 범위지시" 1
xdotool mousemove 800 600 click 1
wait_log "(first corner kept" 1
focus "$(main_window)"
xdotool key Escape
wait_log "run cancelled" 2
calibration="300,400=$(answered "기준점지시 (확정=설정창Open) :");800,600=$(answered "구멍형상 범위지시: ")"
echo "librecad_session: calibration $calibration"

# 3. The all-hole mode: the base point typed, the range clicked around every hole but the slot.
start_command
ranges=$(lines "prompt: 구멍형상 범위지시")
type_line "0,0"
wait_log "prompt: 구멍형상 범위지시" $((ranges + 1))
click_point -1 -1
wait_log "prompt: 구멍형상 범위지시" $((ranges + 2))
read -r u v < <(pixel_of 115 85)
xdotool mousemove "$u" "$v"
screen_band all-hole-band -1,-1 "$u,$v"
xdotool click 1
open_dialog 12000 move-unit-dialog-all
click_row 4
end_dialog Return 12000 1
close_message_box "총 7개의 Hole 위치를 변경했습니다."
wait_log "run finished: 11 entities written" 1
save_until corrected

# 4. One undo takes the command back, one redo repeats it, and one more undo takes it back again.
type_line undo
save_until original
type_line redo
save_until corrected
type_line undo
save_until original

# 5. The specific-hole mode: examples picked by clicks, the whole drawing, the review.
start_command
focus "$(main_window)"
xdotool key Return
open_dialog 17001 mode-dialog-specific
click_control 15001
end_dialog Return 17001 1
wait_log "run finished" 4
start_command
wait_log "[특정구멍]" 1
type_line "0,0"
wait_log "prompt: 구멍형상 지시: " 1
click_point 30.26 10.1
wait_log "prompt: 구멍형상 지시(확정=선택종료) : " 1
click_point 90.31 20.4
wait_log "prompt: 구멍형상 지시(확정=선택종료) : " 2
screen_shows picked-examples drill-b,tapped drill-a,drill-c,counterbore
type_line ""
wait_log "prompt: 범위지시(확정=도면전체) : " 1
type_line ""
wait_log "prompt: 범위지시(확정=선택종료) : " 1
screen_shows review drill-a,drill-b,drill-c,tapped counterbore,arc-drill
if [ -n "$review_png" ]; then
  convert "$shots/review.png" -crop 1280x960+0+0 +repage "$review_png"
fi
# Two drills toggled out by picks on their outlines (the highlight stays until the next window).
click_point 52.12 42.12
wait_log "prompt: 범위지시(확정=선택종료) : " 2
click_point 12.14 12.09
wait_log "prompt: 범위지시(확정=선택종료) : " 3
# A turn of the wheel zooms: what was learnt of the view no longer holds, nothing is shown.
# Zoomed to fit again, the test's calibration holds; the command's holds after two clicks.
xdotool mousemove 640 500 click 5
wait_log "view zoomed" 1
screen_shows zoomed none none
type_line za
click_point 5 5
wait_log "prompt: 2점지시 : " 1
read -r u v < <(pixel_of 15 15)
xdotool mousemove "$u" "$v"
screen_band review-band 5,5 "$u,$v"
xdotool click 1
wait_log "prompt: 범위지시(확정=선택종료) : " 4
screen_shows extra-window drill-a,drill-b,tapped drill-c,counterbore
type_line ""
open_dialog 12000 move-unit-dialog-specific
click_row 4
end_dialog Return 12000 1
close_message_box "총 3개의 Hole 위치를 변경했습니다."
wait_log "run finished: 6 entities written" 1
save_until picked

# 6. Escape while the picked examples are highlighted.
start_command
type_line "0,0"
wait_log "prompt: 구멍형상 지시: " 2
click_point 30.5 10
wait_log "prompt: 구멍형상 지시(확정=선택종료) : " 3
click_point 90.5 20.5
wait_log "prompt: 구멍형상 지시(확정=선택종료) : " 4
focus "$(main_window)"
xdotool key Escape
wait_log "run cancelled" 3
screen_shows cancelled none none
save_until picked

# 7. A drill drawn with LibreCAD's circle tool while the command waits for the second corner.
start_command
focus "$(main_window)"
xdotool key Return
open_dialog 17001 mode-dialog-all
click_control 15000
end_dialog Return 17001 1
wait_log "run finished" 6
start_command
ranges=$(lines "prompt: 구멍형상 범위지시")
type_line "0,0"
wait_log "prompt: 구멍형상 범위지시" $((ranges + 1))
type_line "-1,-1"
wait_log "prompt: 구멍형상 범위지시" $((ranges + 2))
taken=$(lines "point input taken by another command")
given=$(lines "point input given back")
type_line circle
wait_log "point input taken by another command" $((taken + 1))
type_line "105.2,75.3"
type_line 3
# The Escape that ends the circle tool does not answer the command's prompt; the second corner
# is clicked (the keyboard focus is no longer in the command line).
focus "$(main_window)"
xdotool key Escape
wait_log "point input given back" $((given + 1))
click_point 115 85
wait_log "is read again; 1 new hole(s))" 1
open_dialog 12000 move-unit-dialog-changed
click_row 4
end_dialog Return 12000 1
close_message_box "총 8개의 Hole 위치를 변경했습니다."
save_until corrected-with-new-drill
echo "librecad_session: OK"
