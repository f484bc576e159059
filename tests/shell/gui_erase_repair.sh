#!/usr/bin/env bash
# Taking back a filling in the real window: its hatch crossed a wall and a text, and erasing it
# with the background pen broke them where they crossed. Afterwards the window holds exactly
# the pixels the core renders for the same drawing, which has no filling.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

cd "$tmp"
# A circle round (0,-30) of radius 30, a wall along y -30 and a text across the circle; the
# drawing's sheet is their extent with a margin. The circle's top is the point (0,0), where the
# cursor stands after the drawing is read: Enter takes it without the mouse, whose cursor the
# render would not show.
{
  printf '0\nSECTION\n2\nENTITIES\n'
  printf '0\nCIRCLE\n8\n0\n10\n0\n20\n-30\n40\n30\n'
  printf '0\nLINE\n8\n0\n10\n-60\n20\n-30\n11\n60\n21\n-30\n'
  printf '0\nTEXT\n8\n0\n10\n-22\n20\n-48\n40\n8\n1\nWALLS\n'
  printf '0\nENDSEC\n0\nEOF\n'
} >"$tmp/plate.dxf"
only_drawing "$tmp/plate.dxf" Plate.drw

quiet=1
start_lumora
pointer_to 500 700
settle "the move away"
press F6
press Home Return
"$build/lumora-cli" render "$lumora_home/DRAWINGS/Plate.drw" "$tmp/render.png" \
  --home "$lumora_home" --size 1000x800 >"$tmp/render.out" 2>&1 ||
  fail "no render: $(cat "$tmp/render.out")"

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
