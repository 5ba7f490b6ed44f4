#!/usr/bin/env bash
# Builds and tests everything: the native unit tests (and a short benchmark
# run), the same tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# a short run of the fuzz targets, then the Windows build and its zip with
# their unit, adapter and end-to-end tests under Wine on a virtual display
# (one of them runs the program from the unpacked zip), and one timed
# run of the real program there (scripts/bench-wine.sh --smoke).
# Ends with one line "N passed, M failed" over both test runs; exits non-zero
# on any failed build or test.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)

bash scripts/deps.sh || { echo "could not install the dependencies" >&2; exit 1; }
# shellcheck source=common.sh
. "$root/scripts/common.sh"

passed=0
failed=0
broken=()  # steps that failed outside ctest's count

step() {
  local what=$1
  shift
  echo "== $what"
  if ! "$@"; then
    broken+=("$what")
    return 1
  fi
}

# Runs ctest in a build folder and adds its counts to the totals.
run_ctest() {
  local dir=$1 log summary total fails
  log="$dir/ctest-summary.log"
  echo "== tests in $dir"
  ctest --test-dir "$dir" --output-on-failure -j1 2>&1 | tee "$log"
  local rc=${PIPESTATUS[0]}
  summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
  if [ -n "$summary" ]; then
    total=${summary##* out of }
    fails=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    passed=$((passed + total - fails))
    failed=$((failed + fails))
  elif grep -q 'No tests were found' "$log"; then
    broken+=("no tests found in $dir")
  fi
  if [ "$rc" -ne 0 ] && [ -z "$summary" ]; then broken+=("ctest in $dir"); fi
}

# Native: unit tests against the fake desktop.
if step "configure build/native" solvane_configure native &&
   step "build build/native" solvane_build native; then
  run_ctest build/native
  step "benchmark smoke run" build/native/bench/solvane_bench --smoke
fi

# The same unit tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
if step "configure build/sanitize" solvane_configure sanitize &&
   step "build build/sanitize" solvane_build sanitize; then
  run_ctest build/sanitize
fi

# The fuzz targets, built with clang's libFuzzer, a few seconds each.
step "fuzz short run" bash scripts/fuzz.sh

# Windows: one display and one Wine prefix for the build (test discovery may
# run the test programs) and for every test after it.
# shellcheck source=wine-env.sh
. "$root/scripts/wine-env.sh"
export SOLVANE_HEADLESS=${SOLVANE_HEADLESS:-1}  # never share the user's clipboard
unset CTEST_PARALLEL_LEVEL                      # the tests share one clipboard
trap solvane_wine_down EXIT
if step "start Wine" solvane_wine_up &&
   step "configure build/win" solvane_configure win &&
   step "build build/win" solvane_build win; then
  # The zip a Windows user downloads; the e2e_package test unpacks and runs it.
  step "package build/win" solvane_build win package
  run_ctest build/win
  # A few seconds: the programs built above, nothing built again.
  step "Wine timing smoke run" env SOLVANE_BENCH_EXE=build/native/bench/solvane_bench \
    SOLVANE_EXE=build/win/SolvaneClips.exe SOLVANE_DRIVER_EXE=build/win/tests/e2e/solvane_driver.exe \
    bash scripts/bench-wine.sh --smoke
fi

for b in "${broken[@]}"; do echo "failed: $b"; done
echo "$passed passed, $((failed + ${#broken[@]})) failed"
[ "$failed" -eq 0 ] && [ ${#broken[@]} -eq 0 ]
