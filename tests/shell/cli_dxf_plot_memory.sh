#!/usr/bin/env bash
# Memory that runs short never aborts and never costs the drawing. Add drawing (Alt+F6) of a
# small DXF that unfolds into 2.68 million lines leaves the open drawing as it was, refused
# before or taken back after the memory ran out, in seconds. A plot that runs out of memory
# says "Memory overflow !", leaves no page behind (lumora-cli plot exits 1), and Print in the
# program keeps the drawing. A sanitizer's build reserves more address space than these
# limits and is left out.
# Usage: cli_dxf_plot_memory.sh BUILD_DIR SOURCE_DIR
set -u
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
cli="$build/lumora-cli"
tmp="$build/test-tmp/shell-cli-dxf-plot-memory"
rm -rf "$tmp"
mkdir -p "$tmp"
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
if grep -q -a -e __asan_init -e __tsan_init "$cli"; then
  echo "cli_dxf_plot_memory: skipped in a sanitizer build"
  exit 0
fi
/usr/bin/python3 -c 'import ezdxf' || fail "python3-ezdxf is missing"

cp -r "$source_dir/data" "$tmp/home"
cp "$source_dir/tests/events/drawings/crossing.drw" "$tmp/"
/usr/bin/python3 - "$tmp" <<'PY'
import sys, ezdxf
doc = ezdxf.new("R2000")
block = doc.blocks.new("B")
for i in range(100):
    block.add_line((i * 0.3, 0), (i * 0.3, 10))
doc.modelspace().add_blockref("B", (0, 0)).grid(size=(163, 164), spacing=(50, 50))
doc.saveas(sys.argv[1] + "/home/DRAWINGS/a_big.dxf")
doc = ezdxf.new("R2010")
doc.header["$INSUNITS"] = 4
block = doc.blocks.new("H")
for k in range(4):
    hatch = block.add_hatch()
    hatch.set_pattern_fill("ANSI31", scale=0.05)
    hatch.paths.add_polyline_path([(k * 12, 0), (k * 12 + 10, 0), (k * 12 + 10, 10), (k * 12, 10)],
                                  is_closed=True)
doc.modelspace().add_blockref("H", (0, 0)).grid(size=(60, 60), spacing=(12, 50))
doc.saveas(sys.argv[1] + "/hatches.dxf")
PY

# Refused while planning (400 MB), or run out part way and taken back (700 MB: the lines
# take well over a gigabyte); a take-back that walked the line list for every line would take
# minutes.
cat >"$tmp/add.events" <<EOT
load crossing.drw
dump $tmp/before.txt
key Alt+F6
expect-text 3 a_big.dxf
key Enter
enter 100 100
expect-same-dump $tmp/before.txt
expect-count lines 4
expect-count parts 0
key Ctrl+Z
expect-same-dump $tmp/before.txt
EOT
for limit in 400000 700000; do
  (ulimit -v $limit; timeout 120 "$cli" play "$tmp/add.events" --home "$tmp/home") >"$tmp/out" 2>&1 ||
    fail "Alt+F6 within $limit KiB: $(tail -c 300 "$tmp/out")"
done

# Between the memory reading the 14,400 fillings takes and the memory hatching them for the page
# takes, a plot runs out of memory. The window is found, not assumed: builds and libraries take
# their own share of the address space.
cat >"$tmp/load.events" <<EOT
load $tmp/hatches.dxf
expect-count fillings 14400
EOT
window=""
for limit in $(seq 80000 5000 200000); do
  (ulimit -v $limit; "$cli" play "$tmp/load.events" --home "$tmp/home" --out "$tmp") \
    >/dev/null 2>&1 || continue
  (ulimit -v $limit; "$cli" plot "$tmp/hatches.dxf" "$tmp/hatches.pdf" --home "$tmp/home") \
    >/dev/null 2>"$tmp/err" && break
  window=$limit
  break
done
[[ -n "$window" ]] || { echo "cli_dxf_plot_memory: ok (no memory between reading and plotting)"; exit 0; }
status=0
(ulimit -v $window; "$cli" plot "$tmp/hatches.dxf" "$tmp/hatches.pdf" --home "$tmp/home") \
  >/dev/null 2>"$tmp/err" || status=$?
[[ $status -eq 1 && "$(cat "$tmp/err")" == "lumora-cli plot: Memory overflow !" ]] ||
  fail "plot within $window KiB: status $status, $(head -c 300 "$tmp/err")"
ls "$tmp" | grep -q '^hatches\.pdf' && fail "plot: a page was left behind"
cat >"$tmp/print.events" <<EOT
load $tmp/hatches.dxf
key F8
key y
expect-message Memory overflow !
expect-count fillings 14400
EOT
(ulimit -v $window; "$cli" play "$tmp/print.events" --home "$tmp/home" --out "$tmp") \
  >"$tmp/out" 2>&1 || fail "Print within $window KiB: $(tail -c 300 "$tmp/out")"
[[ -z "$(ls "$tmp/home/PLOTS")" ]] || fail "Print: a page was left behind"
echo "cli_dxf_plot_memory: ok"
