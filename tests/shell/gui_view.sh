#!/usr/bin/env bash
# The real window under Xvfb after the keys and clicks of tests/events/gui_view.events: a zoom
# by two corners, the full-window cursor lines, a pending snap and two keyboard steps. The
# cursor cross, its circle, its lines and the status line equal the player's golden picture.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

cd "$tmp"
start_lumora
pointer_to 500 400
"$xshot" settle "$window" 0.3 "$patience" || fail "the window never settled after the move"

key_and_wait F9 0 0 400 16
for corner in "300 250" "700 550"; do
  # shellcheck disable=SC2086
  pointer_to $corner
  "$xshot" settle "$window" 0.3 "$patience" || fail "the window never settled at $corner"
  xdotool click 1
  "$xshot" settle "$window" 0.3 "$patience" || fail "the window never settled after a click"
done
for key in alt+F12 F11 Right shift+Up; do
  xdotool key "$key"
  "$xshot" settle "$window" 0.3 "$patience" || fail "the window never settled after $key"
done
shot "$tmp/view.png"
golden="$source_dir/tests/golden/gui_view.png"
differing="$("$xshot" compare "$tmp/view.png" "$golden" 0 0 "$tmp/view.diff.png")" ||
  { cp "$tmp/view.png" "$build/gui_view.out.png" 2>/dev/null
    cp "$tmp/view.diff.png" "$build/gui_view.diff.png" 2>/dev/null
    fail "the window differs from $golden in $differing pixels (see $build/gui_view.*)"; }
echo "gui_view: ok"
