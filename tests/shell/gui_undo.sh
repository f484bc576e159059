#!/usr/bin/env bash
# Ctrl+Z in the real window takes back a filling whose hatch crossed a wall and a text: the
# drawing below the prompt line is then exactly what the core renders for the drawing without
# the filling. Ctrl+Y brings the hatch back as it was shown before.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

cd "$tmp"
# A circle round (0,-30) of radius 30, a wall along y -30 and a text across the circle. The
# circle's top is the point (0,0), where the cursor stands after the drawing is read.
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
press Escape
shot "$tmp/hatched.png"
if "$xshot" compare "$tmp/hatched.png" "$tmp/render.png" 0 0 "$tmp/hatched.diff.png" \
  0 16 1000 784 >/dev/null; then
  fail "no hatch was drawn"
fi
# Below the prompt line, which names what was taken back.
press ctrl+z
shot "$tmp/undone.png"
differing="$("$xshot" compare "$tmp/undone.png" "$tmp/render.png" 0 0 "$tmp/undone.diff.png" \
  0 16 1000 784)" ||
  { cp "$tmp"/undone*.png "$tmp/render.png" "$build/" 2>/dev/null
    fail "after Ctrl+Z the window differs from the render in $differing pixels (see $build/undone.*)"; }
press ctrl+y
shot "$tmp/redone.png"
differing="$("$xshot" compare "$tmp/redone.png" "$tmp/hatched.png" 0 0 "$tmp/redone.diff.png" \
  0 16 1000 784)" ||
  { cp "$tmp"/redone*.png "$tmp/hatched.png" "$build/" 2>/dev/null
    fail "after Ctrl+Y the window differs from the hatch shown before in $differing pixels"; }
echo "gui_undo: ok"
