#!/usr/bin/env bash
# DXF files written by an independent library (python3-ezdxf), one for each thing a drafter's
# colleague may have drawn, read by `lumora-cli dump --attributes` with the expected drawing
# beside the file that makes it: units, line types, texts, mirrored entities, grids of
# inserts, hatches, scale, layers, names, unequal scales, what is left out, the one-line report
# of what was not read, and small files that would unfold into billions of elements, letters or
# hatch lines, refused at once. Every file is read twice and must give the same report both
# times. A DXF of solid lines and a hatch plots its strokes.
# Usage: cli_dxf_foreign.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
work="$build/test-tmp/shell-cli-dxf-foreign"
rm -rf "$work"
mkdir -p "$work"
/usr/bin/python3 -c 'import ezdxf' || { echo "FAIL: python3-ezdxf is missing"; exit 1; }
exec /usr/bin/python3 - "$build/lumora-cli" "$source_dir/data" "$work" <<'PY'
import os, re, resource, subprocess, sys, time
import ezdxf
from ezdxf.math import Vec3

cli, home, work = sys.argv[1:4]
failures = []


def check(name, condition, what):
    if not condition:
        failures.append(f"{name}: {what}")


def new(units=None):
    doc = ezdxf.new("R2010", setup=True)
    if units is not None:
        doc.header["$INSUNITS"] = units
    return doc


def dump(path):
    """The drawing as lumora reads it: report, attributes and the message on stderr."""
    run = subprocess.run([cli, "dump", path, "--attributes", "--home", home],
                         capture_output=True, encoding="latin-1")
    return run


def parse(report):
    d = {"lines": [], "fillings": [], "texts": [], "parts": [], "line": [], "filling": [],
         "text": [], "hidden": [], "head": {}}
    head = re.search(r"limits:\s*(\S+),\s*(\S+),\s*(\S+),\s*(\S+) scale:\s*(\S+)", report)
    if head:
        d["head"] = dict(zip(["xmin", "ymin", "xmax", "ymax", "scale"],
                             map(float, head.groups())))
    for row in report.splitlines():
        m = re.match(r" ps0:(\d+) shape:(\d+) (.*)", row)
        if m:
            nums = [float(v) for v in re.findall(r"-?\d+\.\d+", m.group(3))]
            d["lines"].append((int(m.group(2)), list(zip(nums[0::2], nums[1::2]))))
        m = re.match(r" pisteit. (\d+) kpl mitta:(\d+) (.*)", row)
        if m:
            nums = [float(v) for v in re.findall(r"-?\d+\.\d+", m.group(3))]
            d["texts"].append(list(zip(nums[0::2], nums[1::2])))
        m = re.match(r' name:"([^"]*)"', row)
        if m:
            d["parts"].append(m.group(1))
        m = re.match(r" (line|filling|text) \d+: (.*)", row)
        if m:
            d[m.group(1)].append({k: float(v) for k, v in re.findall(r"(\w+):(-?[\d.e+]+)",
                                                                     m.group(2))})
        m = re.match(r" hidden layers:(.*)", row)
        if m:
            d["hidden"] = [int(v) for v in m.group(1).split()]
    return d


def near(a, b, tol=0.05):
    return abs(a - b) <= tol


def has_point(lines, x, y):
    return any(near(px, x) and near(py, y) for _, pts in lines for px, py in pts)


cases = []  # (name, builder, checker)


def case(name):
    def wrap(fn):
        cases.append((name, fn))
        return fn
    return wrap


# 3. Units: a 1 x 2 inch rectangle is 25.4 x 50.8 mm; metres stay metres; yards become mm.
@case("units_inch")
def _(path):
    doc = new(1)
    doc.modelspace().add_lwpolyline([(0, 0), (1, 0), (1, 2), (0, 2)], close=True)
    doc.saveas(path)
    def verify(d, err):
        check("units_inch", has_point(d["lines"], 25.4, 50.8), f"no corner at 25.4,50.8: {d['lines']}")
    return verify


@case("units_yard_metre")
def _(path):
    doc = new(10)  # yards
    doc.modelspace().add_line((0, 0), (1, 0))
    doc.saveas(path)
    def verify(d, err):
        check("units_yard", has_point(d["lines"], 914.4, 0), f"{d['lines']}")
    return verify


# 2. Line types: solid ones plot (style 1), named dashed types take their family and a
# section of the setup, "by block" follows the insert, an unknown type is solid and reported.
@case("linetypes")
def _(path):
    doc = new(4)
    doc.layers.add("DASHLAYER", linetype="DASHED")
    msp = doc.modelspace()
    msp.add_line((0, 0), (100, 0), dxfattribs={"linetype": "CONTINUOUS"})
    msp.add_line((0, 10), (100, 10), dxfattribs={"linetype": "BYLAYER"})
    msp.add_line((0, 20), (100, 20), dxfattribs={"linetype": "BYBLOCK"})
    msp.add_line((0, 30), (100, 30), dxfattribs={"layer": "DASHLAYER"})
    msp.add_line((0, 40), (100, 40), dxfattribs={"linetype": "CENTER"})
    msp.add_line((0, 50), (100, 50), dxfattribs={"linetype": "DOT"})
    msp.add_line((0, 60), (100, 60), dxfattribs={"linetype": "HIDDEN"})
    block = doc.blocks.new("BB")
    block.add_line((0, 0), (10, 0), dxfattribs={"linetype": "BYBLOCK"})
    msp.add_blockref("BB", (0, 70), dxfattribs={"linetype": "DASHDOT"})
    msp.add_line((0, 80), (100, 80), dxfattribs={"linetype": "WIGGLE"})
    # Dashes drawn ten times larger by a block's placement, as by a line type scale of ten.
    doc.blocks.new("B10").add_line((0, 0), (20, 0), dxfattribs={"linetype": "DASHED"})
    msp.add_blockref("B10", (0, 90), dxfattribs={"xscale": 10, "yscale": 10})
    msp.add_line((0, 100), (200, 100), dxfattribs={"linetype": "DASHED", "ltscale": 10})
    doc.saveas(path)
    def verify(d, err):
        styles = [int(a["style"]) for a in d["line"]]
        # Newest first: the scaled line, the blocks' lines, WIGGLE, HIDDEN, DOT, CENTER, DASHED,
        # BYBLOCK, ...
        check("linetypes", styles == [2, 4, 2, 1, 2, 3, 4, 2, 1, 1, 1], f"styles {styles}")
        scaled, _, placed = (d["line"][k]["section"] for k in range(3))
        check("linetypes", scaled == placed > d["line"][7]["section"],
              f"sections scaled {scaled}, in a larger block {placed}, plain {d['line'][7]}")
        check("linetypes", all(a["section"] > 0 for a in d["line"] if a["style"] != 1),
              "a dashed line without a section")
        check("linetypes", "1 unknown linetype read as solid" in err, f"report {err!r}")
    return verify


