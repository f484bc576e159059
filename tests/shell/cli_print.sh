#!/usr/bin/env bash
# Print from an event file: no writes nothing; yes writes PLOTS/<drawing>.pdf under the program
# directory, an A4 page titled Lumora, and a program directory without PLOTS/ gets one.
set -u
build="$1"
source_dir="$2"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cp -r "$source_dir/data" "$tmp/home"
rm -rf "$tmp/home/PLOTS"
cp "$source_dir/tests/events/sheets/sheet10.drw" "$tmp/"
play() { # ANSWER
  printf 'load sheet10.drw\nkey F8\nkey %s\nexpect-prompt Lumora-program: SELECT FUNCTION !\n' \
    "$1" >"$tmp/print.events"
  "$build/lumora-cli" play "$tmp/print.events" --home "$tmp/home" --out "$tmp/out" ||
    fail "print with $1"
}

play n
[[ -e "$tmp/home/PLOTS/sheet10.pdf" ]] && fail "no wrote a page"
play y
pdf="$tmp/home/PLOTS/sheet10.pdf"
[[ -f "$pdf" ]] || fail "yes wrote no PLOTS/sheet10.pdf"
pdfinfo "$pdf" | grep -q 'Page size: *595.276 x 841.89 pts' || fail "not an A4 page"
pdfinfo "$pdf" | grep -q 'Title: *Lumora' || fail "the page is not titled Lumora"
ls "$tmp/home/PLOTS" | grep -v '^sheet10.pdf$' && fail "a temporary file was left behind"
echo "cli_print: ok"
