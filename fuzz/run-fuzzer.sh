#!/usr/bin/env bash
# Runs one libFuzzer target for a bounded time from its committed seeds plus any seeds
# the unit tests left in the build tree, each input allowed TIMEOUT seconds (10 unless given).
# Usage: run-fuzzer.sh BINARY CORPUS SEEDS SECONDS [TIMEOUT]
set -euo pipefail
bin=$1 corpus=$2 seeds=$3 seconds=$4 timeout=${5:-10}
mkdir -p "$corpus"
dirs=("$corpus")
[ -d "$seeds" ] && dirs+=("$seeds")
exec "$bin" -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=2048 -print_final_stats=1 \
  "${dirs[@]}"
