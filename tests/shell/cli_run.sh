#!/usr/bin/env bash
# lumora-cli run: a script as the whole drawing with canned answers, its PRINT lines and error
# reports on the console, the report files in SETUP/, the drawing saved; a run left without
# answers, a run that never ends and a script that cannot be read end with one line and 1.
# Usage: cli_run.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
cli="$build/lumora-cli"
work="$build/test-tmp/shell-cli-run"
rm -rf "$work"
mkdir -p "$work/home"
cp -r "$source_dir/data/SETUP" "$work/home/"
export LUMORA_HOME="$work/home"
fail() { echo "FAIL: $*" >&2; exit 1; }

cat >"$work/part.txt" <<'SCRIPT'
INPUT "Width", W
INPUT_SELECT "Holes", H, "none", "one", "two"
FOR I = 1 TO H - 1
CIRCLE 1, I * 10, 5, I * 10 + 2, 5
NEXT I
LINE 1, 0, 0, W, 0, W, 20, 0, 20, 0, 0
PRINT "W=" + W + " holes " + H
X = 1/0
SCRIPT
out=$("$cli" run "$work/part.txt" --answer 60 --answer 3 --save "$work/part.drw")
grep -q "W=60 holes 3" <<<"$out" || fail "PRINT on the console: $out"
grep -q "Try to divide with zero!" <<<"$out" || fail "error report on the console"
grep -q "^W=60 holes 3" "$work/home/SETUP/PRINTINGS.txt" || fail "PRINTINGS.txt"
grep -q "X = 1/0   \[8. row\]:" "$work/home/SETUP/ERRORS.txt" || fail "ERRORS.txt"
report=$("$cli" dump "$work/part.drw")
[ "$(grep -c "shape:4" <<<"$report")" == 2 ] || fail "two circles: $report"
grep -q "ps0:5 shape:1" <<<"$report" || fail "the outline: $report"

if "$cli" run "$work/part.txt" --answer 60 2>"$work/err"; then fail "no answer left"; fi
grep -q "ended with 0" "$work/err" || fail "cancelled run: $(cat "$work/err")"
printf 'A = 0\nTOP: A = A + 1\nGOTO TOP\n' >"$work/loop.txt"
if "$cli" run "$work/loop.txt" --limit 20000 2>"$work/err" >/dev/null; then fail "endless run"; fi
grep -q "ended with -1" "$work/err" || fail "stopped run: $(cat "$work/err")"
# Pauses beyond a day are refused: two that would run the clock to infinity end at once.
printf 'WAIT 1e308\nWAIT 1e308\n' >"$work/wait.txt"
out=$(timeout 20 "$cli" run "$work/wait.txt") || fail "endless waits"
[ "$(grep -c "Waiting time over one day not allowed!" <<<"$out")" == 2 ] || fail "waits: $out"
if "$cli" run "$work/none.txt" 2>"$work/err" >/dev/null; then fail "missing script"; fi
[ "$(wc -l <"$work/err")" == 1 ] || fail "one line for a missing script"

# A data-file cascade: the answers pick a row at each level; an event file walks a level deeper,
# back with Backspace, and into the other file, checking the windows on the way.
mkdir -p "$work/DATA"
printf 'KIND, FILE\nbolt, bolts\nnut, nuts\n' >"$work/DATA/kinds.txt"
printf 'D, L\nM6, 30\nM8, 40\n' >"$work/DATA/bolts.txt"
printf 'D, H\nM10, 8\n' >"$work/DATA/nuts.txt"
printf 'INPUT_FILE "Pick a size", "kinds"\nPRINT KIND + " " + D\nLINE 1, 0, 0, L, 0\n' \
  >"$work/pick.txt"
out=$("$cli" run "$work/pick.txt" --answer 1 --answer 2 --save "$work/pick.drw")
grep -q "^bolt M8" <<<"$out" || fail "rows picked by number: $out"
grep -q "40.0,    0.0" <<<"$("$cli" dump "$work/pick.drw")" || fail "the line of the M8 bolt"
cat >"$work/pick.events" <<'EVENTS'
expect-prompt Pick a size
expect-text 3 KIND, FILE
key Down
key Enter
expect-text 5 D, H
expect-text 6 M10, 8
key Backspace
expect-text 5 nut, nuts
key Up
key Enter
expect-text 5 D, L
key End
key Enter
expect-count lines 1
expect-dump  ps0:2 shape:1      0.0,    0.0     40.0,    0.0 
EVENTS
out=$("$cli" run "$work/pick.txt" --events "$work/pick.events") || fail "event lines: $out"
grep -q "^bolt M8" <<<"$out" || fail "rows picked by the event lines: $out"
printf 'key Enter\nexpect-count lines 2\n' >"$work/wrong.events"
if "$cli" run "$work/pick.txt" --events "$work/wrong.events" 2>"$work/err" >/dev/null; then
  fail "a failed expectation"
fi
grep -q "wrong.events:2: " "$work/err" || fail "the failed line named: $(cat "$work/err")"
echo "cli_run: ok"
