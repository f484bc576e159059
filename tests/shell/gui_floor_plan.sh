#!/usr/bin/env bash
# The floor plan of the README's short way, typed into the real window as a drafter types it:
# the scale, the outline as a rectangle of two typed corners, the inner wall, the door, the
# column, the label, the dimension snapped to the corners and the left room hatched by a click.
# The saved drawing holds what was typed, and the window equals its render when read back.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

lumora_home="$tmp/home"
cp -r "$source_dir/data" "$lumora_home"
rm -f "$lumora_home"/DRAWINGS/*
cd "$tmp"
start_lumora

# The window takes keys and clicks in the order they come, so it is waited for only before a
# click and at the end.
keys() { xdotool key --delay 20 "$@"; }
typed() { xdotool type --delay 20 -- "$1"; }
# The next point typed: Ins (from the last point) or Ctrl+Ins (from the origin), two numbers.
at() { keys "$1"; typed "$2"; keys Return; typed "$3"; keys Return Return; }
# Clicks at a pixel of the 1000 x 800 window; the sheet is 19800 x 28100 at 1:100.
click() {
  settle "the keys before a click at $1 $2"
  pointer_to "$1" "$2"
  xdotool click 1
}

keys ctrl+F8 End Return
typed 100
keys Return
keys F1 Return o
at ctrl+Insert 1000 1000
at Insert 10000 8000
keys Tab o
at ctrl+Insert 7000 1000
at Insert 0 8000
keys Tab
at ctrl+Insert 7000 3000
at Insert 900 0
keys Tab Escape
keys F2 Return
at Insert -900 0
at Insert 900 0
at Insert -900 900
keys o
at ctrl+Insert 3000 5000
at Insert 200 0
keys Escape
keys F3 Return
typed "Living room"
keys Return
click 284 609
keys Escape
keys ctrl+F3 Return ctrl+F11
click 258 771
keys ctrl+F11
click 529 771
click 394 786
keys Escape
keys alt+F1 Return
click 284 717
keys Escape
keys F7
typed Plan
keys Return
settle "the save"

[[ -f "$lumora_home/DRAWINGS/Plan.drw" ]] || fail "no Plan.drw after F7: $(ls "$lumora_home/DRAWINGS")"
"$build/lumora-cli" dump "$lumora_home/DRAWINGS/Plan.drw" "$tmp/plan.txt" --home "$lumora_home" \
  >/dev/null 2>&1 || fail "no report of Plan.drw"
expect() { grep -qF -- "$1" "$tmp/plan.txt" || fail "the plan lacks '$1': $(cat "$tmp/plan.txt")"; }
expect "scale:  100.0"
expect " ps0:4 shape:2   1000.0, 1000.0  11000.0, 1000.0  11000.0, 9000.0   1000.0, 9000.0 "
expect " ps0:2 shape:1   7000.0, 1000.0   7000.0, 9000.0 "
expect " ps0:3 shape:3   7000.0, 3000.0   7900.0, 3000.0   7000.0, 3900.0 "
expect " ps0:2 shape:4   3000.0, 5000.0   3200.0, 5000.0 "
expect "1000.000000,1000.000000  11000.000000,1000.000000 "
fillings="$(sed -n '/^Fillings:/,/^Texts:/p' "$tmp/plan.txt" | grep -c ldista)"
((fillings == 1)) || fail "$fillings fillings, not the one room"

read_first_and_match_render Plan.drw
echo "gui_floor_plan: ok (the typed plan saved as typed; the window equals its render)"
