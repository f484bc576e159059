# Shared by the real-window tests: a private Xvfb display, lumora started in it, and clean-up.
# Source it after setting build and source_dir; it sets tmp, fail, DISPLAY and start_lumora.
tmp="$(mktemp -d)"
xvfb_pid=""
lumora_pid=""
window=""
# The sound library turns SIGTERM into a quit request nobody reads: stop it for good.
cleanup() {
  [[ -n "$lumora_pid" ]] && kill -KILL "$lumora_pid" 2>/dev/null
  [[ -n "$xvfb_pid" ]] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

# Checks that program $1 is on PATH; $2, when given, names it in the failure.
need() { command -v "$1" >/dev/null || fail "${2:-$1} is not installed"; }

need Xvfb
need xdotool
[[ -x "$build/lumora" ]] || fail "no $build/lumora"

# A free display: try a few random numbers until a server comes up.
start_xvfb() {
  local attempt
  for attempt in 1 2 3 4 5; do
    display=":$((100 + RANDOM % 800))"
    [[ -e "/tmp/.X11-unix/X${display#:}" ]] && continue
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$tmp/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
      DISPLAY="$display" xdotool getmouselocation >/dev/null 2>&1 && return
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  fail "Xvfb did not start: $(cat "$tmp/xvfb.log")"
}
start_xvfb
export DISPLAY="$display"

# Mesa unloads its driver when the display closes; kept loaded to the end, the leak checker of
# the sanitizer build can tell the driver's own blocks (suppressed in lsan.supp) by their library
# instead of reporting unnamed frames.
preload=""
for dri in /usr/lib/*/dri/swrast_dri.so; do [[ -e "$dri" ]] && preload="$dri"; done

# Starts lumora with the shipped program directory and waits for its window and first display.
start_lumora() {
  LD_PRELOAD="$preload" LUMORA_HOME="$source_dir/data" "$build/lumora" >"$tmp/out" 2>&1 &
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
