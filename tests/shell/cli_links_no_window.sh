#!/usr/bin/env bash
# The headless tools must run on a machine without a display: lumora-cli itself needs no GL,
# GLUT, X or SDL library, and never the printer's. It writes the PDF page itself, compressed
# with zlib.
set -euo pipefail
build=$1
needed=$(readelf -d "$build/lumora-cli" | grep NEEDED)
if echo "$needed" | grep -Ei 'libGL|libglut|libX11|libSDL|libcups'; then
  echo "lumora-cli links a window-system or printer library" >&2
  exit 1
fi
echo "$needed" | grep -q 'libz\.' || { echo "lumora-cli lacks the PDF page's compression" >&2; exit 1; }
echo "lumora-cli links no window-system library"
