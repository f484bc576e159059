#!/usr/bin/env bash
# The quit question in the real window under Xvfb: Esc then y ends lumora with 0; Esc then n
# leaves it running.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

# Starts lumora; the keys go to it with the pointer over its window.
start() {
  start_lumora
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
await_lumora_end "Esc and y"
[[ $lumora_status -eq 0 ]] || fail "exit status $lumora_status after Esc and y: $(cat "$tmp/out")"

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
