#!/usr/bin/env bash
# The real window under Xvfb: F2, a line type, then centre, start and end clicked with the mouse
# draw a quarter arc; Backspace takes it back and the sheet is black there again.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

start_lumora
count() { "$xshot" count "$1" 520 370 40 40 000000; } # black pixels where the arc passes
settled() { "$xshot" settle "$window" 0.3 "$patience" || fail "the window never settled $1"; }
click_at() {
  pointer_to "$1" "$2"
  settled "at $1 $2"
  xdotool click 1
  settled "after a click at $1 $2"
}
park() { pointer_to 900 700; settled "with the mouse aside"; }

park
shot "$tmp/empty.png"
empty="$(count "$tmp/empty.png")"
key_and_wait F2 0 0 400 16
key_and_wait Return 0 0 400 16
click_at 500 420
click_at 555 420
click_at 500 365
park
shot "$tmp/arc.png"
drawn="$(count "$tmp/arc.png")"
(( drawn < empty )) || fail "no arc drawn: $drawn black pixels of $empty"
xdotool key BackSpace Escape
settled "after Backspace and Esc"
park
shot "$tmp/undone.png"
undone="$(count "$tmp/undone.png")"
(( undone == empty )) || fail "Backspace left the arc: $undone black pixels of $empty"

# An L drawn by clicks, its corner rounded with 30 and the rounding taken back by Backspace.
corner() { "$xshot" count "$1" 604 464 9 9 ffffff; } # lit pixels at the corner (612,472)
# The drawing cursor follows the mouse only over the sheet: it is taken away from the corner.
away() { pointer_to 500 700; settled "with the cursor aside"; }
key_and_wait F1 0 0 400 16
key_and_wait Return 0 0 400 16
click_at 338 472
click_at 612 472
click_at 612 250
xdotool key Tab Escape
settled "after the L"
away
shot "$tmp/sharp.png"
sharp="$(corner "$tmp/sharp.png")"
(( sharp > 0 )) || fail "the L has no corner at 612,472"
xdotool key alt+F2
settled "after Alt+F2"
click_at 600 472
xdotool key 3 0 Return
settled "after the radius"
away
shot "$tmp/rounded.png"
(( $(corner "$tmp/rounded.png") == 0 )) || { cp "$tmp/rounded.png" "$build/gui_arcs.out.png"; fail "the rounding left the sharp corner"; }
xdotool key BackSpace
settled "after Backspace"
away
shot "$tmp/unrounded.png"
(( $(corner "$tmp/unrounded.png") == sharp )) || fail "Backspace did not bring the corner back"
echo "gui_arcs: ok ($((empty - drawn)) pixels of the arc, a corner rounded and back)"
