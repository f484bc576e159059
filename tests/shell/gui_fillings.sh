#!/usr/bin/env bash
# Fillings in the real window, by mouse: a rectangle with a round hole drawn by clicks is hatched
# by showing its two lines, the hole stays empty, and its surface area is asked for.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"
source "$source_dir/tests/shell/lib/plate.bash"

cd "$tmp"
start_lumora
draw_plate
picture lines
plate="$(lit "$tmp/lines.png" 300 620 80 40)"
hole="$(lit "$tmp/lines.png" 410 667 20 20)"
((plate == 0 && hole == 0)) || fail "the sheet is not empty inside the lines: $plate, $hole"

press alt+F1
press Return
click_at 283 677
click_at 447 677
press Tab
picture hatched
plate="$(lit "$tmp/hatched.png" 300 620 80 40)"
hole="$(lit "$tmp/hatched.png" 410 667 20 20)"
((plate > 100)) || { cp "$tmp/hatched.png" "$build/gui_fillings.out.png"; fail "no hatch in the plate: $plate pixels"; }
((hole == 0)) || { cp "$tmp/hatched.png" "$build/gui_fillings.out.png"; fail "the hole is hatched: $hole pixels"; }
press Escape

# The area asked for by a click in the plate changes the message band; Esc leaves the hatch.
press shift+F1
shot "$tmp/asking.png"
click_at 320 640
"$xshot" wait-change "$window" "$tmp/asking.png" 0 0 1000 20 "$patience" ||
  fail "no surface area shown"
press Escape
picture after
((plate == $(lit "$tmp/after.png" 300 620 80 40))) || fail "the hatch changed after the area"

# The plate copied with its lower left corner as the reference point: the copy stands hatched
# above it, and the reference marker leaves the corner whole.
corner="$(lit "$tmp/after.png" 284 745 16 1)"
press ctrl+F5
click_at 260 760
click_at 580 590
click_at 283 745
press n
click_at 283 500
press Escape
picture copied
((corner == $(lit "$tmp/copied.png" 284 745 16 1))) || fail "the reference point cut the corner"
copy="$(lit "$tmp/copied.png" 300 375 80 40)"
((copy > 100)) || fail "the copy is not hatched: $copy pixels"
echo "gui_fillings: ok ($plate hatch pixels in the plate, none in the hole, $copy in the copy)"