# 4. Texts: MTEXT rotation in degrees and its attachment point; a right-aligned TEXT keeps its
# alignment point; width factor and oblique angle become width and slant.
@case("texts")
def _(path):
    doc = new(4)
    msp = doc.modelspace()
    msp.add_mtext("Up", dxfattribs={"insert": (10, 10), "char_height": 5, "rotation": 90,
                                    "attachment_point": 9})
    t = msp.add_text("Right", dxfattribs={"height": 5, "width": 0.8, "oblique": 15})
    t.set_placement((100, 20), align=ezdxf.enums.TextEntityAlignment.BOTTOM_RIGHT)
    msp.add_text("Plain", dxfattribs={"height": 5, "insert": (0, 40), "rotation": 30})
    # Backward, upside down and both, read the right way round over the same place.
    for flags in (2, 4, 6):
        msp.add_text("Turned", dxfattribs={"height": 5, "insert": (0, 60 + flags),
                                           "text_generation_flag": flags})
    doc.saveas(path)
    # A centred text whose writer left the alignment point out is placed by its insertion point.
    with open(path, encoding="utf-8") as f:
        content = f.read()
    centred = "  0\nTEXT\n  8\n0\n 10\n50\n 20\n80\n 40\n2.5\n  1\nCentred\n 72\n1\n"
    with open(path, "w", encoding="utf-8") as f:
        f.write(content.replace("  0\nENDSEC\n  0\nSECTION\n  2\nOBJECTS",
                                centred + "  0\nENDSEC\n  0\nSECTION\n  2\nOBJECTS", 1))
    def verify(d, err):
        centred, both, down, back, plain, right, up = d["text"]
        check("texts", back["positioning"] == 3 and down["positioning"] == 7 and
              near(both["angle"], 180, 1e-3) and both["positioning"] == 1,
              f"turned texts {back} {down} {both}")
        check("texts", centred["positioning"] == 2 and d["texts"][0][0] == (50.0, 80.0),
              f"centred text {centred} at {d['texts'][0]}")
        check("texts", near(up["angle"], 90, 1e-3), f"MTEXT angle {up['angle']}")
        check("texts", up["positioning"] == 3, f"MTEXT positioning {up['positioning']}")
        check("texts", d["texts"][6][0] == (10.0, 10.0), f"MTEXT place {d['texts'][6]}")
        check("texts", right["positioning"] == 3, f"TEXT positioning {right['positioning']}")
        check("texts", d["texts"][5][0] == (100.0, 20.0), f"TEXT place {d['texts'][5]}")
        # Width 0.8 of the ordinary 0.7, slant tan 15 degrees.
        check("texts", right["widthRatio"] == 2 and right["slant"] == 1, f"TEXT shape {right}")
        check("texts", plain["widthRatio"] == 3, f"TEXT width {plain}")
        check("texts", near(plain["angle"], 30, 1e-3) and plain["positioning"] == 1, f"{plain}")
    return verify


# 5. Object coordinates: a circle at (10,0) seen from below lies at (-10,0); an arc keeps
# running counter-clockwise in the world. A circle or a polyline's arc in a tilted plane is an
# ellipse in plan, a circle a line when its plane stands upright.
@case("extrusion")
def _(path):
    doc = new(4)
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0, 1), (10, 0, 0)], format="xyb",
                       dxfattribs={"extrusion": (0.6, 0, 0.8)})
    msp.add_circle((10, 0), 3, dxfattribs={"extrusion": (0, 1, 0)})
    msp.add_circle((0, 0), 10, dxfattribs={"extrusion": (0.6, 0, 0.8)})
    msp.add_circle((10, 0), 3, dxfattribs={"extrusion": (0, 0, -1)})
    msp.add_arc((0, 0), 5, 0, 90, dxfattribs={"extrusion": (0, 0, -1)})
    msp.add_lwpolyline([(1, 20), (2, 20)], dxfattribs={"extrusion": (0, 0, -1)})
    block = doc.blocks.new("HOOK")
    block.add_line((0, 0), (5, 1))
    msp.add_blockref("HOOK", (10, 30), dxfattribs={"extrusion": (0, 0, -1)})
    doc.saveas(path)
    def verify(d, err):
        hook, polyline, arc, circle, tilted, upright, bulged = d["lines"]
        check("extrusion", circle[0] == 4 and circle[1][0] == (-10.0, 0.0), f"circle {circle}")
        check("extrusion", tilted[0] == 2 and len(tilted[1]) > 16 and
              all(near((x / 8) ** 2 + (y / 10) ** 2, 1, 0.02) for x, y in tilted[1]), f"{tilted}")
        check("extrusion", upright == (1, [(-7.0, 0.0), (-13.0, 0.0)]), f"upright {upright}")
        check("extrusion", len(bulged[1]) > 8 and
              all(near((x / 4) ** 2 + ((y - 5) / 5) ** 2, 1, 0.03) for x, y in bulged[1]),
              f"bulged {bulged}")
        # From (5,0)..(0,5) in the mirrored plane: in the world from (0,5) to (-5,0).
        check("extrusion", arc[0] == 3 and arc[1][1:] == [(0.0, 5.0), (-5.0, 0.0)], f"arc {arc}")
        check("extrusion", polyline[1] == [(-1.0, 20.0), (-2.0, 20.0)], f"polyline {polyline}")
        check("extrusion", hook[1] == [(-10.0, 30.0), (-15.0, 31.0)], f"insert {hook}")
    return verify


