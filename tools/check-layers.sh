#!/usr/bin/env bash
# Checks the include layers of src/: a folder includes only its own layer and lower ones.
# Usage: check-layers.sh [SRC_DIR]   (default: the src/ beside this script's folder)
# Prints every offending include as FILE:LINE: includes FOLDER (higher layer); exit 1 if any.
set -euo pipefail

# The layers, lowest first, one per line; folders on one line are of the same layer. A folder
# that does not exist (yet) is no error.
layers='
util sound
geometry
model
text
setup files view
element_geometry
screen
protocol
ui
properties commands script plot
control
platform app
'

src="${1:-$(cd "$(dirname "$0")/.." && pwd)/src}"
[[ -d "$src" ]] || { echo "check-layers: no directory $src" >&2; exit 2; }

declare -A level
n=0
while read -r line; do
  [[ -z "$line" ]] && continue
  n=$((n + 1))
  for folder in $line; do level[$folder]=$n; done
done <<<"$layers"

bad=0
# Folders of src/ that hold files but are in no layer: the table needs a line for them.
while IFS= read -r own; do
  if [[ -z "${level[$own]:-}" ]]; then
    echo "src/$own: a folder in no layer of tools/check-layers.sh"
    bad=1
  fi
done < <(find "$src" -mindepth 2 -type f \( -name '*.h' -o -name '*.cpp' \) -printf '%P\n' |
         cut -d/ -f1 | sort -u)

# Every include of a folder's header, as FILE:LINE:FOLDER.
while IFS=: read -r file number folder; do
  rel="${file#"$src"/}"
  own="${rel%%/*}"
  [[ -z "${level[$own]:-}" || -z "${level[$folder]:-}" ]] && continue
  if (( level[$folder] > level[$own] )); then
    echo "src/$rel:$number: includes $folder (higher layer)"
    bad=1
  fi
done < <(grep -rn -E --include='*.h' --include='*.cpp' \
           '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"/]+/' "$src" |
         sed -E 's/^([^:]+):([0-9]+):.*"([^"/]+)\/.*$/\1:\2:\3/' | sort -t: -k1,1 -k2,2n)

(( bad == 0 )) && echo "check-layers: every include keeps to its layer"
exit $bad
