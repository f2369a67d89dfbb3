#!/usr/bin/env bash
# Installs what is missing, builds the suite twice (normal, and with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs every test in both builds; then runs every fuzz target
# for a short time on its seed corpus (FUZZ_SECONDS, default 20).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

run_build() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPASARELA_TESTS=ON "$@" >/dev/null
  cmake --build "$dir" -j2
  (cd "$dir" && ctest --output-on-failure -j2)
}

echo "== compilación normal (build/) $(date +%T)"
run_build build
echo "== compilación con AddressSanitizer y UndefinedBehaviorSanitizer (build-asan/) $(date +%T)"
ASAN_OPTIONS=detect_leaks=1 run_build build-asan -DPASARELA_SANITIZE=ON -DPASARELA_GUI=OFF
echo "== objetivos de fuzzing, ${FUZZ_SECONDS:-20} s cada uno (build-fuzz/) $(date +%T)"
FUZZ_JOBS=2 bash scripts/fuzz.sh "${FUZZ_SECONDS:-20}"