# In a tilted plane the elevation of a polyline, a hatch, a text and an insert moves it in plan;
# letters and blocks there are not foreshortened, and the report says so.
@case("tilted_flat")
def _(path):
    doc = new(4)
    msp = doc.modelspace()
    n = (0.6, 0, 0.8)
    msp.add_lwpolyline([(0, 20), (10, 20)], dxfattribs={"extrusion": n, "elevation": 5})
    hatch = msp.add_hatch(dxfattribs={"extrusion": n, "elevation": (0, 0, 5)})
    hatch.paths.add_polyline_path([(0, 0), (10, 0), (10, 10)])
    msp.add_text("T", dxfattribs={"extrusion": n, "insert": (1, 2, 5), "height": 2})
    msp.add_mtext("M", dxfattribs={"extrusion": n, "insert": (0, 0, 0), "char_height": 2})
    doc.blocks.new("B").add_line((0, 0), (1, 0))
    msp.add_blockref("B", (0, 0, 5), dxfattribs={"extrusion": n})
    doc.saveas(path)
    def verify(d, err):
        # (x, y, z) of the plane is seen at (-0.8 y + 0.6 z, x).
        check("tilted_flat", has_point(d["lines"], -13, 0) and has_point(d["lines"], -13, 10) and
              has_point(d["lines"], -5, 10), f"elevation left out: {d['lines']}")
        check("tilted_flat", any(near(x, 1.4) and near(y, 1) for t in d["texts"] for x, y in t),
              f"texts {d['texts']}")
        check("tilted_flat", "1 block in a tilted plane read flat" in err and
              "2 text in a tilted plane read flat" in err, f"report {err!r}")
    return verify


# 6. A 2 x 3 MINSERT places its block six times.
@case("minsert")
def _(path):
    doc = new(4)
    block = doc.blocks.new("CELL")
    block.add_line((0, 0), (5, 0))
    ref = doc.modelspace().add_blockref("CELL", (0, 0))
    ref.grid(size=(2, 3), spacing=(10, 20))  # 2 rows, 3 columns
    doc.saveas(path)
    def verify(d, err):
        check("minsert", d["parts"].count("CELL") == 6, f"parts {d['parts']}")
        check("minsert", has_point(d["lines"], 40, 10) and has_point(d["lines"], 45, 10),
              f"no copy at row 2, column 3: {d['lines']}")
    return verify


# 7. Hatches: the first pattern line gives gap and angle; a solid fill takes the setup's
# smallest gap and is reported.
@case("hatches")
def _(path):
    doc = new(4)
    msp = doc.modelspace()
    user = msp.add_hatch()
    user.set_pattern_fill("_USER", definition=[[30, (0, 0), (-2.5, 4.330127), []]])
    user.paths.add_polyline_path([(0, 0), (50, 0), (50, 50), (0, 50)])
    ansi = msp.add_hatch()
    ansi.set_pattern_fill("ANSI31", scale=2)
    ansi.paths.add_polyline_path([(100, 0), (150, 0), (150, 50), (100, 50)])
    solid = msp.add_hatch()
    solid.paths.add_polyline_path([(200, 0), (250, 0), (250, 50), (200, 50)])
    doc.saveas(path)
    def verify(d, err):
        solid, ansi, user = d["filling"]
        check("hatches", near(user["gap"], 5, 1e-3) and user["angle"] == 30, f"user {user}")
        check("hatches", near(ansi["gap"], 6.35, 1e-3) and ansi["angle"] == 45, f"ANSI31 {ansi}")
        check("hatches", near(solid["gap"], 1, 1e-3), f"solid {solid}")
        check("hatches", "1 solid fill read as hatch" in err, f"report {err!r}")
    return verify


# A clockwise elliptic edge of a hatch boundary bulges the way it runs, as an arc edge does:
# the square's top rises to a half ellipse 10 high, not dips into the square.
@case("hatch_clockwise_edges")
def _(path):
    doc = new(4)
    hatch = doc.modelspace().add_hatch()
    hatch.set_pattern_fill("_USER", definition=[[0, (0, 0), (0, 2), []]])
    edges = hatch.paths.add_edge_path()
    edges.add_line((100, 0), (140, 0))
    edges.add_line((140, 0), (140, 40))
    edges.add_ellipse((120, 40), (20, 0), 0.5, 0, 180, ccw=False)
    edges.add_line((100, 40), (100, 0))
    doc.saveas(path)
    def verify(d, err):
        ys = [y for _, pts in d["lines"] for _, y in pts]
        check("hatch_clockwise_edges", near(max(ys), 50, 0.1) and
              not any(1 < y < 39.9 for y in ys), f"lines {d['lines']}")
    return verify


# A hatch edge that is a rational spline (a quarter circle of radius 50, as programs write exact
# arcs) keeps its weights: it stays 50 from its centre, not bulging to 53.
@case("hatch_rational_edge")
def _(path):
    doc = new(4)
    hatch = doc.modelspace().add_hatch()
    hatch.set_pattern_fill("_USER", definition=[[0, (0, 0), (0, 2), []]])
    edges = hatch.paths.add_edge_path()
    edges.add_line((0, 0), (50, 0))
    edges.add_spline(control_points=[(50, 0), (50, 50), (0, 50)], knot_values=[0, 0, 0, 1, 1, 1],
                     weights=[1, 0.5 ** 0.5, 1], degree=2)
    edges.add_line((0, 50), (0, 0))
    doc.saveas(path)
    def verify(d, err):
        arc = max(d["lines"], key=lambda line: len(line[1]))[1]
        radii = [(x * x + y * y) ** 0.5 for x, y in arc]
        check("hatch_rational_edge", len(arc) > 8 and all(near(r, 50, 0.1) for r in radii),
              f"radii {min(radii)} .. {max(radii)}")
    return verify


