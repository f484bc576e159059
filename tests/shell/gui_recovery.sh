#!/usr/bin/env bash
# A window killed with SIGKILL loses nothing it committed: started again, it asks whether to
# recover the drawing, and y brings back exactly the drawing report written before the kill.
# Then kills at random moments during a stretch of lines: what comes back is always the
# drawing after some committed line, never a mixture, and never fewer lines than had been seen
# drawn. LUMORA_RECOVERY_KILLS sets how many kills (5 unless set).
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

cd "$tmp"

# Shift+F5 writes the drawing report (Database.txt for a drawing without a name) into $1.
report() {
  rm -f "$tmp/Database.txt"
  press shift+F5
  for _ in $(seq $((patience * 10))); do
    [[ -s "$tmp/Database.txt" ]] && break
    sleep 0.1
  done
  [[ -s "$tmp/Database.txt" ]] || fail "Shift+F5 wrote no report"
  mv "$tmp/Database.txt" "$1"
}
kill_lumora() {
  kill -KILL "$lumora_pid"
  wait "$lumora_pid" 2>/dev/null
  lumora_pid=""
}
# Line number $1 of the stretch: a horizontal line of its own row.
settled_line() {
  press F1
  press Return
  click_at 300 $((200 + 30 * $1))
  click_at 600 $((200 + 30 * $1))
  press Tab
  press Escape
}

# Three lines (a rectangle among them) and a filling, by keys and clicks.
start_lumora
press F1
press Return
press o
click_at 283 745
click_at 557 609
press Tab
press Escape
settled_line 0
settled_line 1
press alt+F1
press Return
click_at 283 677
press Tab
press Escape
report "$tmp/before.txt"
kill_lumora
start_lumora
press y
report "$tmp/after.txt"
cmp -s "$tmp/before.txt" "$tmp/after.txt" ||
  { diff "$tmp/before.txt" "$tmp/after.txt" | head -20
    fail "the recovered drawing differs from the one before the kill"; }
kill_lumora

# The drawing after each line of the stretch, drawn with waits.
lines=8
rm -rf "$lumora_home/RECOVER"
start_lumora
report "$tmp/state0.txt"
for ((k = 0; k < lines; ++k)); do
  settled_line "$k"
  report "$tmp/state$((k + 1)).txt"
done
kill_lumora

kills="${LUMORA_RECOVERY_KILLS:-5}"
recovered=""
# Every line's first click comes after a move of the pointer: a window opened under a resting
# pointer takes a click without a move at its start cursor.
park_pointer() { xdotool mousemove 2 2; }
for ((run = 1; run <= kills; ++run)); do
  rm -rf "$lumora_home/RECOVER"
  park_pointer
  start_lumora
  seen=$((RANDOM % 3))
  for ((k = 0; k < seen; ++k)); do settled_line "$k"; done
  # Each key waits for the window, as a person's next key does, so what the keys draw is
  # what the states above hold; the window may be gone under them.
  (for ((k = seen; k < lines; ++k)); do settled_line "$k"; done) >/dev/null 2>&1 &
  keys=$!
  sleep "$((RANDOM % 3)).$((RANDOM % 10))"
  kill_lumora
  kill "$keys" 2>/dev/null
  wait "$keys" 2>/dev/null
  # A log that holds no step asks nothing; otherwise y recovers.
  logged="$("$build/lumora-cli" recover "$lumora_home/RECOVER/slot1.log" "$tmp/probe.drw" \
    --home "$lumora_home" 2>&1)" || fail "run $run: the log left is no log: $logged"
  park_pointer
  start_lumora
  [[ "$logged" == *" of 0 steps"* ]] || press y
  report "$tmp/recovered.txt"
  match=""
  for ((k = lines; k >= 0; --k)); do
    if cmp -s "$tmp/recovered.txt" "$tmp/state$k.txt"; then
      match="$k"
      break
    fi
  done
  [[ -n "$match" ]] || { cp "$tmp/recovered.txt" "$build/gui_recovery.out.txt"
    fail "run $run: the recovered drawing is no state the lines went through"; }
  ((match >= seen)) || fail "run $run: $match lines recovered of $seen seen drawn"
  recovered+=" $match/$seen"
  kill_lumora
done
echo "gui_recovery: ok ($kills kills; lines recovered/seen drawn:$recovered)"
