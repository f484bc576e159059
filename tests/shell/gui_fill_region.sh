#!/usr/bin/env bash
# A room hatched by one click inside it, in the real window: a plate with a round hole drawn by
# clicks, Add filling, a click in the plate away from its lines: the plate is hatched at once,
# without showing a line or pressing Tab, the hole stays empty, and Backspace takes it back.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"
source "$source_dir/tests/shell/lib/plate.bash"

cd "$tmp"
start_lumora
draw_plate

press alt+F1
press Return
click_at 320 640
picture hatched
plate="$(lit "$tmp/hatched.png" 300 620 80 40)"
hole="$(lit "$tmp/hatched.png" 410 667 20 20)"
((plate > 100)) || { cp "$tmp/hatched.png" "$build/gui_fill_region.out.png"; fail "no hatch in the plate: $plate pixels"; }
((hole == 0)) || { cp "$tmp/hatched.png" "$build/gui_fill_region.out.png"; fail "the hole is hatched: $hole pixels"; }

press BackSpace
picture taken
left="$(lit "$tmp/taken.png" 300 620 80 40)"
((left == 0)) || { cp "$tmp/taken.png" "$build/gui_fill_region.out.png"; fail "the hatch stayed after Backspace: $left pixels"; }
edge="$(lit "$tmp/taken.png" 300 745 180 1)"
((edge > 150)) || fail "the plate's lower line went with the hatch: $edge pixels"
press Escape
echo "gui_fill_region: ok ($plate hatch pixels in the plate, none in the hole, none after Backspace)"
