#!/usr/bin/env bash
# Delete and edit in the real window: a line deleted by a click is gone until Backspace brings
# it back; a line end moved by F4 leaves its old place, and Backspace puts it back.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

# Drawing y 120 from x 40 to 140 lies on pixel row 472 from column 338 to 612.
row=472
lit() { "$xshot" count "$1" "$3" "$(($2 - 2))" "$(($4 - $3))" 5 ffffff; }
picture() {
  pointer_to 500 700
  settle "the move away"
  shot "$tmp/$1.png"
}

cd "$tmp"
start_lumora
press F1
press Return
click_at 338 $row
click_at 612 $row
press Tab
press Escape
picture line
(($(lit "$tmp/line.png" $row 340 610) > 200)) || fail "the line drawn by two clicks is not shown"

press ctrl+F4
click_at 475 $row
picture deleted
[[ "$(lit "$tmp/deleted.png" $row 340 610)" == 0 ]] || fail "the deleted line is still shown"
press BackSpace
picture back
(($(lit "$tmp/back.png" $row 340 610) > 200)) || fail "Backspace did not bring the line back"
press Escape

# F4 on the right end, then a click well above it: the end moves off the row.
press F4
click_at 612 $row
click_at 612 300
picture edited
[[ "$(lit "$tmp/edited.png" $row 560 610)" == 0 ]] || fail "the moved end is still on its row"
press BackSpace
picture undone
(($(lit "$tmp/undone.png" $row 340 610) > 200)) || fail "Backspace did not put the end back"
press Escape
picture ended
(($(lit "$tmp/ended.png" $row 340 610) > 200)) || fail "the line is not shown after Esc"
echo "gui_edit: ok"
