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
read_first_and_match_render Small.drw
lit="$("$xshot" count "$tmp/read.png" 240 60 520 640 ffffff)"
((lit > 20000)) || fail "the texts show only $lit lit pixels"
echo "gui_small_texts: ok"
