#!/usr/bin/env bash
# How fast the views open large files: a surface of 500 000 triangles and a point file of
# 1 000 000 points, read into the view model and drawn once at 1600x1000 (the desktop program
# draws the same picture into the cached image it pans; while panning only that image moves).
# Prints, per file: its size, the time of `pasarela-cli check` (read and check) and of
# `pasarela-cli view` (read and draw), each as wall-clock and processor seconds (on a shared
# machine the processor time is the figure to compare), and the peak memory of the drawing;
# then the desktop program itself opening each file (`pasarela --medir-vista`): read on a
# worker thread, checked, summed up and drawn, the steps of a pan and the drawing made again
# when the mouse is let go.
# Medians of three runs on 2 shared cores (load 9.5): 500 000 triangles check 0.34 s, view
# 0.55 s of processor time (1.30 s wall), 86 MB, opened in the desktop program in 0.32 s of
# processor time (0.74 s wall); 1 000 000 points check 0.62 s, view 0.73 s (1.54 s wall),
# 118 MB, opened in 0.70 s (1.42 s wall). A pan step takes 0.5 ms (at most 5 ms), the drawing
# after it 33 to 77 ms, the line under the cursor 0.2 ms at most. On a quiet machine (load
# 1.5, after the merge of the faster writers): view 0.56 s / 0.91 s of processor time, opened
# in the desktop program in 0.43 s and 0.82 s wall (0.42 s and 0.81 s processor), pan steps
# under 1 ms, the drawing after a pan 19 to 32 ms.
#   bench/views.sh [BUILD]      (default build-gui, configured with the GUI)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-gui}
cli=$PWD/$build/bin/pasarela-cli
[ -x "$cli" ] || { echo "build $build with -DPASARELA_GUI=ON first" >&2; exit 2; }
work=bench/work
mkdir -p "$work"

# A terrain of 501 x 501 points, two triangles per square: 500 000 3D faces, made a surface
# by the suite's own import.
surface=$work/terreno-500k.sup
if [ ! -s "$surface" ]; then
  awk 'BEGIN {
    print "  0\nSECTION\n  2\nENTITIES";
    for (i = 0; i < 500; i++) for (j = 0; j < 500; j++) {
      x0 = 440000 + 2 * i; y0 = 4470000 + 2 * j; x1 = x0 + 2; y1 = y0 + 2;
      z00 = 600 + sin(i / 40) * 20 + j * 0.05; z10 = 600 + sin((i + 1) / 40) * 20 + j * 0.05;
      z01 = z00 + 0.05; z11 = z10 + 0.05;
      printf "  0\n3DFACE\n  8\nT\n 10\n%.3f\n 20\n%.3f\n 30\n%.3f\n 11\n%.3f\n 21\n%.3f\n 31\n%.3f\n 12\n%.3f\n 22\n%.3f\n 32\n%.3f\n 13\n%.3f\n 23\n%.3f\n 33\n%.3f\n", x0, y0, z00, x1, y0, z10, x1, y1, z11, x1, y1, z11;
      printf "  0\n3DFACE\n  8\nT\n 10\n%.3f\n 20\n%.3f\n 30\n%.3f\n 11\n%.3f\n 21\n%.3f\n 31\n%.3f\n 12\n%.3f\n 22\n%.3f\n 32\n%.3f\n 13\n%.3f\n 23\n%.3f\n 33\n%.3f\n", x0, y0, z00, x1, y1, z11, x0, y1, z01, x0, y1, z01;
    }
    print "  0\nENDSEC\n  0\nEOF" }' > "$work/terreno-500k.dxf"
  "$cli" call Planimetro:Calzada_Sup_Importa_Dxf "$work/terreno-500k.dxf" T "$surface" >/dev/null
fi

points=$work/puntos-1m.pun
if [ ! -s "$points" ]; then
  awk 'BEGIN { for (k = 1; k <= 1000000; k++)
    printf "%5d %11.3f %11.3f %8.3f %s\n", k, 440000 + (k % 1000) * 1.5, 4470000 + int(k / 1000) * 1.5, 600 + (k % 97) * 0.1, (k % 10 ? "T" : "BORDE") }' > "$points"
fi

seconds() { /usr/bin/time -f "%e %U %S %M" "$@" 2>&1 >/dev/null | tail -1; }
cpu() { awk -v u="$1" -v s="$2" 'BEGIN { printf "%.2f", u + s }'; }
export QT_QPA_PLATFORM=offscreen
printf "%-22s %8s %20s %20s %14s\n" "fichero" "MB" "check (s real/cpu)" "view (s real/cpu)" "memoria (MB)"
for file in "$surface" "$points"; do
  size=$(awk -v b="$(stat -c %s "$file")" 'BEGIN { printf "%.1f", b / 1048576 }')
  read -r check checkUser checkSystem _ < <(seconds "$cli" check "$file" || true)
  read -r draw drawUser drawSystem memory < <(seconds "$cli" view "$file" -o "$work/vista.png" --size 1600x1000)
  printf "%-22s %8s %20s %20s %14s\n" "$(basename "$file")" "$size" "$check / $(cpu "$checkUser" "$checkSystem")" \
    "$draw / $(cpu "$drawUser" "$drawSystem")" "$((memory / 1024))"
done

# The desktop program: the file opened in the views of a 1100x720 window (read, checked,
# summed up and drawn into the cached image), a pan of 20 mouse steps, the drawing made
# again when the mouse is let go, and the line under the cursor. Its settings (the recent
# files) go to a folder of the bench, not the user's.
desktop=$PWD/$build/bin/pasarela
if [ -x "$desktop" ]; then
  export XDG_CONFIG_HOME=$PWD/$work/ajustes
  echo "uptime: $(uptime | sed 's/.*load average/load average/')"
  for file in "$surface" "$points"; do
    echo "$(basename "$file") en el programa de escritorio:"
    /usr/bin/time -f "  total del programa: %e s reales, %U + %S s de procesador, %M KB" "$desktop" --medir-vista "$file" 2>&1 |
      grep -v "does not support" | sed 's/^/  /; s/^    total/  total/'
  done
fi
