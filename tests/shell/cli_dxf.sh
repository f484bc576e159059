#!/usr/bin/env bash
# DXF from the command line: drawings converted to DXF pass an independent reader's audit
# (python3-ezdxf; that check is skipped with a message when it is missing) and convert back
# with the same elements; hand-written R12 and R2000 files render as their goldens; a cut
# file is refused with the reader's message and no output.
# Usage: cli_dxf.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
cli="$build/lumora-cli"
work="$build/test-tmp/shell-cli-dxf"
rm -rf "$work"
mkdir -p "$work"
home="$source_dir/data"
fail() { echo "FAIL: $*" >&2; exit 1; }

# Element counts of a drawing report: the lines under each heading.
counts() {
  "$cli" dump "$1" --home "$home" | awk '/^(Lines|Fillings|Texts|Parts):/ {k=$1; next} NF && k {n[k]++} END {for (k in n) print k, n[k]}' | sort
}

python=""
for candidate in /usr/bin/python3 python3; do
  if command -v "$candidate" >/dev/null && "$candidate" -c 'import ezdxf' 2>/dev/null; then
    python="$candidate"
    break
  fi
done
[ -n "$python" ] || echo "cli_dxf: python3-ezdxf is not installed, the independent audit is skipped"

for drawing in "$source_dir/fuzz/seeds/fuzz_drawing_file/nested_parts_v3.drw" \
               "$source_dir/fuzz/seeds/fuzz_drawing_file/sample_v3.drw" \
               "$source_dir/tests/events/drawings/sample.drw"; do
  name=$(basename "$drawing" .drw)
  "$cli" convert "$drawing" "$work/$name.dxf" --home "$home" || fail "$name: convert to DXF"
  if [ -n "$python" ]; then
    "$python" - "$work/$name.dxf" <<'PY' || fail "$name: the DXF does not pass the audit"
import sys, ezdxf
doc = ezdxf.readfile(sys.argv[1])
auditor = doc.audit()
for entry in auditor.errors + auditor.fixes:
    print("audit:", entry.message)
sys.exit(1 if auditor.errors or auditor.fixes else 0)
PY
  fi
  "$cli" convert "$work/$name.dxf" "$work/$name.back.drw" --home "$home" || fail "$name: back"
  [ "$(counts "$drawing")" == "$(counts "$work/$name.back.drw")" ] ||
    fail "$name: counts differ: $(counts "$drawing") / $(counts "$work/$name.back.drw")"
done

for sample in r12_sample r2000_sample; do
  out="$work/dxf_$sample.png"
  "$cli" render "$source_dir/tests/files/dxf/$sample.dxf" "$out" --home "$home" --size 640x512 ||
    fail "$sample: render"
  if ! cmp -s "$out" "$source_dir/tests/golden/dxf_$sample.png"; then
    cp "$out" "$build/dxf_$sample.out.png"
    fail "$sample: the picture differs from tests/golden/dxf_$sample.png (see $build/dxf_$sample.out.png)"
  fi
done

"$cli" plot "$source_dir/tests/files/dxf/r2000_sample.dxf" "$work/r2000.pdf" --home "$home" ||
  fail "a DXF drawing did not plot"
head -c 5 "$work/r2000.pdf" | grep -q '%PDF-' || fail "the plot of a DXF drawing is no PDF"

head -c 3000 "$work/sample_v3.dxf" >"$work/cut.dxf"
if "$cli" convert "$work/cut.dxf" "$work/cut.drw" --home "$home" 2>"$work/err"; then
  fail "a cut DXF was converted"
fi
grep -q "Reading file not succeeded !" "$work/err" || fail "cut DXF: $(cat "$work/err")"
[ ! -e "$work/cut.drw" ] || fail "a refused convert wrote its output"
echo "cli_dxf: ok"
