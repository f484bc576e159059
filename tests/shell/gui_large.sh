#!/usr/bin/env bash
# A large drawing in the real window: 200 000 short lines read by F6 fill the sheet; F10 redraws
# the whole sheet and F1, pressed right behind it, reaches the line command while the redraw is
# still going; once its menu is closed the redraw is finished with every pixel it would have had.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

cd "$tmp"
awk 'BEGIN {
  srand(7)
  print "0\nSECTION\n2\nENTITIES"
  for (k = 0; k < 200000; k++) {
    x = 15 + rand() * 165; y = 15 + rand() * 250
    printf "0\nLINE\n8\n0\n10\n%.3f\n20\n%.3f\n11\n%.3f\n21\n%.3f\n", x, y, x + rand() * 4, y + rand() * 4
  }
  print "0\nENDSEC\n0\nEOF"
}' >"$tmp/large.dxf"
only_drawing "$tmp/large.dxf" Large.drw

quiet=1
# The sheet, less the status line: what the lines cover, and no menu.
area="240 60 520 640"
# shellcheck disable=SC2086
lit() { "$xshot" count "$1" $area ffffff; }

start_lumora
pointer_to 500 700
settle "the move away"
xdotool key F6
settle "F6"
shot "$tmp/list.png"
xdotool key Home Return
# Reading takes a while: wait until the lines show, then until the window rests.
read_lit=0
for _ in $(seq $((patience * 2))); do
  sleep 0.5
  shot "$tmp/read.png"
  read_lit="$(lit "$tmp/read.png")"
  ((read_lit > 20000)) && break
done
((read_lit > 20000)) || fail "the large drawing shows only $read_lit lit pixels"
settle "reading the drawing"
shot "$tmp/read.png"
read_lit="$(lit "$tmp/read.png")"

# Both keys reach the window at once: F1 waits in the queue while F10 redraws, stops the
# redraw and opens its menu of line types at once; the redraw is finished when the menu closes.
xdotool key F10 F1
settle "F10 and F1"
shot "$tmp/menu.png"
if "$xshot" compare "$tmp/menu.png" "$tmp/read.png" 0 0 >/dev/null; then
  fail "F1 pressed during the redraw changed nothing"
fi
(($(lit "$tmp/menu.png") < read_lit)) || fail "F1 waited until the redraw was over"
xdotool key Escape
settle "Esc"
# The finished redraw reaches the screen in one flush at its end, which a slow build may show
# only after the window has looked still for a while.
for _ in $(seq $((patience * 2))); do
  shot "$tmp/after.png"
  [[ "$(lit "$tmp/after.png")" == "$read_lit" ]] && break
  sleep 0.5
done
[[ "$(lit "$tmp/after.png")" == "$read_lit" ]] ||
  fail "after F10, F1 and Esc the sheet shows $(lit "$tmp/after.png") lit pixels, not $read_lit"
echo "gui_large: ok"
