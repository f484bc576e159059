#!/usr/bin/env bash
# A colleague's DXF read by F6 in the real window: a file written by an independent library
# (python3-ezdxf) in inches, with solid and dashed lines, a mirrored circle, a turned MTEXT and a
# user hatch, saved in the binary form of DXF, shows on the sheet exactly as the core renders
# the same file, which renders as its text form does.
set -u
build="$1"
source_dir="$2"
source "$source_dir/tests/shell/lib/gui.bash"

/usr/bin/python3 -c 'import ezdxf' || fail "python3-ezdxf is missing"
cd "$tmp"
/usr/bin/python3 - "$tmp/Colleague.dxf" <<'PY' || fail "ezdxf wrote no file"
import sys
import ezdxf
doc = ezdxf.new("R2010", setup=True)
doc.header["$INSUNITS"] = 1  # inches
msp = doc.modelspace()
msp.add_lwpolyline([(0, 0), (6, 0), (6, 4), (0, 4)], close=True)
msp.add_line((0, 2), (6, 2), dxfattribs={"linetype": "DASHED"})
msp.add_circle((-3, 1), 0.5, dxfattribs={"extrusion": (0, 0, -1)})
msp.add_mtext("TURNED", dxfattribs={"insert": (1, 0.5), "char_height": 0.3, "rotation": 90})
hatch = msp.add_hatch()
hatch.set_pattern_fill("ANSI31", definition=[[45, (0, 0), (-0.1, 0.1), []]])
hatch.paths.add_polyline_path([(3, 2.5), (5, 2.5), (5, 3.5), (3, 3.5)], is_closed=True)
doc.saveas(sys.argv[1], fmt="bin")
doc.saveas(sys.argv[1] + ".txt.dxf")
PY

lumora_home="$tmp/home"
cp -r "$source_dir/data" "$lumora_home"
rm -f "$lumora_home"/DRAWINGS/*
cp "$tmp/Colleague.dxf" "$lumora_home/DRAWINGS/"
quiet=1
start_lumora
read_first_and_match_render Colleague.dxf
"$build/lumora-cli" render "$tmp/Colleague.dxf.txt.dxf" "$tmp/text.png" --home "$lumora_home" \
  --size 1000x800 >"$tmp/render.out" 2>&1 || fail "no render of the text form: $(cat "$tmp/render.out")"
cmp -s "$tmp/render.png" "$tmp/text.png" || fail "the binary file renders unlike its text form"
lit="$("$xshot" count "$tmp/read.png" 0 40 1000 700 ffffff)"
((lit > 2000)) || fail "the colleague's drawing lights only $lit pixels"
echo "gui_dxf_foreign: ok ($lit lit pixels, the window equals the render)"
