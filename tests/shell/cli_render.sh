#!/usr/bin/env bash
# lumora-cli render: refusals are one line and exit status 1; the picture itself is compared
# with its golden by the unit test that runs the same start-up and read.
set -u
build="$1"
source_dir="$2"
cli="$build/lumora-cli"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

expect_refusal() {
  local what="$1"; shift
  "$cli" render "$@" >"$tmp/out" 2>"$tmp/err" && fail "$what: exit status 0"
  [[ $(wc -l <"$tmp/err") -eq 1 ]] || fail "$what: not one line: $(cat "$tmp/err")"
  grep -q "^lumora-cli render: " "$tmp/err" || fail "$what: $(cat "$tmp/err")"
}

expect_refusal "no arguments"
expect_refusal "bad size" a.drw "$tmp/a.png" --size 12 --home "$source_dir/data"
expect_refusal "unknown option" a.drw "$tmp/a.png" --colour 3
expect_refusal "missing setup" a.drw "$tmp/a.png" --home "$source_dir/data" --setup Nothing
expect_refusal "missing drawing" "$tmp/none.drw" "$tmp/a.png" --home "$source_dir/data"
[[ -e "$tmp/a.png" ]] && fail "a refused render wrote a picture"
printf 'drawing' >"$tmp/same.drw"
expect_refusal "picture over the drawing" "$tmp/same.drw" "$tmp/./same.drw" --home "$source_dir/data"
[[ "$(cat "$tmp/same.drw")" == "drawing" ]] || fail "the drawing was written over"
echo "cli_render: ok"
