#!/usr/bin/env bash
# The real window under Xvfb: lumora starts with the shipped setup, shows the message band and
# the dotted blue sheet frame where the view puts it, and closing the window ends it with 0.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

start_lumora
shot "$tmp/screen.png"
pixel() { "$xshot" pixel "$tmp/screen.png" "$1" "$2"; }
count() { "$xshot" count "$tmp/screen.png" "$@"; } # x y w h colour

# The shipped setup: a 1000 x 800 window at 0 0, a 198 x 281 sheet on black. The drawing area
# is 1000 x 768 below the band, fitted by height: 768 / 281 pixels per unit, the sheet centred.
frame_x="$(awk 'BEGIN { s = 768 / 281; w = 281 * 1000 / 768; x0 = 99 - w / 2;
                        printf "%d", int((0 - x0) * s) }')"
right_x="$(awk 'BEGIN { s = 768 / 281; w = 281 * 1000 / 768; x0 = 99 - w / 2;
                        printf "%d", int((198 - x0) * s) }')"

size="$("$xshot" size "$tmp/screen.png")"
[[ "$size" == "1000x800" ]] || fail "the screenshot is $size, not the 1000 x 800 client area"
[[ "$(pixel 900 10)" == "255,255,255" ]] || fail "message band not white at 900,10: $(pixel 900 10)"
[[ "$(pixel 900 400)" == "0,0,0" ]] || fail "sheet not black at 900,400: $(pixel 900 400)"
(( $(count 0 0 300 16 ff0000) > 0 )) || fail "no prompt on message row 1"
for x in "$frame_x" "$right_x"; do
  n="$(count "$x" 40 1 700 0000ff)"
  (( n > 50 )) || fail "dotted frame missing at column $x ($n blue pixels)"
  m="$(count $((x + 3)) 40 1 700 0000ff)"
  (( m == 0 )) || fail "frame at the wrong place: column $((x + 3)) has $m blue pixels"
done

"$xshot" close "$window" || fail "close request not sent"
await_lumora_end "its window was closed"
[[ $lumora_status -eq 0 ]] || fail "exit status $lumora_status: $(cat "$tmp/out")"
echo "gui_start: ok (frame at columns $frame_x and $right_x)"
