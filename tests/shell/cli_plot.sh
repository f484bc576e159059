#!/usr/bin/env bash
# lumora-cli plot: the PDF page read back with poppler and qpdf. On a 1:10 A4 sheet the line
# (100,100)-(200,100) is 10 mm long and starts 15 mm from the left and bottom edges of the
# page; at 1:20 it is half as long; on a landscape sheet it runs up the page. Refusals are one
# line, exit status 1, and leave no file.
set -u
build="$1"
source_dir="$2"
cli="$build/lumora-cli"
home="$source_dir/data"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

# A version 2 drawing: sheet, scale 10, step 1, one solid line (100,100)-(200,100) of 0.3 mm.
drawing() { # NAME SHEET_BYTES
  printf '\x00\x00\x00\x40%b\x00\x00\x20\x41\x00\x00\x80\x3f\x01\x00' "$2" >"$tmp/$1"
  printf '\x02\x00\x00\x00\x13\x01\x00\x00' >>"$tmp/$1"
  printf '\x00\x00\xc8\x42\x00\x00\xc8\x42\x00\x00\x48\x43\x00\x00\xc8\x42' >>"$tmp/$1"
  printf '\x00\x00\x00\x00\x00\x00' >>"$tmp/$1"
}
drawing portrait.drw '\x00\x00\x00\x00\x00\x00\x00\x00\x00\x80\xf7\x44\x00\xa0\x2f\x45'
drawing landscape.drw '\x00\x00\x00\x00\x00\x00\x00\x00\x00\xa0\x2f\x45\x00\x80\xf7\x44'

# The stroked segments of the page in millimetres from its lower left corner, one
# "x0 y0 x1 y1" line each: the uncompressed content stream, with its matrices applied.
segments() {
  qpdf --qdf --object-streams=disable "$1" "$tmp/flat.pdf" || fail "qpdf cannot read $1"
  awk 'BEGIN { a = 1; b = 0; c = 0; d = 1; e = 0; f = 0; mm = 25.4 / 72; depth = 0 }
       /^stream/ { on = 1; next }
       /^endstream/ { on = 0; next }
       on { for (k = 1; k <= NF; ++k) {
              t = $k
              if (t ~ /^-?[0-9.]+$/) { v[++n] = t; continue }
              if (t == "q") { depth++; sa[depth] = a; sb[depth] = b; sc[depth] = c
                              sd[depth] = d; se[depth] = e; sf[depth] = f }
              else if (t == "Q" && depth > 0) { a = sa[depth]; b = sb[depth]; c = sc[depth]
                              d = sd[depth]; e = se[depth]; f = sf[depth]; depth-- }
              else if (t == "cm" && n >= 6) {
                na = v[1] * a + v[2] * c; nb = v[1] * b + v[2] * d
                nc = v[3] * a + v[4] * c; nd = v[3] * b + v[4] * d
                ne = v[5] * a + v[6] * c + e; nf = v[5] * b + v[6] * d + f
                a = na; b = nb; c = nc; d = nd; e = ne; f = nf }
              else if (t == "m" && n >= 2) { x = v[1] * a + v[2] * c + e; y = v[1] * b + v[2] * d + f }
              else if (t == "l" && n >= 2) {
                nx = v[1] * a + v[2] * c + e; ny = v[1] * b + v[2] * d + f
                printf "%.3f %.3f %.3f %.3f\n", x * mm, y * mm, nx * mm, ny * mm; x = nx; y = ny }
              n = 0 } }' \
    "$tmp/flat.pdf"
}

# The cubic curves of the page in millimetres, one "x y" line for each curve's end and middle.
curve_points() {
  qpdf --qdf --object-streams=disable "$1" "$tmp/flat.pdf" || fail "qpdf cannot read $1"
  awk 'BEGIN { mm = 25.4 / 72 }
       /^stream/ { on = 1; next }
       /^endstream/ { on = 0; next }
       on && $NF == "cm" { a = $1; d = $4; e = $5; f = $6 }
       on && $NF == "m" { x = $1; y = $2 }
       on && $NF == "c" {
         mx = (x + 3 * $1 + 3 * $3 + $5) / 8; my = (y + 3 * $2 + 3 * $4 + $6) / 8
         printf "%.4f %.4f\n%.4f %.4f\n", (a * mx + e) * mm, (d * my + f) * mm, (a * $5 + e) * mm, (d * $6 + f) * mm
         x = $5; y = $6 }' "$tmp/flat.pdf"
}