# Island styles: normal hatches every other area of nested paths, outermost only the ring
# between the outer path and its islands, ignore the whole outer path; a path left unhatched
# is left out of the filling's boundary.
@case("hatch_islands")
def _(path):
    doc = new(4)
    for style in (0, 1, 2):
        x = 200 * style
        hatch = doc.modelspace().add_hatch()
        hatch.set_pattern_fill("_USER", style=style, definition=[[0, (0, 0), (0, 5), []]])
        for low, high in ((0, 100), (20, 80), (40, 60)):
            hatch.paths.add_polyline_path([(x + low, low), (x + high, low), (x + high, high),
                                           (x + low, high)])
    doc.saveas(path)
    def verify(d, err):
        kept = [has_point(d["lines"], 200 * style + low, low) for style in (0, 1, 2)
                for low in (0, 20, 40)]
        check("hatch_islands", kept == [True] * 3 + [True, True, False] + [True, False, False],
              f"paths kept {kept}")
    return verify


# 8. $DIMSCALE is no drawing scale: 1000 x 600 mm fits the sheet at 1:5.
@case("scale")
def _(path):
    doc = new(4)
    doc.header["$DIMSCALE"] = 50
    doc.modelspace().add_lwpolyline([(0, 0), (1000, 0), (1000, 600)])
    doc.saveas(path)
    def verify(d, err):
        check("scale", d["head"].get("scale") == 5, f"head {d['head']}")
    return verify


# The margin around a drawing in metres is that of the same drawing in millimetres, and so is
# its scale: 2.5 x 0.3 m fits 1:10 with 125 mm each side.
@case("scale_metres")
def _(path):
    doc = new(6)
    doc.modelspace().add_lwpolyline([(0, 0), (2.5, 0), (2.5, 0.3), (0, 0.3)], close=True)
    doc.saveas(path)
    def verify(d, err):
        check("scale_metres", d["head"].get("scale") == 10, f"head {d['head']}")
    return verify


# Polylines drawn with a width are read as thin lines, and reported;
# so are crosshatches and double hatches, read in their first direction.
@case("approximations")
def _(path):
    doc = new(4)
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (50, 0)], dxfattribs={"const_width": 2})
    msp.add_lwpolyline([(0, 10, 1, 3, 0), (50, 10, 3, 1, 0)], format="xyseb")
    msp.add_lwpolyline([(0, 20), (50, 20)])
    cross = msp.add_hatch()
    cross.set_pattern_fill("ANSI37", scale=1)
    cross.paths.add_polyline_path([(0, 0), (50, 0), (50, 50), (0, 50)])
    double = msp.add_hatch()
    double.set_pattern_fill("_USER", definition=[[30, (0, 0), (-2.5, 4.330127), []]])
    double.dxf.pattern_double = 1
    double.paths.add_polyline_path([(100, 0), (150, 0), (150, 50), (100, 50)])
    steel = msp.add_hatch()  # two lines in one direction
    steel.set_pattern_fill("ANSI32", scale=1)
    steel.paths.add_polyline_path([(200, 0), (250, 0), (250, 50), (200, 50)])
    doc.linetypes.add("GAS", pattern='A,.5,-.2,["GAS",STANDARD,S=.1,U=0.0,X=-0.1,Y=-.05],-.25')
    msp.add_line((0, 100), (100, 100), dxfattribs={"linetype": "GAS"})
    doc.saveas(path)
    def verify(d, err):
        check("approximations", "1 linetype read without its texts" in err, f"report {err!r}")
        check("approximations", "2 polyline width read as thin line" in err, f"report {err!r}")
        check("approximations", "2 crosshatch read as one direction" in err, f"report {err!r}")
    return verify


# 9. Layers: setup names keep their numbers, other names take free ones and are reported,
# frozen and off layers are hidden, and so is a layer that is not plotted (reported).
@case("layers")
def _(path):
    doc = new(4)
    doc.layers.add("outlines")
    doc.layers.add("WALLS")
    doc.layers.add("Frozen").freeze()
    doc.layers.add("Off").off()
    doc.layers.add("Sketch").dxf.plot = 0
    msp = doc.modelspace()
    for k, layer in enumerate(["outlines", "WALLS", "Frozen", "Off", "Sketch"]):
        msp.add_line((0, k), (10, k), dxfattribs={"layer": layer})
    doc.saveas(path)
    def verify(d, err):
        layers = [int(a["layer"]) for a in d["line"]][::-1]
        check("layers", layers == [2, 11, 12, 13, 14], f"layers {layers}")
        check("layers", d["hidden"] == [12, 13, 14], f"hidden {d['hidden']}")
        check("layers", "1 layer not plotted read as hidden (Sketch); layers WALLS 11, Frozen 12, "
              "Off 13, Sketch 14" in err, f"report {err!r}")
    return verify


# A block placed on a frozen layer is hidden whole: its member on a layer of its own joins the
# placement's layer, while that layer's other lines stay in sight.
@case("frozen_insert")
def _(path):
    doc = new(4)
    doc.layers.add("FURNITURE").freeze()
    doc.layers.add("WOOD")
    table = doc.blocks.new("TABLE")
    table.add_lwpolyline([(0, 0), (10, 0), (10, 5), (0, 5)], close=True,
                         dxfattribs={"layer": "WOOD"})
    table.add_line((0, 0), (10, 5))
    msp = doc.modelspace()
    msp.add_blockref("TABLE", (0, 0), dxfattribs={"layer": "FURNITURE"})
    msp.add_line((0, 20), (10, 20), dxfattribs={"layer": "WOOD"})
    doc.saveas(path)
    def verify(d, err):
        layers = sorted(int(a["layer"]) for a in d["line"])
        check("frozen_insert", layers == [11, 12, 12] and d["hidden"] == [12],
              f"layers {layers}, hidden {d['hidden']}")
    return verify


