# Shared by the window tests that take back a filling whose hatch crossed a wall and a text.
# Source it after lib/gui.bash.
#
# open_walled_circle starts lumora on a drawing of a circle round (0,-30) of radius 30, a wall
# along y -30 and a text across the circle (the sheet is their extent with a margin), reads it by
# F6 and renders the same drawing into $tmp/render.png. The circle's top is the point (0,0),
# where the cursor stands after the read: Enter takes it without the mouse, whose cursor the
# render would not show.
open_walled_circle() {
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
}
