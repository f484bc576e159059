#!/usr/bin/env bash
# The real window under Xvfb writes a text as a person would: F3, the first text type, a
# string, a click where it goes. The text's strokes appear at the click, and Backspace on the
# next, empty string takes them away again.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

cd "$tmp"
start_lumora
# The text stands on its point, to the right and upwards of the click.
area=(400 370 80 32)
pointer_to 400 400
"$xshot" settle "$window" 0.3 "$patience" || fail "the window never settled after the move"
xdotool key F3
"$xshot" settle "$window" 0.3 "$patience" || fail "the text types never came"
xdotool key Return
"$xshot" settle "$window" 0.3 "$patience" || fail "the string entry never came"
shot "$tmp/empty.png"
blank="$("$xshot" count "$tmp/empty.png" "${area[@]}" 000000)"
[[ "$blank" -eq $((area[2] * area[3])) ]] || fail "the place of the text is not empty: $blank"

xdotool type --delay 50 Hello
xdotool key Return
"$xshot" settle "$window" 0.3 "$patience" || fail "the location step never came"
xdotool click 1
"$xshot" settle "$window" 0.3 "$patience" || fail "the text was never drawn"
shot "$tmp/placed.png"
left="$("$xshot" count "$tmp/placed.png" "${area[@]}" 000000)"
(( blank - left > 40 )) || fail "no text at the click: $((blank - left)) pixels drawn"

# Backspace on the empty string takes the text back; a second one leaves its location.
xdotool key BackSpace
"$xshot" settle "$window" 0.3 "$patience" || fail "the text was never taken back"
xdotool key BackSpace
"$xshot" settle "$window" 0.3 "$patience" || fail "the string entry never came back"
shot "$tmp/taken.png"
after="$("$xshot" count "$tmp/taken.png" "${area[@]}" 000000)"
[[ "$after" -eq "$blank" ]] || fail "the text left $((blank - after)) pixels behind"
echo "gui_texts: ok"