# Names of files from 2007 on are UTF-8: layers and blocks whose names become one in Latin-1
# stay apart (the later one takes a suffix, and that is reported), and a block placing the
# other is no block placing itself.
@case("utf8_names")
def _(path):
    doc = new(4)
    doc.layers.add("日本").off()
    doc.layers.add("中国")
    outer = doc.blocks.new("中国")
    outer.add_line((0, 0), (10, 0), dxfattribs={"layer": "中国"})
    outer.add_blockref("日本", (20, 0))
    doc.blocks.new("日本").add_circle((0, 0), 5, dxfattribs={"layer": "日本"})
    doc.modelspace().add_blockref("中国", (50, 0))
    doc.saveas(path)
    def verify(d, err):
        circle, line = [int(a["layer"]) for a in d["line"]]
        check("utf8_names", circle != line and d["hidden"] == [circle], f"{d['line']} {d['hidden']}")
        check("utf8_names", sorted(d["parts"]) == ["??", "??~2"], f"parts {d['parts']}")
        check("utf8_names", "2 name made unique with a suffix" in err, f"report {err!r}")
    return verify


# Under unequal scales a hatch's lines turn and space as the placement stretches them (45
# degrees at 5 apart, ten times as high: 84.3 degrees, 7.04 apart), and a text widens.
@case("unequal_scales")
def _(path):
    doc = new(4)
    hatch = doc.blocks.new("H").add_hatch()
    hatch.set_pattern_fill("_USER", definition=[[45, (0, 0), (-3.5355339, 3.5355339), []]])
    hatch.paths.add_polyline_path([(0, 0), (10, 0), (10, 10), (0, 10)])
    doc.blocks.new("T").add_text("WIDE", dxfattribs={"height": 5})
    msp = doc.modelspace()
    msp.add_blockref("H", (0, 0), dxfattribs={"xscale": 1, "yscale": 10})
    msp.add_blockref("T", (0, 120), dxfattribs={"xscale": 1.4, "yscale": 1})
    doc.saveas(path)
    def verify(d, err):
        (hatch,), (text,) = d["filling"], d["text"]
        check("unequal_scales", hatch["angle"] == 84 and near(hatch["gap"], 7.036, 1e-3),
              f"hatch {hatch}")
        check("unequal_scales", text["widthRatio"] == 6, f"text {text}")
    return verify


# Paper space (a layout's frame and title) is no part of the drawing; a block that refers to
# another drawing is not read; an arc of next to nothing is no whole circle. All reported.
@case("left_out")
def _(path):
    doc = new(4)
    msp = doc.modelspace()
    msp.add_lwpolyline([(0, 0), (100, 0), (100, 100), (0, 100)], close=True)
    msp.add_arc((50, 0), 10, 90, 90 + 1e-9)
    msp.add_arc((0, 0), 10, 0, 360)
    layout = doc.layout("Layout1")
    layout.add_lwpolyline([(0, 0), (420, 0), (420, 297), (0, 297)], close=True)
    layout.add_text("TITLE", dxfattribs={"height": 5, "insert": (300, 10)})
    doc.blocks.new("XR", dxfattribs={"flags": 4, "xref_path": "other.dwg"})
    msp.add_blockref("XR", (0, 0))
    doc.saveas(path)
    def verify(d, err):
        shapes = [shape for shape, _ in d["lines"]]
        check("left_out", shapes == [3, 1, 2] and not d["texts"], f"lines {d['lines']}")
        check("left_out", not d["parts"], f"parts {d['parts']}")
        check("left_out", "1 XREF not read" in err and "2 paper space entity left out" in err,
              f"report {err!r}")
    return verify


# A coordinate or spacing that is no number ("nan", "inf", a word) drops its line or grid of
# inserts, and the report counts it; a sound line beside them stays.
@case("not_numbers")
def _(path):
    doc = new(4)
    msp = doc.modelspace()
    msp.add_line((5, 5), (1.125, 7))
    msp.add_line((5, 5), (2.125, 7))
    msp.add_line((5, 5), (3.125, 7))
    msp.add_line((5, 5), (9, 9))
    doc.blocks.new("B").add_line((0, 0), (1, 1))
    msp.add_blockref("B", (0, 0)).grid(size=(2, 2), spacing=(4.125, 5))
    doc.saveas(path)
    with open(path) as f:
        text = f.read()
    for number, word in (("1.125", "nan"), ("2.125", "inf"), ("3.125", "abc"), ("4.125", "nan")):
        text = text.replace(number, word)
    with open(path, "w") as f:
        f.write(text)
    def verify(d, err):
        check("not_numbers", [pts for _, pts in d["lines"]] == [[(5, 5), (9, 9)]],
              f"lines {d['lines']}")
        check("not_numbers", "1 INSERT, 3 LINE not read" in err, f"report {err!r}")
    return verify


# 11. What is not read is one line with counts.
@case("report")
def _(path):
    doc = new(4)
    msp = doc.modelspace()
    msp.add_point((1, 1))
    msp.add_point((2, 2))
    msp.add_line((0, 0), (5, 5))
    msp.add_mline([(0, 0), (10, 0)])
    doc.saveas(path)
    def verify(d, err):
        check("report", err.strip().endswith("1 MLINE, 2 POINT not read"), f"report {err!r}")
        check("report", len(err.strip().splitlines()) == 1, f"report {err!r}")
    return verify


