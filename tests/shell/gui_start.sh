#!/usr/bin/env bash
# The real window under Xvfb: lumora starts with the shipped setup, shows the message band and
# the dotted blue sheet frame where the view puts it, and closing the window ends it with 0.
set -u
build="$1"
source_dir="$2"
tmp="$(mktemp -d)"
xvfb_pid=""
lumora_pid=""
cleanup() {
  [[ -n "$lumora_pid" ]] && kill "$lumora_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

command -v Xvfb >/dev/null || fail "Xvfb is not installed"
command -v xdotool >/dev/null || fail "xdotool is not installed"
command -v xwd >/dev/null || fail "xwd is not installed"
command -v convert >/dev/null || fail "ImageMagick is not installed"
[[ -x "$build/lumora" ]] || fail "no $build/lumora"

# A free display: try a few random numbers until a server comes up.
for attempt in 1 2 3 4 5; do
  display=":$((100 + RANDOM % 800))"
  [[ -e "/tmp/.X11-unix/X${display#:}" ]] && continue
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do
    DISPLAY="$display" xdotool getmouselocation >/dev/null 2>&1 && break 2
    sleep 0.1
  done
  kill "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
done
[[ -n "$xvfb_pid" ]] || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
export DISPLAY="$display"

# Sends the window manager's close request, as a desktop's close button does.
cat >"$tmp/close.c" <<'C'
#include <X11/Xlib.h>
#include <stdlib.h>
int main(int argc, char **argv) {
  Display *d = XOpenDisplay(NULL);
  if (d == NULL || argc < 2) return 2;
  Window w = (Window)strtoul(argv[1], NULL, 0);
  XEvent e = {0};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = (long)XInternAtom(d, "WM_DELETE_WINDOW", False);
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, w, False, NoEventMask, &e);
  XCloseDisplay(d);
  return 0;
}
C
cc -o "$tmp/close" "$tmp/close.c" -lX11 || fail "cannot build the close helper"

LUMORA_HOME="$source_dir/data" "$build/lumora" >"$tmp/out" 2>&1 &
lumora_pid=$!
window=""
for _ in $(seq 100); do
  window="$(xdotool search --name '^Lumora$' 2>/dev/null | head -1)"
  [[ -n "$window" ]] && break
  kill -0 "$lumora_pid" 2>/dev/null || fail "lumora ended at start: $(cat "$tmp/out")"
  sleep 0.1
done
[[ -n "$window" ]] || fail "no Lumora window appeared"
sleep 1 # the first display

xwd -root -silent | convert xwd:- "$tmp/screen.png" || fail "no screenshot"
pixel() { convert "$tmp/screen.png" -format "%[fx:int(255*r)],%[fx:int(255*g)],%[fx:int(255*b)]" \
  -crop "1x1+$1+$2" info:; }
count_blue() { # blue pixels in a column from row $2, $3 rows long
  convert "$tmp/screen.png" -crop "1x$3+$1+$2" txt:- | grep -ci "#0000FF"
}

# The shipped setup: a 1000 x 800 window at 0 0, a 198 x 281 sheet on black. The drawing area
# is 1000 x 768 below the band, fitted by height: 768 / 281 pixels per unit, the sheet centred.
frame_x="$(awk 'BEGIN { s = 768 / 281; w = 281 * 1000 / 768; x0 = 99 - w / 2;
                        printf "%d", int((0 - x0) * s) }')"
right_x="$(awk 'BEGIN { s = 768 / 281; w = 281 * 1000 / 768; x0 = 99 - w / 2;
                        printf "%d", int((198 - x0) * s) }')"

[[ "$(pixel 900 10)" == "255,255,255" ]] || fail "message band not white at 900,10: $(pixel 900 10)"
[[ "$(pixel 900 400)" == "0,0,0" ]] || fail "sheet not black at 900,400: $(pixel 900 400)"
grep -q . <(convert "$tmp/screen.png" -crop 300x16+0+0 txt:- | grep -i "#FF0000") ||
  fail "no prompt on message row 1"
for x in "$frame_x" "$right_x"; do
  n="$(count_blue "$x" 40 700)"
  (( n > 50 )) || fail "dotted frame missing at column $x ($n blue pixels)"
  m="$(count_blue $((x + 3)) 40 700)"
  (( m == 0 )) || fail "frame at the wrong place: column $((x + 3)) has $m blue pixels"
done

"$tmp/close" "$window" || fail "close request not sent"
for _ in $(seq 50); do
  kill -0 "$lumora_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$lumora_pid" 2>/dev/null && fail "lumora still runs 5 s after its window was closed"
wait "$lumora_pid"
status=$?
lumora_pid=""
[[ $status -eq 0 ]] || fail "exit status $status: $(cat "$tmp/out")"
echo "gui_start: ok (frame at columns $frame_x and $right_x)"
