#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build-fuzz/) and runs each for SECONDS (default 60)
# on a working corpus seeded from tests/data and samples/. Crash inputs are kept in
# fuzz/findings/<target>/; copy them to tests/data/fuzz/<target>/ once fixed, where the
# regression tests replay them.
#   scripts/fuzz.sh [SECONDS] [TARGET...]     TARGET without the fuzz_ prefix
#   FUZZ_JOBS=2 runs two targets at a time.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
jobs=${FUZZ_JOBS:-1}

# FUZZ_BUILD: a build directory already configured with PASARELA_FUZZ=ON (scripts/test.sh
# passes its sanitizer build, which holds the targets too); else build-fuzz/ is made here.
build=${FUZZ_BUILD:-build-fuzz}
if [ -z "${FUZZ_BUILD:-}" ]; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPASARELA_FUZZ=ON \
    -DPASARELA_TESTS=OFF -DPASARELA_GUI=OFF -DPASARELA_WERROR=OFF >/dev/null
fi
cmake --build "$build" -j2 >/dev/null

# Seed files of each family.
seeds_of() {
  case "$1" in
    native_alignment)      echo samples/ejes/*.eje tests/data/*/*.eje tests/data/cartomap/* tests/data/gts/* ;;
    foreign_alignment)     echo samples/ejes/* tests/data/{asotec,cartomap,clip,dragados,htrazado,inroads,ispol,istram,mxroad,plroad,wtrazado}/variante* ;;
    native_profile)        echo samples/rasantes/*.ras tests/data/*/*.ras tests/data/*/variante-rasante-* ;;
    foreign_profile)       echo samples/rasantes/* tests/data/*/variante-rasante-* tests/data/clip/*.alz tests/data/*/*.ras ;;
    gts)                   echo tests/data/*/*.gts samples/transversales/* samples/puntos/* ;;
    native_cross_section)  echo samples/transversales/* tests/data/*/*.tra tests/data/*/*.gts ;;
    foreign_cross_section) echo samples/transversales/* tests/data/*/tramo* tests/data/clip/clip.* tests/data/{htrazado,istram,mxroad}/* ;;
    landxml)               echo tests/data/landxml/*.xml samples/ejes/*.xml ;;
    ifc)                   echo tests/data/ifc/rules/*.ifc samples/ejes/*.ifc ;;
    dxf)                   echo tests/data/dxf/*.dxf tests/data/dxf/*.DXF samples/dxf/* ;;
    points)                echo samples/puntos/* ;;
    survey)                echo samples/survey/* tests/data/{native,topcal,dl100,gts800}/* tests/data/*/peraltes_* ;;
    instrument_records)    echo samples/survey/* tests/data/{native,topcal,dl100,gts800}/* tests/data/*/peraltes_* ;;
    rtf_report)            echo tests/data/rtf/*.rtf samples/transversales/*.rtf ;;
    shapefile)             echo tests/data/shapefile/*.shp samples/shapefile/*.shp ;;
    jet_database)          echo tests/data/topsurv/*.mdb samples/topsurv/* ;;
    view_files)            echo samples/ejes/*.eje samples/rasantes/*.ras samples/transversales/*.tra \
                                samples/puntos/*.pun samples/superficies/*.dxf samples/*/*.xml ;;
    detection)             echo samples/*/* tests/data/*/* ;;
    named_system)          echo tests/data/geo/*.xml tests/data/landxml/*.xml samples/ejes/*.xml samples/superficies/*.xml samples/ejes/*.ifc ;;
  esac
}

# A seed for every call of the family: the selector bytes, then the file (for a shapefile its
# three parts joined by the separator the targets split at); and the inputs kept for it.
make_seeds() {
  local family=$1 dir=$2 calls file i
  calls=$(grep -o '{"[A-Za-z]*:' "fuzz/fuzz_$family.cpp" | wc -l)
  [ "$calls" -gt 0 ] || calls=1  # a target that calls no export: one seed per file
  for file in $(seeds_of "$family"); do
    [ -f "$file" ] || continue
    [ "$(stat -c %s "$file")" -le 4000000 ] || continue
    for ((i = 0; i < calls; i++)); do
      {
        printf "\\x$(printf %02x "$i")\\x00"
        if [ "$family" = shapefile ]; then
          cat "$file"; printf '\n@@@@\n'; cat "${file%.*}.shx"; printf '\n@@@@\n'; cat "${file%.*}.dbf"
        else
          cat "$file"
        fi
      } > "$dir/seed-$i-$(basename "$file" | tr -c 'A-Za-z0-9._-' _)"
    done
  done
  # The inputs kept for the family are whole inputs already, selector bytes included.
  for file in tests/data/fuzz/"$family"/*; do
    [ -f "$file" ] && cp "$file" "$dir/kept-$(basename "$file" | tr -c 'A-Za-z0-9._-' _)"
  done
  return 0
}

run_target() {
  local family=$1 corpus=$build/corpus/$1 findings=fuzz/findings/$1 log=$build/logs/$1.log
  mkdir -p "$corpus" "$findings" "$build/logs"
  make_seeds "$family" "$corpus"
  # LandXML documents and drawings are parsed whole for every input: inputs up to 64 KiB (16 KiB
  # of a drawing, whose entities repeat) keep nearly all the coverage of large seeds at many
  # times the rate. Detection looks at the first 64 KiB of a file and reads the rest line by
  # line: a little more than that tries a file longer than the part it looks at, at three times
  # the rate of megabyte inputs.
  local max_len=1048576
  [ "$family" != landxml ] || max_len=65536
  [ "$family" != dxf ] || max_len=16384
  # IFC models repeat their instances too; a cut model is read as far as it goes.
  [ "$family" != ifc ] || max_len=16384
  [ "$family" != detection ] || max_len=69632
  # libFuzzer checks every input for leaks itself; the sanitizer's own check at exit is left out
  # (its tracer can crash on a busy machine and leaves an empty "crash" that is no finding).
  ASAN_OPTIONS=${ASAN_OPTIONS:+$ASAN_OPTIONS:}leak_check_at_exit=0 \
  "$build/bin/fuzz_$family" -max_total_time="$seconds" -timeout=25 -rss_limit_mb=4096 -max_len="$max_len" \
    -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" >"$log" 2>&1 || true
  local runs rate crashes
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -n 1 || echo 0)
  rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -n 1 || echo 0)
  crashes=$(find "$findings" -type f | wc -l)
  printf '%-24s %10s ejecuciones  %7s/s  hallazgos %s\n' "$family" "${runs:-0}" "${rate:-0}" "$crashes"
  [ "$crashes" -eq 0 ]
}

targets=("$@")
if [ "${#targets[@]}" -eq 0 ]; then
  for source in fuzz/fuzz_*.cpp; do
    name=$(basename "$source" .cpp)
    targets+=("${name#fuzz_}")
  done
fi

status=0
export -f run_target make_seeds seeds_of
export seconds build
printf '%s\n' "${targets[@]}" | xargs -P "$jobs" -I{} bash -c 'run_target {}' || status=1
exit $status
