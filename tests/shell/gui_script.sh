#!/usr/bin/env bash
# The real window runs a script placed as a part: Ctrl+F6 picks it from the parts, its
# question takes a size, and the square it draws at that size is placed where Enter is given.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

cd "$tmp"
lumora_home="$tmp/home"
cp -r "$source_dir/data" "$lumora_home"
mkdir -p "$lumora_home/PARTS"
printf 'S = 20\nINPUT "Size of square", S\nLINE 1, 0, 0, S, 0, S, S, 0, S, 0, 0\n' \
  >"$lumora_home/PARTS/square.txt"
start_lumora
xdotool mousemove --window "$window" 500 400
shot "$tmp/empty.png"

xdotool key ctrl+F6
"$xshot" settle "$window" 0.3 "$patience" || fail "the part list never settled"
xdotool key Home Return
"$xshot" settle "$window" 0.3 "$patience" || fail "the question never settled"
xdotool key ctrl+F11 1 5 0 Return
"$xshot" settle "$window" 0.3 "$patience" || fail "the location prompt never settled"
xdotool key Return
"$xshot" settle "$window" 0.3 "$patience" || fail "the window never settled after placing"
xdotool key Escape
"$xshot" settle "$window" 0.3 "$patience" || fail "the window never settled after Esc"
shot "$tmp/placed.png"
if "$xshot" compare "$tmp/placed.png" "$tmp/empty.png" 0 0 >/dev/null; then
  fail "the square of the script is not in the window"
fi
cp "$tmp/placed.png" "$build/gui_script.out.png"
grep -q "ERROR REPORT OF FILE" "$lumora_home/SETUP/ERRORS.txt" || fail "the script never ran"
[[ "$(wc -l <"$lumora_home/SETUP/ERRORS.txt")" == 0 ]] || fail "the script reported errors"
echo "gui_script: ok"
