# Shared by the real-window tests: a private Xvfb display, lumora started in it, and clean-up.
# Source it after setting build and source_dir; it sets tmp, fail, DISPLAY, xshot (the window
# reader of tests/support/xshot.cpp) and start_lumora.
tmp="$(mktemp -d)"
xvfb_pid=""
lumora_pid=""
window=""
# The sound library turns SIGTERM into a quit request nobody reads: stop it for good.
cleanup() {
  [[ -n "$lumora_pid" ]] && kill -KILL "$lumora_pid" 2>/dev/null
  # A server still shutting down removes its socket late, perhaps the next server's by then:
  # the test ends only once its server is gone.
  if [[ -n "$xvfb_pid" ]]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Checks that program $1 is on PATH; $2, when given, names it in the failure.
need() { command -v "$1" >/dev/null || fail "${2:-$1} is not installed"; }

need Xvfb
need xdotool
[[ -x "$build/lumora" ]] || fail "no $build/lumora"
xshot="$build/tests/lumora_xshot"
[[ -x "$xshot" ]] || fail "no $xshot"
# How long a window test waits for something it expects to see.
patience=20

# A private display: the server picks a free number itself and tells it on a descriptor once it
# takes connections, so tests running side by side never share or steal one. Without -noreset
# the server resets whenever its last client leaves (the helpers come and go, a test starts
# lumora twice) and refuses the connections that arrive meanwhile.
start_xvfb() {
  Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$tmp/display" \
    >"$tmp/xvfb.log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq $((patience * 10))); do
    [[ -s "$tmp/display" ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  [[ -s "$tmp/display" ]] || fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
  display=":$(head -n 1 "$tmp/display")"
}
start_xvfb
export DISPLAY="$display"

# Mesa unloads its driver when the display closes; kept loaded to the end, the leak checker of
# the sanitizer build can tell the driver's own blocks (suppressed in lsan.supp) by their library
# instead of reporting unnamed frames.
preload=""
for dri in /usr/lib/*/dri/swrast_dri.so; do [[ -e "$dri" ]] && preload="$dri"; done

# A drawing made from the DXF file $1 as the only drawing $2 of a private copy of the program
# directory, which start_lumora then uses.
only_drawing() {
  lumora_home="$tmp/home"
  rm -rf "$lumora_home"
  cp -r "$source_dir/data" "$lumora_home"
  rm -f "$lumora_home"/DRAWINGS/*
  "$build/lumora-cli" convert "$1" "$lumora_home/DRAWINGS/$2" --home "$lumora_home" \
    >"$tmp/convert.out" 2>&1 || fail "no drawing $2: $(cat "$tmp/convert.out")"
}

# Starts lumora with a private copy of the shipped program directory (or lumora_home, when a
# test sets it to a copy of its own) and waits for its window and its first
# display: the white message band at the top, then a window that stays unchanged.
start_lumora() {
  # A program directory of the test's own: the program keeps its recovery log there, and a log
  # left by a killed window must never be offered to another test.
  if [[ -z "${lumora_home:-}" ]]; then
    lumora_home="$tmp/home"
    cp -r "$source_dir/data" "$lumora_home"
    rm -rf "$lumora_home/RECOVER" # what `make run` may have left in data/
  fi
  LD_PRELOAD="$preload" LUMORA_NO_PRINTER=1 LUMORA_HOME="$lumora_home" "$build/lumora" >"$tmp/out" 2>&1 &
  lumora_pid=$!
  window=""
  for _ in $(seq 100); do
    window="$(xdotool search --name '^Lumora$' 2>/dev/null | head -1)"
    [[ -n "$window" ]] && break
    kill -0 "$lumora_pid" 2>/dev/null || fail "lumora ended at start: $(cat "$tmp/out")"
    sleep 0.1
  done
  [[ -n "$window" ]] || fail "no Lumora window appeared"
  "$xshot" wait "$window" 900 10 ffffff "$patience" || fail "no message band in $patience s"
  # The band comes first; the display is done when nothing more changes.
  "$xshot" settle "$window" 0.3 "$patience" || fail "the first display never ended"
}

# Moves the pointer to window pixel x y and waits until it is there. A move with --sync to where
# the pointer already is would wait out xdotool's own timeout for a motion that never comes.
pointer_to() {
  local X Y WIDTH HEIGHT SCREEN WINDOW left top
  eval "$(xdotool getwindowgeometry --shell "$window")"
  left=$X top=$Y
  eval "$(xdotool getmouselocation --shell)"
  ((X == left + $1 && Y == top + $2)) && return
  xdotool mousemove --sync --window "$window" "$1" "$2"
}

# Takes a screenshot of the window's client area into $1.
shot() { "$xshot" shot "$window" "$1" || fail "no screenshot"; }

# Waits until the window has stayed unchanged for $quiet seconds (0.3 unless a test sets it);
# $1 names what the window was waiting for.
settle() {
  "$xshot" settle "$window" "${quiet:-0.3}" "$patience" || fail "the window never settled after $1"
}

# Reads the first drawing of the list by F6 (the pointer kept off the sheet) into
# $tmp/read.png and checks that the window below the prompt line, which notes the file read,
# equals lumora-cli render of drawing $1 of the program directory.
read_first_and_match_render() {
  pointer_to 500 700
  settle "the move away"
  xdotool key F6
  settle "F6"
  xdotool key Home Return
  settle "reading $1"
  shot "$tmp/read.png"
  "$build/lumora-cli" render "$lumora_home/DRAWINGS/$1" "$tmp/render.png" \
    --home "$lumora_home" --size 1000x800 >"$tmp/render.out" 2>&1 ||
    fail "no render: $(cat "$tmp/render.out")"
  local differing
  differing="$("$xshot" compare "$tmp/read.png" "$tmp/render.png" 0 0 "$tmp/read.diff.png" \
    0 16 1000 784)" ||
    { cp "$tmp"/read*.png "$build/" 2>/dev/null
      fail "the window differs from the render in $differing pixels (see $build/read.*)"; }
}

# Keys, then the wait for the window to settle.
press() { xdotool key "$@"; settle "$*"; }

# A left click at window pixel x y, the pointer moved there first.
click_at() {
  pointer_to "$1" "$2"
  settle "the move to $1 $2"
  xdotool click 1
  settle "the click at $1 $2"
}

# Presses key $1 and waits until the rectangle x y w h ($2..$5) of the window changes.
key_and_wait() {
  shot "$tmp/before.png"
  xdotool key "$1"
  "$xshot" wait-change "$window" "$tmp/before.png" "$2" "$3" "$4" "$5" "$patience" ||
    fail "nothing changed at $2,$3 ${4}x$5 after the key $1"
}

# Waits up to 5 s for lumora to end, then takes its exit status into lumora_status.
await_lumora_end() {
  for _ in $(seq 50); do
    kill -0 "$lumora_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$lumora_pid" 2>/dev/null && fail "lumora still runs 5 s after $1"
  wait "$lumora_pid"
  lumora_status=$?
  lumora_pid=""
}