# Thousands of kinds of their own keep the line short: the largest counts named (a long name
# cut), the rest counted, and the line still ends in "not read".
@case("report_many_kinds")
def _(path):
    doc = new(4)
    msp = doc.modelspace()
    for k in range(3):
        msp.add_point((k, k))
    msp.add_line((0, 0), (1, 1))
    for k in range(10):  # of the layers that take free numbers the first few are named
        msp.add_line((0, 0), (1, k), dxfattribs={"layer": f"W{k}"})
    doc.saveas(path)
    with open(path) as f:
        text = f.read()
    entity = "  0\n{}\n  8\n0\n".format
    long_name = "L" + "ONG" * 30
    twice = "".join(entity(f"OWNKIND{k:05d}") for k in range(3)) + entity(long_name)
    own = "".join(entity(f"OWNKIND{k:05d}") for k in range(3, 3000))
    end = text.index("  0\nENDSEC", text.index("ENTITIES"))
    with open(path, "w") as f:
        f.write(text[:end] + twice + twice + own + text[end:])
    def verify(d, err):
        line = err.strip()
        named = (f"3 POINT, 2 {long_name[:24]}..., 2 OWNKIND00000, 2 OWNKIND00001, "
                 "2 OWNKIND00002, 1 OWNKIND00003 and 2996 more kinds not read; "
                 "layers W0 11, W1 12, W2 13, W3 14, W4 15, W5 16 and 4 more")
        check("report_many_kinds", line == named, f"report {line[:400]!r}")
    return verify


for name, make in cases:
    path = f"{work}/{name}.dxf"
    verify = make(path)
    first = dump(path)
    if first.returncode != 0:
        failures.append(f"{name}: not read: {first.stderr.strip()}")
        continue
    verify(parse(first.stdout), first.stderr)
    # 10. The same file gives the same drawing every time.
    second = dump(path)
    check(name, second.stdout == first.stdout and second.stderr == first.stderr,
          "a second read differs")

# 1. Small files that would unfold far: nested inserts into 10^12 elements, a grid of copies
# of one long MTEXT (its letters are kept with every copy), a grid of two million short lines.
# Each is refused at once with the message.
def bombs():
    doc = new(4)
    block = doc.blocks.new("L0")
    for k in range(10):
        block.add_line((0, k), (1, k))
    for level in range(1, 12):
        block = doc.blocks.new(f"L{level}")
        for k in range(10):
            block.add_blockref(f"L{level - 1}", (k, 0))
    doc.modelspace().add_blockref("L11", (0, 0))
    yield "nested", doc, r"\d{12,} elements"
    doc = new(4)
    doc.blocks.new("T").add_mtext("ABCDEFGHIJ" * 2000, dxfattribs={"char_height": 1})
    doc.modelspace().add_blockref("T", (0, 0)).grid(size=(300, 300), spacing=(0, 0))
    yield "mtext", doc, "1800000000 letters"
    doc = new(4)
    doc.blocks.new("A").add_line((0, 0), (1, 0))
    doc.modelspace().add_blockref("A", (0, 0)).grid(size=(1500, 1500), spacing=(2, 2))
    yield "lines", doc, "2250000 elements and 2250000 block placements"
    # Nine million placements of an empty block make nothing but the placements.
    doc = new(4)
    doc.blocks.new("E")
    doc.modelspace().add_blockref("E", (0, 0)).grid(size=(3000, 3000), spacing=(0, 0))
    yield "empty", doc, "9000000 block placements"
    # Each of 10,000 copies of a fine hatch draws 66,667 lines; each of 22,500 solid fills
    # draws a hundred at the setup's smallest gap: their lines are what there is too much of.
    doc = new(4)
    hatch = doc.blocks.new("H").add_hatch()
    hatch.set_pattern_fill("_USER", definition=[[0, (0, 0), (0, 0.0015), []]])
    hatch.paths.add_polyline_path([(0, 0), (100, 0), (100, 100), (0, 100)])
    doc.modelspace().add_blockref("H", (0, 0)).grid(size=(100, 100), spacing=(0, 0))
    yield "hatch", doc, r"\d{9} hatch lines"
    doc = new(4)
    doc.blocks.new("S").add_hatch().paths.add_polyline_path([(0, 0), (100, 0), (100, 100),
                                                            (0, 100)])
    doc.modelspace().add_blockref("S", (0, 0)).grid(size=(150, 150), spacing=(0, 0))
    yield "solid", doc, "2250000 hatch lines"
    # A comb of 500 teeth across 1000 hatch lines cuts each into 500 pieces: 100 copies of it
    # draw fifty million pieces, though only 100,000 lines.
    doc = new(4)
    teeth = []
    for k in range(500):
        teeth += [(2 * k, 0), (2 * k, 100), (2 * k + 1, 100), (2 * k + 1, 0)]
    hatch = doc.blocks.new("C").add_hatch()
    hatch.set_pattern_fill("_USER", definition=[[0, (0, 0), (0, 0.1), []]])
    hatch.paths.add_polyline_path(teeth + [(1000, -1), (0, -1)])
    doc.modelspace().add_blockref("C", (0, 0)).grid(size=(10, 10), spacing=(0, 0))
    yield "comb", doc, "50000900 hatch lines"
    # 360,000 page-long lines of a dashed line type draw their dashes a millimetre apart on paper.
    doc = new(4)
    doc.linetypes.add("TINY", pattern=[0.002, 0.001, -0.001])
    doc.blocks.new("D").add_line((0, 0), (1000, 0), dxfattribs={"linetype": "TINY"})
    doc.modelspace().add_blockref("D", (0, 0)).grid(size=(400, 900), spacing=(2, 0))
    yield "dashes", doc, "72720000 dashes"
    # Fewer, but each of the 2304 x 100 circles of a fine dashed type is more than a metre round
    # on paper; and 169 copies of 30,000 letters that plot in some fifty strokes each.
    doc = new(4)
    doc.linetypes.add("FINE", pattern=[0.02, 0.01, -0.01])
    block = doc.blocks.new("R")
    for k in range(100):
        block.add_circle((0, 0), 100 + k, dxfattribs={"linetype": "FINE"})
    doc.modelspace().add_blockref("R", (0, 0)).grid(size=(48, 48), spacing=(0, 0))
    yield "circles", doc, r"\d{8} dashes"
    doc = new(4)
    block = doc.blocks.new("W")
    for k in range(100):
        block.add_text("@" * 300, dxfattribs={"height": 1, "insert": (0, k * 1.5)})
    doc.modelspace().add_blockref("W", (0, 0)).grid(size=(13, 13), spacing=(0, 0))
    yield "strokes", doc, "5070000 letters"


