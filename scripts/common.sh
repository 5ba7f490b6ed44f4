# shellcheck shell=bash
# The one way the scripts configure and build: through the presets in
# CMakePresets.json. Source it from the repository's root.

# solvane_configure PRESET: configures the preset's build folder, or
# $SOLVANE_BUILD_DIR when set. A new folder gets Ninja when it is there, else
# CMake's default; a folder already configured keeps its generator (a build
# folder set up by hand with `cmake --preset` alone uses CMake's default).
solvane_configure() {
  local preset=$1 args=() dir
  dir=${SOLVANE_BUILD_DIR:-build/$preset}
  if [ ! -f "$dir/CMakeCache.txt" ] && command -v ninja >/dev/null; then args+=(-G Ninja); fi
  if [ -n "${SOLVANE_BUILD_DIR:-}" ]; then args+=(-B "$SOLVANE_BUILD_DIR"); fi
  cmake --preset "$preset" "${args[@]}"
}

# solvane_build PRESET [TARGET...]: builds the preset (two jobs: two cores
# here, and another build may be running), all targets or the ones named.
solvane_build() {
  local preset=$1 targets=()
  shift
  if [ $# -gt 0 ]; then targets=(--target "$@"); fi
  if [ -n "${SOLVANE_BUILD_DIR:-}" ]; then
    cmake --build "$SOLVANE_BUILD_DIR" -j 2 "${targets[@]}"
  else
    cmake --build --preset "$preset" "${targets[@]}"
  fi
}
