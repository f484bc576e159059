#!/usr/bin/env bash
# Drawings saved as DXF and read back: every drawing among the event files' drawings and every
# drawing the event files save gives the same drawing report and the same attributes
# after .drw -> .dxf -> .drw (rows in any order, as reading a drawing file turns its lists).
# An independent reader (python3-ezdxf) finds no fault in any of these DXF files nor in those
# the event files save, the sheet in $LIMMIN/$LIMMAX, each hatch's pattern at the filling's
# angle and gap, and line types of the plotter's dashes; in the DXF that files_dxf_export saves,
# the filling of four open lines is one path of four edges tied to the four lines, and the
# dashed line of section 6 has dashes and gaps of 1.5 millimetres. A conversion that leaves
# something out exits 2.
# Usage: cli_dxf_export.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
work="$build/test-tmp/shell-cli-dxf-export"
rm -rf "$work"
mkdir -p "$work/drawings"
exec /usr/bin/python3 - "$build/lumora-cli" "$source_dir" "$work" <<'PY'
import glob, math, os, re, shutil, subprocess, sys
import ezdxf

cli, source, work = sys.argv[1:4]
data = os.path.join(source, "data")
failures = []


def run(*args):
    return subprocess.run([cli, *args], capture_output=True)


# The drawings the event files save, each played in a home of its own as the event tests are.
drawings = sorted(glob.glob(os.path.join(source, "tests/events/**/*.drw"), recursive=True))
saved_dxf = []
for events in sorted(glob.glob(os.path.join(source, "tests/events/*.events"))):
    with open(events, encoding="utf-8") as f:
        if "F7" not in f.read():
            continue  # the drawings the event files save are saved by F7
    name = os.path.basename(events)[:-len(".events")]
    home = os.path.join(work, "homes", name)
    shutil.copytree(data, home)
    for extra in glob.glob(os.path.join(source, "tests/events/drawings/*")):
        if extra.endswith((".drw", ".txt")):
            shutil.copy(extra, os.path.join(home, "DRAWINGS"))
    own = os.path.join(source, "tests/events", name)
    for extra in glob.glob(os.path.join(own, "*")):
        shutil.copy(extra, os.path.join(home, "DRAWINGS"))
    before = set(os.listdir(os.path.join(home, "DRAWINGS")))
    played = run("play", events, "--home", home, "--golden", os.path.join(source, "tests/golden"),
                 "--out", os.path.join(work, "out", name))
    if played.returncode != 0:
        failures.append(f"{name}: the event file did not play: {played.stderr.decode()[:300]}")
    for root, _, files in os.walk(home):
        for file in files:
            if root.endswith("DRAWINGS") and file in before:
                continue
            copy = os.path.join(work, "drawings", f"{name}-{file}")
            if file.lower().endswith(".drw"):
                shutil.copy(os.path.join(root, file), copy)
                drawings.append(copy)
            if file.lower().endswith(".dxf"):
                shutil.copy(os.path.join(root, file), copy)
                saved_dxf.append(copy)
if len(drawings) < 5:
    failures.append(f"only {len(drawings)} drawings found")


def attributes(path):
    """The header's numbers and the fillings' gaps and angles as the program reads the drawing."""
    report = run("dump", path, "--attributes", "--home", data).stdout.decode("latin-1")
    limits = [float(v) for v in re.search(r"limits:\s*([-\d.]+),\s*([-\d.]+),\s*([-\d.]+),"
                                           r"\s*([-\d.]+)", report).groups()]
    fillings = sorted((float(g), float(a)) for g, a in
                      re.findall(r" filling \d+:.* gap:(\S+) angle:(\S+)", report))
    return limits, fillings


def independent(name, dxf, drawing):
    """What another program finds in the DXF, against the drawing it was written from."""
    doc = ezdxf.readfile(dxf)
    auditor = doc.audit()
    for entry in auditor.errors + auditor.fixes:
        failures.append(f"{name}: audit: {entry.message}")
    limits, fillings = attributes(drawing)
    found = list(doc.header["$LIMMIN"])[:2] + list(doc.header["$LIMMAX"])[:2]
    if any(abs(a - b) > 0.051 for a, b in zip(found, limits)):
        failures.append(f"{name}: limits {found} for the sheet {limits}")
    hatches = []
    for hatch in [h for block in doc.blocks for h in block.query("HATCH")]:
        line = hatch.pattern.lines[0]
        spacing = abs(-line.offset[0] * math.sin(math.radians(line.angle)) +
                      line.offset[1] * math.cos(math.radians(line.angle)))
        if abs(spacing - hatch.dxf.pattern_scale) > 1e-6 or line.angle != hatch.dxf.pattern_angle:
            failures.append(f"{name}: the pattern line {line} is not the hatch's own")
        hatches.append((round(spacing, 4), round(line.angle, 4)))
    wanted = [(round(g, 4), round(a, 4)) for g, a in fillings]
    if sorted(hatches) != sorted(wanted):
        failures.append(f"{name}: hatches at {sorted(hatches)} for fillings at {sorted(wanted)}")
    for linetype in doc.linetypes:
        dashes = [t.value for t in linetype.pattern_tags.tags if t.code == 49]
        kind = re.match(r"(DASHED|DOT|DASHDOT)\d+$", linetype.dxf.name)
        if kind is None:
            continue
        a = -dashes[1] if len(dashes) > 1 else 0
        shape = {"DASHED": [a, -a], "DOT": [0, -a], "DASHDOT": [2 * a, -a, 0, -a]}[kind.group(1)]
        if not a > 0 or [round(d, 9) for d in dashes] != [round(d, 9) for d in shape]:
            failures.append(f"{name}: line type {linetype.dxf.name} has dashes {dashes}")
    return doc


