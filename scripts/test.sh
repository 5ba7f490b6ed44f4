#!/usr/bin/env bash
# Builds and tests everything: the layout of the C++ files, the native unit tests (and a short benchmark
# run), the same tests under AddressSanitizer and UndefinedBehaviorSanitizer,
# a short run of the fuzz targets, then the Windows build and its zip with
# their unit, adapter and end-to-end tests under Wine on a virtual display
# (one of them runs the program from the unpacked zip), and one timed
# run of the real program there (scripts/bench-wine.sh --smoke).
# Ends with one line "N passed, M failed" over both test runs; exits non-zero
# on any failed build or test.
#
#   scripts/test.sh                   everything (what CI runs)
#   scripts/test.sh --only native     the native build and its tests
#   scripts/test.sh --only sanitize   the sanitizer build and its tests
#   scripts/test.sh --only win        the Windows build, its zip and every test of it
#                                     (the timed run under Wine comes with the whole run only)
#   scripts/test.sh --only e2e        the end-to-end tests against build/win
#   scripts/test.sh --only e2e NAME   one of them, tests/e2e/NAME.sh, building what it needs
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
root=$(pwd)

# The comment above, up to the first line that is not one.
usage() { awk 'NR > 1 && !/^#/ { exit } NR > 1 { sub(/^# ?/, ""); print }' "$0"; }

only=""
e2e_name=""
while [ $# -gt 0 ]; do
  case $1 in
    --only)
      [ $# -ge 2 ] || { echo "test: --only needs a part: native, sanitize, win or e2e [NAME]" >&2; exit 2; }
      only=$2
      shift 2
      if [ "$only" = e2e ] && [ $# -gt 0 ]; then
        e2e_name=$1
        shift
      fi
      ;;
    -h | --help) usage; exit 0 ;;
    *) echo "test: unknown argument: $1" >&2; usage >&2; exit 2 ;;
  esac
done
case $only in
  "" | native | sanitize | win | e2e) ;;
  *) echo "test: --only takes native, sanitize, win or e2e [NAME], not '$only'" >&2; exit 2 ;;
esac
if [ -n "$e2e_name" ]; then
  e2e_name=${e2e_name%.sh}
  e2e_name=${e2e_name#e2e_}
  if [ ! -f "tests/e2e/$e2e_name.sh" ] || [ "$e2e_name" = lib ]; then
    echo "test: no end-to-end test $e2e_name; there are:" >&2
    for f in tests/e2e/*.sh; do [ "$f" = tests/e2e/lib.sh ] || basename "$f" .sh; done | paste -sd ' ' | fold -s -w 78 >&2
    exit 2
  fi
fi
# part NAME: whether this run includes the part NAME.
part() { [ -z "$only" ] || [ "$only" = "$1" ]; }

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

# run_ctest PRESET [CTEST ARGS...]: runs the preset's tests (CMakePresets.json,
# one at a time) and adds their counts to the totals.
run_ctest() {
  local preset=$1 dir log summary total fails
  shift
  dir=build/$preset
  log="$dir/ctest-summary.log"
  echo "== tests in $dir"
  ctest --preset "$preset" "$@" 2>&1 | tee "$log"
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

# The layout every C++ file keeps (.clang-format); the whole run only.
format_check() {
  find src tests bench fuzz tools \( -name '*.cpp' -o -name '*.h' \) -print0 | xargs -0 clang-format --dry-run -Werror
}
if [ -z "$only" ]; then step "format check" format_check; fi

# Native: unit tests against the fake desktop.
if part native &&
   step "configure build/native" solvane_configure native &&
   step "build build/native" solvane_build native; then
  run_ctest native
  step "benchmark smoke run" build/native/bench/solvane_bench --smoke
fi

# The same unit tests built with AddressSanitizer and UndefinedBehaviorSanitizer.
if part sanitize &&
   step "configure build/sanitize" solvane_configure sanitize &&
   step "build build/sanitize" solvane_build sanitize; then
  run_ctest sanitize
fi

# The fuzz targets, built with clang's libFuzzer, a few seconds each.
if [ -z "$only" ]; then step "fuzz short run" bash scripts/fuzz.sh; fi

# Windows: one display and one Wine prefix for the build (test discovery may
# run the test programs) and for every test after it.
if part win || part e2e; then
  # shellcheck source=wine-env.sh
  . "$root/scripts/wine-env.sh"
  export SOLVANE_HEADLESS=${SOLVANE_HEADLESS:-1}  # never share the user's clipboard
  unset CTEST_PARALLEL_LEVEL                      # the tests share one clipboard
  trap solvane_wine_down EXIT
  if step "start Wine" solvane_wine_up && step "configure build/win" solvane_configure win; then
    if [ -n "$e2e_name" ]; then
      # One script: the program and the driver, and the zip for the test of it.
      targets=(SolvaneClips solvane_driver)
      [ "$e2e_name" != package ] || targets+=(package)
      if step "build ${targets[*]} in build/win" solvane_build win "${targets[@]}"; then
        echo "== tests/e2e/$e2e_name.sh"
        if bash "tests/e2e/$e2e_name.sh" build/win/SolvaneClips.exe build/win/tests/e2e/solvane_driver.exe build/win; then
          passed=$((passed + 1))
        else
          failed=$((failed + 1))
        fi
      fi
    elif step "build build/win" solvane_build win; then
      # The zip a Windows user downloads; the e2e_package test unpacks and runs it.
      step "package build/win" solvane_build win package
      if [ "$only" = e2e ]; then
        run_ctest win -L e2e
      else
        run_ctest win
      fi
      # A few seconds: the programs built above, nothing built again.
      if [ -z "$only" ]; then
        step "Wine timing smoke run" env SOLVANE_BENCH_EXE=build/native/bench/solvane_bench \
          SOLVANE_EXE=build/win/SolvaneClips.exe SOLVANE_DRIVER_EXE=build/win/tests/e2e/solvane_driver.exe \
          bash scripts/bench-wine.sh --smoke
      fi
    fi
  fi
fi

for b in "${broken[@]}"; do echo "failed: $b"; done
echo "$passed passed, $((failed + ${#broken[@]})) failed"
[ "$failed" -eq 0 ] && [ ${#broken[@]} -eq 0 ]
