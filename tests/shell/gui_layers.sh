#!/usr/bin/env bash
# The layer checklist in the real window: Alt+F10 opens it below the menu bar, Enter on the
# second row hides that layer (its name is dimmed), Esc closes it and the window is as before.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

cd "$tmp"
start_lumora
pointer_to 500 700
"$xshot" settle "$window" 0.5 "$patience" || fail "the window never settled"
shot "$tmp/start.png"

# The list: rows 3 to 12 from column 2, ten cells of 16 pixels below the message band.
key_and_wait alt+F10 10 32 200 160
xdotool key Down
key_and_wait Return 20 48 200 16
key_and_wait Escape 10 32 200 160
"$xshot" settle "$window" 0.5 "$patience" || fail "the window never settled"
shot "$tmp/closed.png"
differing="$("$xshot" compare "$tmp/start.png" "$tmp/closed.png" 0 0 "$tmp/closed.diff.png")" ||
  { cp "$tmp/closed.png" "$build/gui_layers_closed.out.png" 2>/dev/null
    cp "$tmp/start.png" "$build/gui_layers_start.out.png" 2>/dev/null
    fail "the closed list left $differing pixels changed"; }
echo "gui_layers: ok"
