#!/usr/bin/env bash
# Drawings saved as DXF and read back: every drawing among the event files' drawings and every
# drawing the event files save gives the same drawing report and the same attributes
# after .drw -> .dxf -> .drw (rows in any order, as reading a drawing file turns its lists).
# Usage: cli_dxf_export.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
work="$build/test-tmp/shell-cli-dxf-export"
rm -rf "$work"
mkdir -p "$work/drawings"
exec /usr/bin/python3 - "$build/lumora-cli" "$source_dir" "$work" <<'PY'
import glob, os, re, shutil, subprocess, sys

cli, source, work = sys.argv[1:4]
data = os.path.join(source, "data")
failures = []


def run(*args):
    return subprocess.run([cli, *args], capture_output=True)


# The drawings the event files save, each played in a home of its own as the event tests are.
drawings = sorted(glob.glob(os.path.join(source, "tests/events/drawings/*.drw")))
for events in sorted(glob.glob(os.path.join(source, "tests/events/*.events"))):
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
            if file.lower().endswith(".drw") and not (root.endswith("DRAWINGS") and file in before):
                copy = os.path.join(work, "drawings", f"{name}-{file}")
                shutil.copy(os.path.join(root, file), copy)
                drawings.append(copy)
if len(drawings) < 5:
    failures.append(f"only {len(drawings)} drawings found")


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
    first, second = rows(drawing), rows(back)
    if first != second:
        lost = [r for r in first if r not in second][:4]
        gained = [r for r in second if r not in first][:4]
        failures.append(f"{name}: the reports differ: {lost} became {gained}")

for failure in failures:
    print("FAIL:", failure)
if failures:
    sys.exit(1)
print(f"cli_dxf_export: ok ({len(drawings)} drawings)")
PY
