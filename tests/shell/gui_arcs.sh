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
  xdotool mousemove --sync --window "$window" "$1" "$2"
  settled "at $1 $2"
  xdotool click 1
  settled "after a click at $1 $2"
}
park() { xdotool mousemove --sync --window "$window" 900 700; settled "with the mouse aside"; }

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
echo "gui_arcs: ok ($((empty - drawn)) pixels of the arc)"
