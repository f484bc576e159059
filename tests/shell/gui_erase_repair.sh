#!/usr/bin/env bash
# Taking back a filling in the real window: its hatch crossed a wall and a text, and erasing it
# with the background pen broke them where they crossed. Afterwards the window holds exactly
# the pixels the core renders for the same drawing, which has no filling.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"
source "$source_dir/tests/shell/lib/walled_circle.bash"

cd "$tmp"
open_walled_circle

press alt+F1
press Return
press Return
press Tab
shot "$tmp/hatched.png"
if "$xshot" compare "$tmp/hatched.png" "$tmp/render.png" 0 0 >/dev/null; then
  fail "no hatch was drawn"
fi
press BackSpace
press Escape
shot "$tmp/after.png"
differing="$("$xshot" compare "$tmp/after.png" "$tmp/render.png" 0 0 "$tmp/after.diff.png")" ||
  { cp "$tmp"/after*.png "$tmp/render.png" "$build/" 2>/dev/null
    fail "the window differs from the render in $differing pixels (see $build/after.*)"; }
echo "gui_erase_repair: ok"
