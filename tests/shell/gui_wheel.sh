#!/usr/bin/env bash
# The mouse wheel in the real window: three steps up at a corner of a rectangle zoom in round
# it (the corner stays under the pointer and the status line's coordinates stay the same), and
# Ctrl+F10 goes back over the three steps to the view before them. The window opens under a
# pointer resting on the rectangle's first corner: the first click, with no move before it,
# enters that corner, not the cursor's starting point.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"
source "$source_dir/tests/shell/lib/plate.bash"

cd "$tmp"
xdotool mousemove 283 745
start_lumora
# A rectangle from (20, 20) to (100, 60): its corner (100, 60) lies on column 502, row 636.
press F1
press Return
press o
click_at 283 745
click_at 502 636
press Tab Escape
pointer_to 502 636
settle "the move to the corner"
shot "$tmp/before.png"

xdotool click --repeat 3 --delay 40 4
settle "three wheel steps"
shot "$tmp/zoomed.png"
status="$("$xshot" compare "$tmp/before.png" "$tmp/zoomed.png" 0 0 "$tmp/status.diff.png" 0 16 1000 16)" ||
  fail "the status line changed with the zoom in $status pixels"
# The top side still reaches the corner from the left, and nothing lies right of it beyond the
# cursor mark; the left side has gone far to the left.
top="$(lit "$tmp/zoomed.png" 470 635 26 3)"
beyond="$(lit "$tmp/zoomed.png" 515 635 40 3)"
side="$(lit "$tmp/zoomed.png" 501 650 3 40)"
old_left="$(lit "$tmp/before.png" 282 660 3 40)"
new_left="$(lit "$tmp/zoomed.png" 282 660 3 40)"
# Three steps of 1.25 put the left side (x = 20) 427 columns left of the corner.
three="$(lit "$tmp/zoomed.png" 71 660 8 40)"
((top >= 20 && beyond == 0 && side >= 30)) ||
  { cp "$tmp/zoomed.png" "$build/gui_wheel.out.png"; fail "the corner left the pointer: top $top, beyond $beyond, side $side"; }
((old_left >= 30 && new_left == 0 && three >= 30)) ||
  { cp "$tmp/zoomed.png" "$build/gui_wheel.out.png"; fail "not three steps of zoom: the left side lit $old_left, then $new_left, $three near column 75"; }

press ctrl+F10
shot "$tmp/back.png"
differing="$("$xshot" compare "$tmp/before.png" "$tmp/back.png" 0 0 "$tmp/back.diff.png" 0 32 1000 768)" ||
  { cp "$tmp/back.png" "$build/gui_wheel.back.png"; fail "Ctrl+F10 did not bring back the view before the wheel: $differing pixels differ"; }
echo "gui_wheel: ok (the corner stayed under the pointer through three steps; Ctrl+F10 went back)"