near() { awk -v a="$1" -v b="$2" 'BEGIN { d = a - b; exit !(d <= 0.02 && d >= -0.02) }'; }

"$cli" plot "$tmp/portrait.drw" "$tmp/p.pdf" --home "$home" || fail "portrait plot: exit $?"
pdfinfo "$tmp/p.pdf" | grep -q 'Page size: *595.276 x 841.89 pts' || fail "not an A4 page"
pdfinfo "$tmp/p.pdf" | grep -q 'Title: *Lumora' || fail "the page is not titled Lumora"
read -r x0 y0 x1 y1 < <(segments "$tmp/p.pdf")
near "$x0" 15 && near "$y0" 15 || fail "the line starts at $x0 $y0, not 15 15"
near "$x1" 25 && near "$y1" 15 || fail "the line ends at $x1 $y1, not 25 15"

"$cli" plot "$tmp/portrait.drw" "$tmp/half.pdf" --scale 20 --home "$home" || fail "--scale 20"
read -r x0 y0 x1 y1 < <(segments "$tmp/half.pdf")
near "$x0" 10 && near "$x1" 15 && near "$y1" 10 || fail "at 1:20: $x0 $y0 $x1 $y1"

"$cli" plot "$tmp/landscape.drw" "$tmp/l.pdf" --paper a3 --home "$home" || fail "landscape plot"
pdfinfo "$tmp/l.pdf" | grep -q 'Page size: *841.89 x 1190.55 pts' || fail "not an A3 page"
read -r x0 y0 x1 y1 < <(segments "$tmp/l.pdf")
near "$x0" "$x1" && near "$(awk -v a="$y0" -v b="$y1" 'BEGIN { print b - a }')" 10 ||
  fail "the landscape line does not run 10 mm up the page: $x0 $y0 $x1 $y1"

for f in p half l; do
  qpdf --check "$tmp/$f.pdf" >/dev/null || fail "qpdf finds faults in $f.pdf"
done

expect_refusal() {
  local what="$1"; shift
  "$cli" plot "$@" >"$tmp/out" 2>"$tmp/err" && fail "$what: exit status 0"
  [[ $(wc -l <"$tmp/err") -eq 1 ]] || fail "$what: not one line: $(cat "$tmp/err")"
  grep -q "^lumora-cli plot: " "$tmp/err" || fail "$what: $(cat "$tmp/err")"
}
expect_refusal "no arguments"
expect_refusal "bad scale" "$tmp/portrait.drw" "$tmp/r.pdf" --scale 0 --home "$home"
expect_refusal "bad paper" "$tmp/portrait.drw" "$tmp/r.pdf" --paper B5 --home "$home"
expect_refusal "missing drawing" "$tmp/none.drw" "$tmp/r.pdf" --home "$home"
expect_refusal "no such directory" "$tmp/portrait.drw" "$tmp/no/r.pdf" --home "$home"
expect_refusal "plot over the drawing" "$tmp/portrait.drw" "$tmp/./portrait.drw" --home "$home"
[[ -z "$(ls "$tmp" | grep -v -e '\.drw$' -e '\.pdf$' -e '^out$' -e '^err$')" ]] ||
  fail "a refused plot left files: $(ls "$tmp")"
[[ -e "$tmp/r.pdf" ]] && fail "a refused plot wrote a page"
# A circle of radius 100 about (500, 500) at 1:10: 10 mm about (55, 55) on the page, its
# curves nowhere off by more than the tolerance.
mkdir -p "$tmp/home"
cp -r "$home/SETUP" "$tmp/home/"
printf 'LIMITS 0, 0, 1980, 2810\nSCALE 10\nCIRCLE 1, 500, 500, 600, 500\n' >"$tmp/circle.txt"
LUMORA_HOME="$tmp/home" "$cli" run "$tmp/circle.txt" --save "$tmp/circle.drw" >/dev/null ||
  fail "the circle script"
"$cli" plot "$tmp/circle.drw" "$tmp/c.pdf" --home "$home" || fail "circle plot"
points=$(curve_points "$tmp/c.pdf")
[[ $(wc -l <<<"$points") -eq 8 ]] || fail "a circle of four curves expected: $points"
awk '{ r = sqrt(($1 - 55) ^ 2 + ($2 - 55) ^ 2); if (r < 9.99 || r > 10.01) bad = bad " " r }
     END { if (bad != "") { print "radii off:" bad; exit 1 } }' <<<"$points" ||
  fail "the circle is not round"
echo "cli_plot: ok"
