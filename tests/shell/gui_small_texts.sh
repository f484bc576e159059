#!/usr/bin/env bash
# A drawing full of texts, most of them far below a pixel, read by F6 in the real window: the
# small ones show as dots among the readable ones, and the window holds exactly the pixels the
# core renders for the same drawing.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

cd "$tmp"
awk 'BEGIN {
  srand(5)
  print "0\nSECTION\n2\nENTITIES"
  for (k = 0; k < 3000; k++) {
    x = 15 + rand() * 165; y = 15 + rand() * 250
    printf "0\nTEXT\n8\n0\n10\n%.3f\n20\n%.3f\n40\n%.3f\n1\nAB%d\n", x, y, (k % 3 == 0 ? 3 : 0.05), k
  }
  print "0\nENDSEC\n0\nEOF"
}' >"$tmp/small.dxf"
only_drawing "$tmp/small.dxf" Small.drw

quiet=1
start_lumora
xdotool mousemove --sync --window "$window" 500 700
settle "the move away"
xdotool key F6
settle "F6"
xdotool key Home Return
settle "reading the drawing"
shot "$tmp/read.png"
"$build/lumora-cli" render "$lumora_home/DRAWINGS/Small.drw" "$tmp/render.png" \
  --home "$lumora_home" --size 1000x800 >"$tmp/render.out" 2>&1 ||
  fail "no render: $(cat "$tmp/render.out")"
# Below the prompt line, which notes the file read.
differing="$("$xshot" compare "$tmp/read.png" "$tmp/render.png" 0 0 "$tmp/read.diff.png" \
  0 16 1000 784)" ||
  { cp "$tmp"/read*.png "$build/" 2>/dev/null
    fail "the window differs from the render in $differing pixels (see $build/read.*)"; }
lit="$("$xshot" count "$tmp/read.png" 240 60 520 640 ffffff)"
((lit > 20000)) || fail "the texts show only $lit lit pixels"
echo "gui_small_texts: ok"
