#!/usr/bin/env bash
# The headless tools must run on a machine without a display: no GL, GLUT, X or SDL libraries.
set -euo pipefail
build=$1
libs=$(ldd "$build/lumora-cli")
if echo "$libs" | grep -Ei 'libGL|libglut|libX11|libSDL|libcairo|libcups'; then
  echo "lumora-cli links a window-system library" >&2
  exit 1
fi
echo "lumora-cli links no window-system library"
