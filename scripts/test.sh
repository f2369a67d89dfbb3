#!/usr/bin/env bash
# Installs what is missing, builds the suite twice and runs every test in both builds: the
# normal build (gcc, with the desktop program), and a clang build with AddressSanitizer and
# UndefinedBehaviorSanitizer that also holds the libFuzzer targets; then runs every fuzz target
# for a short time on its seed corpus (FUZZ_SECONDS, default 10).
# Compilations are cached with ccache (in ~/.cache/ccache unless CCACHE_DIR says otherwise), so
# a second run on the same machine rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

launcher=()
if command -v ccache >/dev/null; then
  # Hits across clones in other folders: paths taken relative to the checkout, and the folder
  # of a compilation left out of the hash (only the debugger's idea of it may then be another
  # clone's).
  export CCACHE_BASEDIR=$PWD CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

run_build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPASARELA_TESTS=ON "${launcher[@]}" "$@" >/dev/null
  cmake --build "$dir" -j2
  (cd "$dir" && ctest --output-on-failure -j2)
}

echo "== compilación normal (build/) $(date +%T)"
run_build build
echo "== compilación con AddressSanitizer, UndefinedBehaviorSanitizer y los objetivos de fuzzing (build-san/) $(date +%T)"
CC=clang CXX=clang++ ASAN_OPTIONS=detect_leaks=1 run_build build-san -DPASARELA_SANITIZE=ON -DPASARELA_FUZZ=ON -DPASARELA_GUI=OFF
echo "== objetivos de fuzzing, ${FUZZ_SECONDS:-10} s cada uno $(date +%T)"
FUZZ_BUILD=build-san FUZZ_JOBS=2 bash scripts/fuzz.sh "${FUZZ_SECONDS:-10}"
echo "== fin $(date +%T)"
