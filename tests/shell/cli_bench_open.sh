#!/usr/bin/env bash
# lumora-cli bench-open: reads a drawing and prints its read, redraw, pick and snap times; one
# line and status 1 for a drawing that cannot be read.
# Usage: cli_bench_open.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
cli="$build/lumora-cli"
export LUMORA_HOME="$source_dir/data"
fail() { echo "FAIL: $*" >&2; exit 1; }

out=$("$cli" bench-open "$source_dir/tests/events/sheets/sheet10.drw")
for line in drawing read redraw pick 'snap line' 'snap point' 'snap intersection'; do
  echo "$out" | grep -q "^$line  *" || fail "no '$line' line in: $out"
done
echo "$out" | grep -q '^read .* ms, [0-9.]* MB/s, peak resident [0-9.]* MB$' || fail "read: $out"
echo "$out" | grep -q '^redraw .* ms, whole sheet on 1000 x 800' || fail "redraw: $out"

set +e
message=$("$cli" bench-open "$source_dir/tests/events/sheets/none.drw" 2>&1 >/dev/null)
status=$?
set -e
[ $status -eq 1 ] || fail "a missing drawing exits 1"
[ "$(echo "$message" | wc -l)" -eq 1 ] || fail "one line for a missing drawing: $message"
"$cli" --help | grep -q 'bench-open DRAWING' || fail "--help names bench-open"
echo "cli_bench_open: ok"