# The comb is drawn and the dashes and letters plotted: every command reads through the same
# bound.
plot = ["plot", "{}", "{}.pdf"]
commands = {"comb": ["render", "{}", "{}.png"], "dashes": plot, "circles": plot, "strokes": plot}
for name, doc, count in bombs():
    bomb = f"{work}/bomb_{name}.dxf"
    doc.saveas(bomb)
    command = [word.format(bomb) for word in commands.get(name, ["dump", "{}"])]
    start = time.monotonic()
    child = subprocess.Popen([cli, *command, "--home", home], stdout=subprocess.DEVNULL,
                             stderr=open(f"{work}/bomb.err", "w"))
    _, status, usage = os.wait4(child.pid, 0)
    took = time.monotonic() - start
    message = open(f"{work}/bomb.err").read()
    check(name, os.waitstatus_to_exitcode(status) == 1, f"status {status}")
    check(name, re.search(rf"The file would make {count}, too many !", message),
          f"message {message!r}")
    check(name, os.path.getsize(bomb) < 200_000, "the file is too large to prove anything")
    # Generous against a busy machine and the sanitizers; the read itself takes milliseconds.
    check(name, took < 10 and usage.ru_maxrss < 500_000, f"{took:.1f} s, {usage.ru_maxrss} KiB")



