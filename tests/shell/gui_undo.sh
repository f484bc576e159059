#!/usr/bin/env bash
# Ctrl+Z in the real window takes back a filling whose hatch crossed a wall and a text: the
# drawing below the prompt line is then exactly what the core renders for the drawing without
# the filling. Ctrl+Y brings the hatch back as it was shown before.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"
source "$source_dir/tests/shell/lib/walled_circle.bash"

cd "$tmp"
open_walled_circle

press alt+F1
press Return
press Return
press Tab
press Escape
shot "$tmp/hatched.png"
if "$xshot" compare "$tmp/hatched.png" "$tmp/render.png" 0 0 "$tmp/hatched.diff.png" \
  0 16 1000 784 >/dev/null; then
  fail "no hatch was drawn"
fi
# Below the prompt line, which names what was taken back.
press ctrl+z
shot "$tmp/undone.png"
differing="$("$xshot" compare "$tmp/undone.png" "$tmp/render.png" 0 0 "$tmp/undone.diff.png" \
  0 16 1000 784)" ||
  { cp "$tmp"/undone*.png "$tmp/render.png" "$build/" 2>/dev/null
    fail "after Ctrl+Z the window differs from the render in $differing pixels (see $build/undone.*)"; }
press ctrl+y
shot "$tmp/redone.png"
differing="$("$xshot" compare "$tmp/redone.png" "$tmp/hatched.png" 0 0 "$tmp/redone.diff.png" \
  0 16 1000 784)" ||
  { cp "$tmp"/redone*.png "$tmp/hatched.png" "$build/" 2>/dev/null
    fail "after Ctrl+Y the window differs from the hatch shown before in $differing pixels"; }
# Ctrl+Shift+Z does the step again as Ctrl+Y does.
press ctrl+z
press ctrl+shift+z
shot "$tmp/redone2.png"
differing="$("$xshot" compare "$tmp/redone2.png" "$tmp/hatched.png" 0 0 "$tmp/redone2.diff.png" \
  0 16 1000 784)" ||
  { cp "$tmp"/redone2*.png "$tmp/hatched.png" "$build/" 2>/dev/null
    fail "after Ctrl+Shift+Z the window differs from the hatch shown before in $differing pixels"; }
echo "gui_undo: ok"
