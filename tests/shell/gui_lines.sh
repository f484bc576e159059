#!/usr/bin/env bash
# The line commands in the real window, by mouse: a line drawn by two clicks shows, Backspace
# and Esc take it away; the part of a line deleted between two clicked limits is gone until
# Backspace brings it back.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

# Drawing y 120 from x 40 to 140 lies on pixel row 472 from column 338 to 612.
row=472
# Foreground pixels in a strip of row $2 from column $3 to $4 of picture $1.
lit() { "$xshot" count "$1" "$3" "$(($2 - 2))" "$(($4 - $3))" 5 ffffff; }
# The mouse out of the way, then a picture.
picture() {
  pointer_to 500 700
  settle "the move away"
  shot "$tmp/$1.png"
}

cd "$tmp"
start_lumora
picture empty
[[ "$(lit "$tmp/empty.png" $row 340 610)" == 0 ]] || fail "the empty sheet has pixels on row $row"

press F1
press Return
click_at 338 $row
click_at 612 $row
press Tab
picture line
(($(lit "$tmp/line.png" $row 340 610) > 200)) || fail "the line drawn by two clicks is not shown"
press BackSpace
press Escape
picture undone
[[ "$(lit "$tmp/undone.png" $row 340 610)" == 0 ]] || fail "Backspace and Esc left the line shown"

press F1
press Return
click_at 338 $row
click_at 612 $row
press Tab
press Escape
press alt+F4
click_at 475 $row
click_at 420 $row
click_at 530 $row
picture deleted
[[ "$(lit "$tmp/deleted.png" $row 430 520)" == 0 ]] || fail "the deleted part is still shown"
(($(lit "$tmp/deleted.png" $row 340 410) > 50)) || fail "the part before the limits went too"
press BackSpace
picture restored
(($(lit "$tmp/restored.png" $row 430 520) > 80)) || fail "Backspace did not bring the part back"
press Escape
echo "gui_lines: ok"
