#!/usr/bin/env bash
# Times the IFC export and import of a native alignment of 10 000 elements (straights, entry
# clothoids, arcs and exit clothoids) with a profile, through pasarela-cli: the best of RUNS.
#   bench/ifc.sh [RUNS]   (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-5}
work=bench/work
mkdir -p "$work"
cli=${PASARELA_CLI:-$PWD/build/bin/pasarela-cli}
eje=$work/ifc-10k.eje
ras=$work/ifc-10k.ras
# 2 500 groups of straight, clothoid, arc, clothoid: 10 000 elements and the end point.
awk -v groups=2500 'function move(dist, direction) { x += dist * sin(direction * k); y += dist * cos(direction * k) }
  BEGIN {
    k = 3.14159265358979 / 200; station = 0; x = 440000; y = 4470000; az = 50; R = 600; L = 80; A = sqrt(R * L);
    for (i = 0; i < groups; i++) {
      s = (i % 2 == 0) ? 1 : -1;
      printf "%.3f %.3f %.3f %.6f 0.000 0.000\r\n", station, x, y, az; move(200, az); station += 200;
      # The clothoids and the arc are placed by their chords, close enough for timing.
      t = L / (2 * R) * 200 / 3.14159265358979 * s;
      printf "%.3f %.3f %.3f %.6f %.3f %.3f\r\n", station, x, y, az, A, R * s; move(L, az + t / 3); az += t; station += L;
      a = 150 / R * 200 / 3.14159265358979 * s;
      printf "%.3f %.3f %.3f %.6f 0.000 %.3f\r\n", station, x, y, az, R * s; move(2 * R * sin(150 / (2 * R)), az + a / 2); az += a; station += 150;
      printf "%.3f %.3f %.3f %.6f %.3f 0.000\r\n", station, x, y, az, A; move(L, az + 2 * t / 3); az += t; station += L;
      az = (az % 400 + 400) % 400;
    }
    printf "%.3f %.3f %.3f %.6f 0.000 0.000\r\n", station, x, y, az;
  }' > "$eje"
awk 'BEGIN { for (i = 0; i <= 400; i++) printf "%10.3f %8.3f %9.3f %8.3f %8.3f\r\n", i * 1270, 600 + (i % 2) * 8, (i == 0 || i == 400) ? 0 : 5000, (i == 0 || i == 400) ? 0 : 60, 0 }' > "$ras"

best() {  # best wall time of RUNS runs of the command, in seconds
  local b=999 t
  for ((r = 0; r < runs; r++)); do
    /usr/bin/time -f %e -o "$work/ifc-time" "$@" >/dev/null 2>&1
    t=$(tail -n 1 "$work/ifc-time")
    b=$(awk -v a="$b" -v c="$t" 'BEGIN { print (c < a) ? c : a }')
  done
  echo "$b"
}
export_time=$(best "$cli" convert "$eje" -o "$work/ifc-10k.ifc" --with-profile "$ras" --overwrite)
import_time=$(best "$cli" convert "$work/ifc-10k.ifc" -o "$work/ifc-10k-vuelta.eje" --alignment 1 --overwrite)
landxml_time=$(best "$cli" convert "$work/ifc-10k.ifc" -o "$work/ifc-10k.xml" --overwrite)
# The library's exports alone (pasarela-cli call: no detection, no look at the target).
call_export=$(best "$cli" call MyDll_aterrex2ifc "$eje" "$work/ifc-10k-call.ifc" "$ras" "")
call_import=$(best "$cli" call MyDll_aifc2terrex 0 "$work/ifc-10k-call.ifc" "$work/ifc-10k-call.eje" "")
echo "ifc 10 000 elementos, funciones de la biblioteca: exportación ${call_export} s, importación ${call_import} s"
echo "ifc 10 000 elementos: exportación ${export_time} s, importación a .eje ${import_time} s, a LandXML ${landxml_time} s ($(stat -c %s "$work/ifc-10k.ifc") bytes)"
cmp -s "$eje" "$work/ifc-10k-vuelta.eje" && echo "ida y vuelta .eje: idéntico" || echo "ida y vuelta .eje: distinto"
