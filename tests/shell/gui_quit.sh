#!/usr/bin/env bash
# The quit question in the real window under Xvfb: Esc then y ends lumora with 0; Esc then n
# leaves it running.
set -u
build="$1"
source_dir="$2"
tmp="$(mktemp -d)"
xvfb_pid=""
lumora_pid=""
cleanup() {
  [[ -n "$lumora_pid" ]] && kill -KILL "$lumora_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

command -v Xvfb >/dev/null || fail "Xvfb is not installed"
command -v xdotool >/dev/null || fail "xdotool is not installed"
[[ -x "$build/lumora" ]] || fail "no $build/lumora"

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

# Starts lumora and waits for its window; the keys go to it with the pointer over it.
start() {
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
  xdotool mousemove --window "$window" 500 400
  sleep 0.3
}

keys() {
  for k in "$@"; do
    xdotool key "$k"
    sleep 0.5
  done
}

# Esc, then y: the program ends with status 0.
start
keys Escape y
for _ in $(seq 50); do
  kill -0 "$lumora_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$lumora_pid" 2>/dev/null && fail "lumora still runs after Esc and y"
wait "$lumora_pid"
status=$?
lumora_pid=""
[[ $status -eq 0 ]] || fail "exit status $status after Esc and y: $(cat "$tmp/out")"

# Esc, then n: it goes on running.
start
keys Escape n
sleep 1
kill -0 "$lumora_pid" 2>/dev/null || fail "lumora ended after Esc and n: $(cat "$tmp/out")"
# The sound library turns SIGTERM into a quit request nobody reads: stop it for good.
kill -KILL "$lumora_pid"
wait "$lumora_pid" 2>/dev/null
lumora_pid=""
echo "gui_quit: ok"
