#!/usr/bin/env bash
# The quit question in the real window under Xvfb: Esc then y ends lumora with 0 and removes its
# recovery log; Esc then n leaves it running and answering keys.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

# Message row 1, where the question is asked.
row1=(0 0 400 16)

# Starts lumora; the keys go to it with the pointer over its window.
start() {
  start_lumora
  # Not --sync: that waits long when the pointer is already there, as on the second start.
  xdotool mousemove --window "$window" 500 400
  for _ in $(seq $((patience * 10))); do
    [[ "$(xdotool getmouselocation)" == "x:500 y:400 "* ]] && return
    sleep 0.1
  done
  fail "the pointer did not come to the window"
}

# Esc, then y: the program ends with status 0.
start
key_and_wait Escape "${row1[@]}"
xdotool key y
await_lumora_end "Esc and y"
[[ $lumora_status -eq 0 ]] || fail "exit status $lumora_status after Esc and y: $(cat "$tmp/out")"
# A clean quit leaves nothing to recover.
logs=("$lumora_home"/RECOVER/*.log)
[[ ! -e "${logs[0]}" ]] || fail "the quit left a recovery log: ${logs[*]}"

# Esc, then n: the question goes away and the program still answers keys (Esc asks again).
start
key_and_wait Escape "${row1[@]}"
key_and_wait n "${row1[@]}"
key_and_wait Escape "${row1[@]}"
kill -0 "$lumora_pid" 2>/dev/null || fail "lumora ended after Esc and n: $(cat "$tmp/out")"
# The sound library turns SIGTERM into a quit request nobody reads: stop it for good.
kill -KILL "$lumora_pid"
wait "$lumora_pid" 2>/dev/null
lumora_pid=""
echo "gui_quit: ok"
