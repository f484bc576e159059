#!/usr/bin/env bash
# lumora-cli dump: the report of a drawing file on standard output or into a file, made after
# the program's own start-up with the setup of --home/--setup; the program directory's DRAWINGS
# as a fall-back, and one line and status 1 for what cannot be read.
# Usage: cli_dump.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
cli="$build/lumora-cli"
work="$build/test-tmp/shell-cli-dump"
rm -rf "$work"
mkdir -p "$work/home/DRAWINGS"
cp -r "$source_dir/data/SETUP" "$work/home/"
sed 's/^#ACCURATE_SAVING: 1/#ACCURATE_SAVING: 0/' "$source_dir/data/SETUP/Perus_SET.txt" \
  >"$work/home/SETUP/Small_SET.txt"
export LUMORA_HOME="$work/home"
fail() { echo "FAIL: $*" >&2; exit 1; }

# Version 2.0: area (0,0)-(100,50), scale 1, step 1; one open line (1,2)-(3,4); no other records.
printf '\x00\x00\x00\x40' >"$work/line.drw"
printf '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\xc8\x42\x00\x00\x48\x42' >>"$work/line.drw"
printf '\x00\x00\x80\x3f\x00\x00\x80\x3f' >>"$work/line.drw"
printf '\x01\x00\x02\x00\x01\x00\x00\x00\x00\x00' >>"$work/line.drw"
printf '\x00\x00\x80\x3f\x00\x00\x00\x40\x00\x00\x40\x40\x00\x00\x80\x40' >>"$work/line.drw"
printf '\x00\x00\x00\x00\x00\x00' >>"$work/line.drw"

# The shipped setup saves accurately: the drawing in memory is version 3, as in the program.
expected=$'DRAWING: "line.drw"\nversion:  3 limits:    0.0,    0.0,  100.0,   50.0 scale:    1.0 step:    1.0\n\nLines:\n ps0:2 shape:1      1.0,    2.0      3.0,    4.0 '
[ "$("$cli" dump "$work/line.drw")" == "$expected" ] || fail "report on standard output"

"$cli" dump "$work/line.drw" "$work/report.txt"
[ "$(cat "$work/report.txt")" == "$expected" ] || fail "report into a file"
"$cli" dump "$work/line.drw" --setup Small_SET | grep -q '^version:  2 limits:' ||
  fail "--setup names the setup whose version the report shows"

cp "$work/line.drw" "$work/home/DRAWINGS/homed.drw"
(cd "$work" && LUMORA_HOME=/nowhere "$cli" dump homed.drw --home "$work/home" >/dev/null) ||
  fail "--home overrides LUMORA_HOME"
(cd "$work" && "$cli" dump homed.drw >/dev/null) || fail "LUMORA_HOME"
message=$("$cli" dump "$work/line.drw" --setup Nothing 2>&1 >/dev/null) &&
  fail "a missing setup exits 1"
[ "$message" == "lumora-cli dump: the setup 'Nothing' could not be read under '$work/home'" ] ||
  fail "missing setup message: $message"

cp "$work/line.drw" "$work/kept.drw"
message=$("$cli" dump "$work/kept.drw" "$work/../shell-cli-dump/kept.drw" 2>&1) &&
  fail "a report over its own drawing exits 1"
cmp -s "$work/line.drw" "$work/kept.drw" || fail "the report was written over the drawing"

head -c 21 "$work/line.drw" >"$work/cut.drw"
set +e
message=$("$cli" dump "$work/cut.drw" 2>&1 >/dev/null)
status=$?
set -e
[ $status -eq 1 ] || fail "a truncated file exits 1"
[ "$message" == "lumora-cli dump: Reading file not succeeded (DoublesToFloat) !" ] ||
  fail "truncated file message: $message"
message=$("$cli" dump "$work/none.drw" 2>&1 >/dev/null) && fail "a missing file exits 1"
[ "$(echo "$message" | wc -l)" -eq 1 ] || fail "one line for a missing file"
"$cli" dump 2>/dev/null && fail "no drawing is a usage error"
echo "cli_dump: ok"
