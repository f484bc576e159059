#!/usr/bin/env bash
# The real window under Xvfb: lumora starts with the shipped setup, shows the message band and
# the dotted blue sheet frame where the view puts it, and closing the window ends it with 0.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"
need xwd
need convert ImageMagick

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

start_lumora

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
await_lumora_end "its window was closed"
[[ $lumora_status -eq 0 ]] || fail "exit status $lumora_status: $(cat "$tmp/out")"
echo "gui_start: ok (frame at columns $frame_x and $right_x)"
