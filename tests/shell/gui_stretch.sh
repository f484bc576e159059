#!/usr/bin/env bash
# Stretch and copy of an area in the real window, by mouse: a rectangle's right edge stretched
# to the right shows the longer top edge; Backspace shows the old one again; the rectangle
# copied upwards shows a second top edge.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

# Foreground pixels in a strip of row $2 from column $3 to $4 of picture $1.
lit() { "$xshot" count "$1" "$3" "$(($2 - 2))" "$(($4 - $3))" 5 ffffff; }
picture() {
  pointer_to 500 700
  settle "the move away"
  shot "$tmp/$1.png"
}

# A copy writes its temporary part into the program directory: a scratch one.
lumora_home="$tmp/home"
cp -r "$source_dir/data" "$lumora_home"
cd "$tmp"
start_lumora
# A closed rectangle from the bottom left (338,472) to the top right (475,400).
press F1
press Return
press o
click_at 338 472
click_at 475 400
press Tab
press Escape
picture rectangle
(($(lit "$tmp/rectangle.png" 400 345 470) > 80)) || fail "the rectangle is not shown"
[[ "$(lit "$tmp/rectangle.png" 400 490 550)" == 0 ]] || fail "pixels right of the rectangle"

press F5
click_at 450 380
click_at 500 490
click_at 475 440
click_at 560 440
picture stretched
(($(lit "$tmp/stretched.png" 400 490 550) > 40)) || fail "the stretched top edge is not shown"
press BackSpace
press Escape
picture taken_back
[[ "$(lit "$tmp/taken_back.png" 400 490 550)" == 0 ]] || fail "Backspace left the stretch shown"
(($(lit "$tmp/taken_back.png" 400 345 470) > 80)) || fail "Backspace lost the rectangle"

press ctrl+F5
click_at 320 380
click_at 520 490
click_at 338 472
press n
click_at 338 300
press Tab
press Escape
picture copied
(($(lit "$tmp/copied.png" 228 345 470) > 80)) || fail "the copy is not shown"
(($(lit "$tmp/copied.png" 400 345 470) > 80)) || fail "the copy took the source away"
echo "gui_stretch: ok"