def peak(path):
    """Seconds and peak KiB of reading the file (written as a drawing: no report printed)."""
    start = time.monotonic()
    child = subprocess.Popen([cli, "convert", path, f"{path}.drw", "--home", home],
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    check(path, os.waitstatus_to_exitcode(status) == 0, "not read")
    return time.monotonic() - start, usage.ru_maxrss


# A grid of 250 x 250 placements with no spacing, of a closed line and a hatch whose boundary
# differs from it in one point: each boundary is paired with the drawn lines by one look-up,
# so the stacked grid reads about as fast as the same grid spread out (it was quadratic).
def overlap(spacing):
    doc = new(4)
    block = doc.blocks.new("A")
    block.add_lwpolyline([(0, 0), (1, 0), (1, 1), (0, 1)], close=True)
    hatch = block.add_hatch()
    hatch.set_pattern_fill("_USER", definition=[[0, (0, 0), (0, 0.5), []]])
    hatch.paths.add_polyline_path([(0, 0), (1, 0), (1, 1), (0, 2)])
    doc.modelspace().add_blockref("A", (0, 0)).grid(size=(250, 250), spacing=(spacing, spacing))
    path = f"{work}/overlap{spacing}.dxf"
    doc.saveas(path)
    return path


spread, _ = peak(overlap(3))
stacked, _ = peak(overlap(0))
check("overlap", stacked < 5 * spread + 5, f"stacked {stacked:.1f} s, spread {spread:.1f} s")


# Hatches deep in doubled blocks: the placements above them are shared, not copied per hatch,
# so twelve more levels of single inserts above cost next to nothing.
def doubled(singles):
    doc = new(4)
    block = doc.blocks.new("L0")
    for k in range(1, 17):
        hatch = block.add_hatch()
        hatch.set_pattern_fill("_USER", definition=[[0, (0, 0), (0, 0.5), []]])
        hatch.paths.add_polyline_path([(0, 0), (1, 0), (1, 1), (0, 1)])
        block = doc.blocks.new(f"L{k}")
        block.add_blockref(f"L{k - 1}", (0, 0))
        block.add_blockref(f"L{k - 1}", (2 ** (k // 2), (k % 2) * 2 ** (k // 2)))
    for k in range(17, 17 + singles):
        doc.blocks.new(f"L{k}").add_blockref(f"L{k - 1}", (0, 0))
    doc.modelspace().add_blockref(f"L{16 + singles}", (0, 0))
    path = f"{work}/doubled{singles}.dxf"
    doc.saveas(path)
    return path


_, shallow = peak(doubled(0))
_, deep = peak(doubled(15))
check("hatch chains", deep < 1.25 * shallow, f"deep {deep} KiB, shallow {shallow} KiB")

# 2. The plot of solid lines and a hatch strokes them: 4 sides and the hatch lines.
doc = new(4)
msp = doc.modelspace()
msp.add_lwpolyline([(0, 0), (100, 0), (100, 100), (0, 100)], close=True)
hatch = msp.add_hatch()
hatch.set_pattern_fill("_USER", definition=[[0, (0, 0), (0, 10), []]])
hatch.paths.add_polyline_path([(0, 0), (100, 0), (100, 100), (0, 100)])
plotted = f"{work}/plot.dxf"
doc.saveas(plotted)
pdf = f"{work}/plot.pdf"
run = subprocess.run([cli, "plot", plotted, pdf, "--home", home], capture_output=True, text=True)
check("plot", run.returncode == 0, f"plot failed: {run.stderr}")
if run.returncode == 0:
    subprocess.run(["qpdf", "--qdf", "--object-streams=disable", pdf, f"{work}/flat.pdf"],
                   check=True)
    content = open(f"{work}/flat.pdf", "rb").read().decode("latin-1")
    strokes = len(re.findall(r"^[-\d.]+ [-\d.]+ l$", content, re.M))
    check("plot", strokes >= 4 + 9, f"{strokes} strokes on the page")

# 4, 5. A colleague's long note opens: a TEXT and an MTEXT whose text comes in one line longer
# than a DXF line usually is are read (ezdxf writes an MTEXT's text in pieces, so one is joined
# here); a text longer than the drawing holds is cut, and that is reported. A long line that is
# no text refuses the file, and the message says so.
doc = new(4)
msp = doc.modelspace()
msp.add_text("T" * 1500, dxfattribs={"height": 1})
msp.add_mtext("LONGMTEXT", dxfattribs={"char_height": 1, "insert": (0, 10)})
msp.add_mtext("W" * 40000, dxfattribs={"char_height": 1, "insert": (0, 20)})
long_texts = f"{work}/long_texts.dxf"
doc.saveas(long_texts)
with open(long_texts) as f:
    joined = f.read().replace("LONGMTEXT", "M" * 3000)
with open(long_texts, "w") as f:
    f.write(joined)
run = dump(long_texts)
check("long texts", run.returncode == 0, f"not read: {run.stderr!r}")
check("long texts", "1 text cut to 32767 letters" in run.stderr, f"report {run.stderr!r}")
check("long texts", len(parse(run.stdout)["text"]) == 3, "texts left out")
doc = new(4)
doc.layers.add("LONGLAYER")
doc.modelspace().add_line((0, 0), (1, 0), dxfattribs={"layer": "LONGLAYER"})
long_name = f"{work}/long_name.dxf"
doc.saveas(long_name)
with open(long_name) as f:
    joined = f.read().replace("LONGLAYER", "L" * 1100)
with open(long_name, "w") as f:
    f.write(joined)
run = dump(long_name)
check("long name", run.returncode == 1 and
      "A line of the file is too long, file not read !" in run.stderr, f"{run.stderr!r}")

# Letters: the euro sign of a UTF-8 file (and of an escape) is the character set's own, a
# letter the set lacks is read as "?" and counted.
# A binary file, and one that begins with a byte order mark, read as the same file in text;
# a damaged binary file is refused as such.
doc = new(4)
msp = doc.modelspace()
msp.add_text("25 € Ä 中", dxfattribs={"height": 3})
msp.add_mtext("\\U+20AC", dxfattribs={"char_height": 3, "insert": (0, 10)})
msp.add_lwpolyline([(0, 0), (1, 0), (1, 2)])
letters = f"{work}/letters.dxf"
doc.saveas(letters)
doc.saveas(f"{work}/letters_bin.dxf", fmt="bin")
with open(letters, "rb") as f:
    text = f.read()
with open(f"{work}/letters_bom.dxf", "wb") as f:
    f.write(b"\xef\xbb\xbf" + text)
with open(f"{work}/letters_bin.dxf", "rb") as f:
    binary = f.read()
with open(f"{work}/letters_cut.dxf", "wb") as f:
    f.write(binary[:-3])
run = subprocess.run([cli, "convert", letters, f"{work}/letters_back.dxf", "--home", home],
                     capture_output=True, encoding="latin-1")
check("letters", run.stderr.strip() == "1 letters not readable", f"report {run.stderr!r}")
if run.returncode == 0:
    back = ezdxf.readfile(f"{work}/letters_back.dxf").modelspace().query("TEXT")
    back = sorted(t.dxf.text for t in back)
    check("letters", back == ["25 € Ä ?", "€"], f"texts {back}")
plain = dump(letters)
for variant in ("bin", "bom"):
    run = dump(f"{work}/letters_{variant}.dxf")
    check("letters", (run.stdout.split("\n")[1:], run.stderr) ==
          (plain.stdout.split("\n")[1:], plain.stderr), f"{variant}: {run.stderr!r}")
run = dump(f"{work}/letters_cut.dxf")
check("letters", run.returncode == 1 and
      "The binary DXF file is damaged, file not read !" in run.stderr, f"cut: {run.stderr!r}")

# Memory that runs short while ten million points are read, or while their report is built,
# is said the same way by every tool ("Memory overflow !"): nothing aborts. A sanitizer's build
# reserves more address space than any of these limits and is left out.
def limited(limit):
    return lambda: resource.setrlimit(resource.RLIMIT_AS, (limit * 1024, limit * 1024))


with open(cli, "rb") as f:
    binary = f.read()
if b"__asan_init" not in binary and b"__tsan_init" not in binary:
    doc = new(4)
    block = doc.blocks.new("P")
    block.add_lwpolyline([(k * 0.01, (k % 2) * 0.01) for k in range(4000)])
    doc.modelspace().add_blockref("P", (0, 0)).grid(size=(50, 50), spacing=(1, 1))
    points = f"{work}/points.dxf"
    doc.saveas(points)
    outputs = {"dump": [], "convert": [f"{work}/points.drw"], "plot": [f"{work}/points.pdf"],
               "render": [f"{work}/points.png"]}
    # Every tool gives up reading within the smallest limit; within the largest the dump reports
    # as convert does, its report written a piece at a time and never held whole.
    for limit in (250_000, 330_000, 400_000):
        for tool, output in outputs.items() if limit == 250_000 else [("dump", [])]:
            run = subprocess.run([cli, tool, points, *output, "--home", home],
                                 stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
                                 encoding="latin-1", preexec_fn=limited(limit))
            said = run.stderr.strip()
            short = run.returncode == 1 and said == f"lumora-cli {tool}: Memory overflow !"
            check("memory", (run.returncode == 0) if limit == 400_000 else
                  short or (run.returncode == 0 and limit > 250_000),
                  f"{tool} within {limit} KiB: status {run.returncode}, {said[:200]!r}")

# 9. Off and frozen layers stay hidden through a DXF written again.
run = subprocess.run([cli, "convert", f"{work}/layers.dxf", f"{work}/layers_again.dxf",
                      "--home", home], capture_output=True, encoding="latin-1")
check("hidden layers", run.returncode == 0, f"{run.stderr!r}")
check("hidden layers", parse(dump(f"{work}/layers_again.dxf").stdout)["hidden"] == [12, 13, 14],
      "the layers off in the file show again")

for failure in failures:
    print("FAIL:", failure)
if failures:
    sys.exit(1)
print("cli_dxf_foreign: ok")
PY
