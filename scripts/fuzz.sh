#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build/fuzz and runs each one
# for a few seconds:
#   scripts/fuzz.sh                 # about 5 s a target
#   scripts/fuzz.sh --seconds 600   # a long run
#   scripts/fuzz.sh --seconds 60 capture shortcut   # only these targets
# Installs what is missing first (scripts/deps.sh). Each target's corpus grows
# in build/fuzz/corpus/<target> from run to run; an input that breaks a
# target is kept in build/fuzz/crashes/ and the script exits 1.
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1

seconds=5
targets=()
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) seconds=${2:-}; shift 2 || { echo "fuzz: --seconds needs a number" >&2; exit 2; } ;;
    --seconds=*) seconds=${1#--seconds=}; shift ;;
    -h|--help) sed -n '2,10p' "$0"; exit 0 ;;
    -*) echo "fuzz: unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done
if ! [[ $seconds =~ ^[1-9][0-9]*$ ]]; then
  echo "fuzz: --seconds needs a whole number of seconds, not '$seconds'" >&2
  exit 2
fi
# The targets are those fuzz/CMakeLists.txt builds (SOLVANE_FUZZ_TARGETS),
# one for each fuzz/NAME_fuzz.cpp.
read -r -a all_targets <<<"$(sed -n 's/^set(SOLVANE_FUZZ_TARGETS \(.*\))$/\1/p' fuzz/CMakeLists.txt)"
[ ${#all_targets[@]} -gt 0 ] || { echo "fuzz: no SOLVANE_FUZZ_TARGETS in fuzz/CMakeLists.txt" >&2; exit 1; }
for f in fuzz/*_fuzz.cpp; do
  t=$(basename "$f" _fuzz.cpp)
  [[ " ${all_targets[*]} " == *" $t "* ]] ||
    { echo "fuzz: $f is not in SOLVANE_FUZZ_TARGETS (fuzz/CMakeLists.txt)" >&2; exit 1; }
done
for t in "${targets[@]}"; do
  [[ " ${all_targets[*]} " == *" $t "* ]] ||
    { echo "fuzz: no target $t; the targets are: ${all_targets[*]}" >&2; exit 2; }
done
[ ${#targets[@]} -gt 0 ] || targets=("${all_targets[@]}")

bash scripts/deps.sh || { echo "fuzz: could not install the dependencies" >&2; exit 1; }
for tool in clang clang++ cmake; do
  if ! command -v "$tool" >/dev/null; then
    echo "fuzz: $tool not found (scripts/deps.sh installs it)" >&2
    exit 1
  fi
done

# shellcheck source=common.sh
. scripts/common.sh
out=build/fuzz
mkdir -p build  # the first command after a clone finds no build folder
solvane_configure fuzz >"$out.configure.log" 2>&1 ||
  { cat "$out.configure.log" >&2; echo "fuzz: configure failed" >&2; exit 1; }
names=()
for t in "${targets[@]}"; do names+=("fuzz_$t"); done
solvane_build fuzz "${names[@]}" || { echo "fuzz: build failed" >&2; exit 1; }

mkdir -p "$out/crashes" "$out/logs"
found=()
for t in "${targets[@]}"; do
  bin=$out/fuzz/fuzz_$t
  seeds=$out/seeds/$t
  corpus=$out/corpus/$t
  rm -rf "$seeds"
  mkdir -p "$seeds" "$corpus"
  "$bin" --write-seeds="$seeds" --write-dict="$out/seeds/$t.dict" || { found+=("$t (seeds)"); continue; }
  options=(-max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 -dict="$out/seeds/$t.dict"
           -artifact_prefix="$out/crashes/$t-" -print_final_stats=1)
  # Clipboard texts reach megabytes; the files and texts of the others stay small.
  case $t in
    capture) options+=(-max_len=3000000) ;;
    *) options+=(-max_len=16384) ;;
  esac
  log=$out/logs/$t.log
  "$bin" "${options[@]}" "$corpus" "$seeds" >"$log" 2>&1
  rc=$?
  runs=$(grep -E '^stat::number_of_executed_units:' "$log" | awk '{print $2}')
  if [ "$rc" -eq 0 ]; then
    echo "fuzz: $t: ${runs:-?} runs in ${seconds} s, nothing found"
  else
    found+=("$t")
    echo "fuzz: $t FAILED (exit $rc); the end of $log:" >&2
    tail -n 40 "$log" >&2
    ls -t "$out/crashes/$t-"* 2>/dev/null | head -n 1 | sed 's/^/fuzz: input kept in /' >&2
  fi
done

if [ ${#found[@]} -gt 0 ]; then
  echo "fuzz: failed: ${found[*]}" >&2
  exit 1
fi
