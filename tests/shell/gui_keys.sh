#!/usr/bin/env bash
# The real window under Xvfb answers the keys of tests/events/gui_keys.events as the event
# player does: x hides the mouse pointer and shows it again, Shift alone says nothing, Shift+F3 shows "Not in use !" long enough to be seen,
# Shift+F5 writes the report beside the program, 1 and Esc open and close the main menu, and
# the grid entry shows what is typed. The last screen equals the player's golden picture.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

# The report goes to the working directory: the test's own.
cd "$tmp"
start_lumora
pointer_to 500 700

# x hides the mouse pointer over the window and shows it again.
"$xshot" pointer shown "$patience" || fail "no mouse pointer over the window at start"
xdotool key x
"$xshot" pointer hidden "$patience" || fail "x did not hide the mouse pointer"
xdotool key x
"$xshot" pointer shown "$patience" || fail "x did not show the mouse pointer again"

# A modifier alone: no message box, nothing changes anywhere for a second.
shot "$tmp/idle.png"
xdotool key shift
if "$xshot" wait-change "$window" "$tmp/idle.png" 0 0 1000 800 1; then
  fail "Shift alone changed the window"
fi

# The message box of a refused key reaches the window: its red frame at the box's left edge. The
# box stands only while its short cue sounds, which a busy machine may keep the reader from
# seeing: the key is pressed again a few times before that counts as a fault.
seen=""
for _ in 1 2 3 4 5; do
  xdotool key shift+F3
  "$xshot" wait "$window" 416 390 ff0000 2 && { seen=1; break; }
done
[[ -n "$seen" ]] || fail "\"Not in use !\" was never shown"
"$xshot" wait "$window" 416 390 000000 "$patience" || fail "the message box did not close"

xdotool key shift+F5
for _ in $(seq $((patience * 10))); do
  [[ -s "$tmp/Database.txt" ]] && break
  sleep 0.1
done
[[ -s "$tmp/Database.txt" ]] || fail "Shift+F5 wrote no report in the working directory"

key_and_wait 1 20 40 240 100
key_and_wait Escape 20 40 240 100

xdotool key ctrl+F12 End Return ctrl+F11 2 period 5
"$xshot" settle "$window" 0.5 "$patience" || fail "the window never settled"
shot "$tmp/entry.png"
golden="$source_dir/tests/golden/gui_keys_entry.png"
# Both canvases paint the very same pixels: not one may differ.
differing="$("$xshot" compare "$tmp/entry.png" "$golden" 0 0 "$tmp/entry.diff.png")" ||
  { cp "$tmp/entry.png" "$build/gui_keys_entry.out.png" 2>/dev/null
    cp "$tmp/entry.diff.png" "$build/gui_keys_entry.diff.png" 2>/dev/null
    fail "the window differs from $golden in $differing pixels (see $build/gui_keys_entry.*)"; }
echo "gui_keys: ok"
