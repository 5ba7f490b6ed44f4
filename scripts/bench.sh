#!/usr/bin/env bash
# Builds the native benchmarks and runs them: each operation against its
# baseline from the same run, then a table of medians, ratios and targets.
#
#   scripts/bench.sh            full run (a few minutes); exits 1 on a missed target
#   scripts/bench.sh --smoke    a few iterations each, targets not judged (CI)
#
# Further arguments go to the benchmark program (e.g. --benchmark_filter=capture).
# Build folder: build/bench, or $SOLVANE_BENCH_BUILD. The file benchmarks
# write to $TMPDIR (default /tmp).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${SOLVANE_BENCH_BUILD:-build/bench}
bash scripts/deps.sh
# shellcheck source=common.sh
. scripts/common.sh
if [ "$build" != build/bench ]; then export SOLVANE_BUILD_DIR=$build; fi
solvane_configure bench >/dev/null
solvane_build bench solvane_bench >/dev/null

model=$(grep -m1 'model name' /proc/cpuinfo 2>/dev/null | sed 's/.*: //' || true)
echo "machine: $(nproc) cores, ${model:-unknown CPU}, $(uname -sr)"
"$build/bench/solvane_bench" "$@"