def rows(path):
    """The report and attribute rows without the drawing's name and the attributes' numbering."""
    dumped = run("dump", path, "--attributes", "--home", data)
    if dumped.returncode != 0:
        return None
    out = []
    for row in dumped.stdout.decode("latin-1").splitlines():
        if row.startswith("DRAWING:"):
            continue
        # Positions in the lists: reading a drawing file turns them.
        row = re.sub(r"^ (line|filling|text) \d+:", r" \1:", row)
        out.append(re.sub(r" next:[0-9a-f]+$", "", row))
    return sorted(out)


for drawing in drawings:
    name = os.path.basename(drawing)[:-4]
    if rows(drawing) is None:
        continue  # a drawing the program refuses to read (the event files keep a broken one)
    dxf = os.path.join(work, name + ".dxf")
    back = os.path.join(work, name + ".back.drw")
    if run("convert", drawing, dxf, "--home", data).returncode != 0:
        failures.append(f"{name}: not converted to DXF")
        continue
    if run("convert", dxf, back, "--home", data).returncode != 0:
        failures.append(f"{name}: the DXF did not convert back")
        continue
    independent(name, dxf, drawing)
    first, second = rows(drawing), rows(back)
    if first != second:
        lost = [r for r in first if r not in second][:4]
        gained = [r for r in second if r not in first][:4]
        failures.append(f"{name}: the reports differ: {lost} became {gained}")

exported = [d for d in saved_dxf if os.path.basename(d).startswith("files_dxf_export-")]
if len(exported) != 1:
    failures.append(f"files_dxf_export saved {len(exported)} DXF files")
for dxf in saved_dxf:
    doc = independent(os.path.basename(dxf), dxf, dxf)
    if dxf not in exported:
        continue
    hatches = list(doc.modelspace().query("HATCH"))
    paths = [len(p.edges) for h in hatches for p in h.paths]
    tied = [len(p.source_boundary_objects) for h in hatches for p in h.paths]
    if paths != [4] or tied != [4] or hatches[0].dxf.associative != 1:
        failures.append(f"{dxf}: the four lines make paths of {paths} edges tied to {tied} lines")
    dashed = [t.value for t in doc.linetypes.get("DASHED6").pattern_tags.tags if t.code == 49]
    if dashed != [1.5, -1.5]:
        failures.append(f"{dxf}: the dashes of section 6 are {dashed}")

# A conversion that has to leave something out writes what it can, says what it left out and
# exits 2: a text of two rows (made by changing one letter of a drawing file) does not fit a
# TEXT.
text = os.path.join(work, "text.dxf")
with open(text, "w") as f:
    f.write("0\nSECTION\n2\nENTITIES\n0\nTEXT\n10\n1\n20\n1\n40\n3\n1\nROWSxTWO\n"
            "0\nENDSEC\n0\nEOF\n")
rows_drw = os.path.join(work, "rows.drw")
if run("convert", text, rows_drw, "--home", data).returncode != 0:
    failures.append("the text DXF did not convert")
else:
    with open(rows_drw, "rb") as f:
        held = f.read()
    with open(rows_drw, "wb") as f:
        f.write(held.replace(b"ROWSxTWO", b"ROWS\nTWO"))
    lossy = run("convert", rows_drw, os.path.join(work, "rows.dxf"), "--home", data)
    said = lossy.stderr.decode()
    if lossy.returncode != 2 or "1 text" not in said or not os.path.exists(
            os.path.join(work, "rows.dxf")):
        failures.append(f"a lossy conversion exits {lossy.returncode} saying {said!r}")

for failure in failures:
    print("FAIL:", failure)
if failures:
    sys.exit(1)
print(f"cli_dxf_export: ok ({len(drawings)} drawings)")
PY
