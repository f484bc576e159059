#!/usr/bin/env bash
# The real window reads and saves drawings in a copy of the program directory: F6 reads a
# drawing chosen from the list and its lines appear, F7 writes it under a new name, Alt+F7
# clears the window, F6 brings the saved file back with the same pixels, and F8 prints it to
# PLOTS/Plan.pdf.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

cd "$tmp"
lumora_home="$tmp/home"
cp -r "$source_dir/data" "$lumora_home"
cp "$source_dir/tests/events/drawings/sample.drw" "$lumora_home/DRAWINGS/"
start_lumora
shot "$tmp/empty.png"

# The drawing area: everything below the message band and above the status line.
area="0 60 1000 640"
# shellcheck disable=SC2086
read_and_wait() {
  xdotool key F6
  "$xshot" settle "$window" 0.3 "$patience" || fail "the file list never settled"
  shot "$tmp/list.png"
  xdotool key "$1" Return
  "$xshot" wait-change "$window" "$tmp/list.png" $area "$patience" || fail "F6 read nothing"
  "$xshot" settle "$window" 0.3 "$patience" || fail "the window never settled after F6"
}

read_and_wait Home
shot "$tmp/first.png"
if "$xshot" compare "$tmp/first.png" "$tmp/empty.png" 0 0 >/dev/null; then
  fail "the drawing read by F6 left the window empty"
fi

xdotool key F7
"$xshot" settle "$window" 0.3 "$patience" || fail "the name question never settled"
xdotool key F11 P l a n Return
for _ in $(seq $((patience * 10))); do
  [[ -s "$lumora_home/DRAWINGS/Plan.drw" ]] && break
  sleep 0.1
done
[[ -s "$lumora_home/DRAWINGS/Plan.drw" ]] || fail "F7 wrote no DRAWINGS/Plan.drw"
"$xshot" settle "$window" 0.3 "$patience" || fail "the window never settled after F7"
shot "$tmp/saved.png"
# The prompt line notes the save after its request, where it was empty before.
noted="$("$xshot" compare "$tmp/saved.png" "$tmp/empty.png" 0 0 "" 380 0 300 16)"
[[ "$noted" =~ ^[0-9]+$ ]] && ((noted > 50)) ||
  fail "the save left no note on the prompt line ($noted pixels)"

xdotool key alt+F7
"$xshot" settle "$window" 0.3 "$patience" || fail "the question never settled"
xdotool key y
"$xshot" settle "$window" 0.3 "$patience" || fail "the window never settled after Alt+F7"

# Plan comes first in the list.
read_and_wait Home
shot "$tmp/again.png"
# The prompt line notes which file was read; the drawings below it must be the same.
# shellcheck disable=SC2086
differing="$("$xshot" compare "$tmp/again.png" "$tmp/first.png" 0 0 "$tmp/again.diff.png" $area)" ||
  { cp "$tmp/again.png" "$build/gui_files.out.png" 2>/dev/null
    fail "the saved drawing read back differs from the first in $differing pixels"; }

# F8 and yes: the page of the drawing read, named after it, in the program directory's PLOTS/.
xdotool key F8
"$xshot" settle "$window" 0.3 "$patience" || fail "the print question never settled"
xdotool key y
for _ in $(seq $((patience * 10))); do
  [[ -s "$lumora_home/PLOTS/Plan.pdf" ]] && break
  sleep 0.1
done
pdfinfo "$lumora_home/PLOTS/Plan.pdf" 2>/dev/null | grep -q 'Title: *Lumora' ||
  fail "F8 wrote no PLOTS/Plan.pdf"
echo "gui_files: ok"
