#!/usr/bin/env bash
# Benchmarks on large generated inputs (never committed). Prints one line per case: name, our
# median time, the reference command's median time, their ratio, and our peak memory.
#   bench/run.sh [RUNS]      (default 5 runs per case)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
work=bench/work
mkdir -p "$work"

if [ ! -x build/bin/pasarela-cli ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j2 >/dev/null
fi
cli=$PWD/build/bin/pasarela-cli

# --- inputs -------------------------------------------------------------------------------
# A native alignment of 100 000 elements: straight, entry clothoid, arc, exit clothoid, ...
alignment=$work/alignment-100k.eje
if [ ! -s "$alignment" ]; then
  awk 'function move(dist, direction) { x += dist * sin(direction * k); y += dist * cos(direction * k) }
  BEGIN {
    k = 3.14159265358979 / 200; station = 0; x = 440000; y = 4470000; az = 50;
    for (i = 0; i < 25000; i++) {
      printf "%0.3f %0.3f %0.3f %0.6f %0.3f %0.3f\n", station, x, y, az, 0, 0;          station += 200; move(200, az);
      printf "%0.3f %0.3f %0.3f %0.6f %0.3f %0.3f\n", station, x, y, az, 150, 450;      station += 50;  move(50, az + 1.75);
      printf "%0.3f %0.3f %0.3f %0.6f %0.3f %0.3f\n", station, x, y, az + 3.5, 0, 450;  station += 120; move(120, az + 12);
      printf "%0.3f %0.3f %0.3f %0.6f %0.3f %0.3f\n", station, x, y, az + 20.5, 150, 0; station += 50;  move(50, az + 22.25);
      az = (az + 24) % 400;
    }
    printf "%0.3f %0.3f %0.3f %0.6f %0.3f %0.3f\n", station, x, y, az, 0, 0;
  }' > "$alignment"
fi
printf 'LimiteElementos=1000000\n' > "$work/jalonex.ini"

# --- measuring ----------------------------------------------------------------------------
# Median wall time (s) and largest peak resident memory (KiB) of a command over $runs runs.
measure() {
  local times=() peak=0 line
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s.%N)
    /usr/bin/time -o "$work/time.txt" -f '%M' bash -c "$1" >/dev/null 2>&1
    end=$(date +%s.%N)
    line=$(tail -n 1 "$work/time.txt")
    times+=("$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f", e - s }')")
    [ "$line" -gt "$peak" ] && peak=$line
  done
  printf '%s %s\n' "$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')" "$peak"
}

report() {  # name, our command, reference command
  local ours reference
  ours=$(measure "$2")
  reference=$(measure "$3")
  awk -v name="$1" -v o="${ours% *}" -v m="${ours#* }" -v r="${reference% *}" 'BEGIN {
    ratio = (r > 0) ? sprintf("%.1f", o / r) : "-";
    printf "%-28s ours %7.3f s   reference %7.3f s   ratio %6s   peak %7.1f MiB\n", name, o, r, ratio, m / 1024 }'
}

report "eje-gts-elementos-100k" "$cli call MyDll_azemta2gts $alignment $work/out-elementos.gts $work" "cat $alignment > /dev/null"
report "eje-gts-vertices-100k" "$cli call MyDll_azemta2gtsWCE $alignment $work/out-vertices.gts" "cat $alignment > /dev/null"
