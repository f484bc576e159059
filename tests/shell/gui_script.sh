#!/usr/bin/env bash
# The real window runs a script placed as a part: Ctrl+F6 picks it from the parts, its
# question takes a size, and the square it draws at that size is placed where Enter is given.
# A second script picks its size from data files: a row of the first file leads to a second
# window, Backspace closes it again, another row and a size are picked and the part is placed.
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
mkdir -p "$lumora_home/PARTS/DATA"
printf 'INPUT_FILE "Pick a size", "kinds"\nLINE 1, 0, 0, L, 0, L, L, 0, 0\n' \
  >"$lumora_home/PARTS/pick.txt"
printf 'KIND, FILE\nsmall, smalls\nlarge, larges\n' >"$lumora_home/PARTS/DATA/kinds.txt"
printf 'NAME, L\ntiny, 10\nlittle, 20\n' >"$lumora_home/PARTS/DATA/smalls.txt"
printf 'NAME, L\nbig, 60\nhuge, 90\n' >"$lumora_home/PARTS/DATA/larges.txt"
start_lumora
xdotool mousemove --window "$window" 500 400
shot "$tmp/empty.png"

xdotool key ctrl+F6
"$xshot" settle "$window" 0.3 "$patience" || fail "the part list never settled"
xdotool key End Return
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

xdotool key ctrl+F6
settle "the part list"
xdotool key Home Return
settle "the first data file"
xdotool key Down
settle "the second row"
shot "$tmp/first.png"
xdotool key Return
settle "the second data file"
shot "$tmp/second.png"
if "$xshot" compare "$tmp/second.png" "$tmp/first.png" 0 0 >/dev/null; then
  fail "no window for the second data file"
fi
xdotool key BackSpace
settle "the way back"
shot "$tmp/back.png"
"$xshot" compare "$tmp/back.png" "$tmp/first.png" 0 0 "$build/gui_script_back.diff.png" ||
  fail "Backspace did not bring the first level back as it was"
xdotool key Up Return
settle "the other data file"
xdotool key Down Return
settle "the location prompt"
xdotool key Return
settle "the placed part"
xdotool key Escape
settle "the end of the command"
shot "$tmp/picked.png"
if "$xshot" compare "$tmp/picked.png" "$tmp/placed.png" 0 0 >/dev/null; then
  fail "the part of the data files is not in the window"
fi
"$xshot" compare "$tmp/picked.png" "$tmp/placed.png" 0 2000 ||
  fail "the data windows left marks behind"
cp "$tmp/picked.png" "$build/gui_script_data.out.png"
[[ "$(wc -l <"$lumora_home/SETUP/ERRORS.txt")" == 0 ]] || fail "the data script reported errors"
echo "gui_script: ok"
