#!/usr/bin/env bash
# Benchmarks on large generated inputs (never committed). Prints one line per case: name, our
# median time, the reference command's median time measured in the same run, their ratio
# (ours / reference, below 1 is faster), how many times faster we are, the processor times of
# both, and our peak memory.
#   bench/run.sh [--quick] [RUNS]   (default 5 runs per case)
#   --quick: each case once on inputs a tenth of the size (under a minute in all); the inputs
#            live apart from the full ones, in bench/work/quick.
#   BENCH_ONLY=TEXT: only the cases whose name holds TEXT (every input is still made).
set -euo pipefail
cd "$(dirname "$0")/.."
scale=1
work=bench/work
if [ "${1:-}" = "--quick" ]; then
  shift
  scale=10
  work=bench/work/quick
  runs=${1:-1}
else
  runs=${1:-5}
fi
mkdir -p "$work"

if [ ! -x build/bin/pasarela-cli ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j2 >/dev/null
fi
cli=${PASARELA_CLI:-$PWD/build/bin/pasarela-cli}  # PASARELA_CLI: another build's program

# A count of the full benchmark, divided in the quick one.
scaled() { echo $(( $1 / scale )); }

# --- inputs -------------------------------------------------------------------------------
# A native alignment of 100 000 elements: straight, entry clothoid, arc, exit clothoid, ...
alignment=$work/alignment-$(scaled 100)k.eje
if [ ! -s "$alignment" ]; then
  awk -v groups="$(scaled 25000)" 'function move(dist, direction) { x += dist * sin(direction * k); y += dist * cos(direction * k) }
  BEGIN {
    k = 3.14159265358979 / 200; station = 0; x = 440000; y = 4470000; az = 50;
    for (i = 0; i < groups; i++) {
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
# Median wall time (s), largest peak resident memory (KiB) and median processor time (user +
# system, s) of a command over $runs runs. On a busy machine the processor time is the steadier.
measure() {
  local times=() cpus=() peak=0 line
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s.%N)
    /usr/bin/time -o "$work/time.txt" -f '%M %U %S' bash -c "$1" >/dev/null 2>&1
    end=$(date +%s.%N)
    line=$(tail -n 1 "$work/time.txt")
    times+=("$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f", e - s }')")
    cpus+=("$(printf '%s\n' "$line" | awk '{ printf "%.2f", $2 + $3 }')")
    [ "${line%% *}" -gt "$peak" ] && peak=${line%% *}
  done
  printf '%s %s %s\n' "$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')" "$peak" \
    "$(printf '%s\n' "${cpus[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}')"
}

report() {  # name, our command, reference command[, input file: peak memory against its size]
  local ours reference input_mib=0
  case "$1" in *"${BENCH_ONLY:-}"*) ;; *) return 0 ;; esac
  ours=($(measure "$2"))
  reference=($(measure "$3"))
  [ -n "${4:-}" ] && input_mib=$(awk -v b="$(stat -c %s "$4")" 'BEGIN { printf "%.1f", b / 1048576 }')
  awk -v name="$1" -v o="${ours[0]}" -v m="${ours[1]}" -v oc="${ours[2]}" -v r="${reference[0]}" -v rc="${reference[2]}" \
      -v input="$input_mib" 'BEGIN {
    ratio = (r > 0) ? sprintf("%.2f", o / r) : "-";
    faster = (o > 0) ? sprintf("%.1fx", r / o) : "-";
    memory = (input > 0) ? sprintf("   input %6.1f MiB (peak %.2fx)", input, m / 1024 / input) : "";
    printf "%-28s ours %7.3f s   reference %7.3f s   ratio %5s   %6s faster   cpu %6.2f/%6.2f s   peak %7.1f MiB%s\n",
           name, o, r, ratio, faster, oc, rc, m / 1024, memory }'
}

report "eje-gts-elementos-$(scaled 100)k" "$cli call MyDll_azemta2gts $alignment $work/out-elementos.gts $work" "cat $alignment > /dev/null"
report "eje-gts-vertices-$(scaled 100)k" "$cli call MyDll_azemta2gtsWCE $alignment $work/out-vertices.gts" "cat $alignment > /dev/null"

# --- survey points: native file <-> shapefile, DXF points -> native file ------------------
point_count=$(scaled 1000000)
points=$work/puntos-$point_count.pun
points_csv=$work/puntos-$point_count.csv
if [ ! -s "$points" ] || [ ! -s "$points_csv" ]; then
  awk -v pun="$points" -v csv="$points_csv" -v count="$point_count" 'BEGIN {
    srand(11); print "NUMERO,X,Y,Z,CODIGO" > csv;
    for (i = 1; i <= count; i++) {
      x = 440000 + rand() * 10000; y = 4470000 + rand() * 10000; z = 600 + rand() * 150; c = "C" (i % 40);
      printf "%5d %11.3f %11.3f %8.3f %s\n", i, x, y, z, c > pun;
      printf "%d,%.3f,%.3f,%.3f,%s\n", i, x, y, z, c > csv;
    } }'
fi
points_shp=$work/puntos-$point_count.shp
[ -s "$points_shp" ] || "$cli" call ExportarPuntosToShapeline "$points" "$points_shp" >/dev/null
drawing_count=$(scaled 200000)
drawing=$work/puntos-$drawing_count.dxf
if [ ! -s "$drawing" ]; then
  awk -v count="$drawing_count" 'BEGIN {
    srand(13); print "  0\nSECTION\n  2\nENTITIES";
    for (i = 1; i <= count; i++)
      printf "  0\nPOINT\n  5\n%X\n  8\nPUNTOS\n 10\n%.4f\n 20\n%.4f\n 30\n%.4f\n", i + 64,
             440000 + rand() * 10000, 4470000 + rand() * 10000, 600 + rand() * 150;
    print "  0\nENDSEC\n  0\nEOF" }' > "$drawing"
fi
report "puntos-pun-shp-$point_count" "$cli call ExportarPuntosToShapeline $points $work/out-puntos.shp" \
  "rm -f $work/ogr-puntos.*; ogr2ogr -f 'ESRI Shapefile' $work/ogr-puntos.shp $points_csv -oo X_POSSIBLE_NAMES=X -oo Y_POSSIBLE_NAMES=Y"
report "puntos-shp-pun-$point_count" "$cli call ImportarPuntosDeShapeline $points_shp $work/out-puntos.pun" \
  "rm -f $work/ogr-puntos.csv; ogr2ogr -f CSV $work/ogr-puntos.csv $points_shp -lco GEOMETRY=AS_XY"
report "puntos-dxf-pun-$drawing_count" "$cli call Calzada_Puntos_Importa_Dxf $drawing $work/out-dxf.pun" \
  "rm -f $work/ogr-dxf.csv; ogr2ogr -f CSV $work/ogr-dxf.csv $drawing -lco GEOMETRY=AS_XYZ"

# --- cross sections: 500 000 points, native file to GTS and LandXML, LandXML back (sorted) ---
section_count=$(scaled 20000)
sections=$work/transversales-$((section_count * 25)).tra
sections_xml=$work/transversales-$((section_count * 25)).xml
if [ ! -s "$sections" ] || [ ! -s "$sections_xml" ]; then
  awk -v tra="$sections" -v xml="$sections_xml" -v count="$section_count" 'BEGIN {
    printf "<?xml version=\"1.0\"?>\n<LandXML><Alignments><Alignment name=\"Eje\"><CrossSects>\n" > xml;
    for (s = 0; s < count; s++) {
      sta = s * 20; pk = (s * 7919) % count * 20;  # LandXML sections out of order
      printf "<CrossSect sta=\"%.3f\"><CrossSectSurf name=\"Terreno\"><PntList2D>", pk > xml;
      for (p = 0; p < 25; p++) {
        o = -12 + p; z = 600 + s * 0.01 + (o < 0 ? -o : o) * 0.02;
        printf "%8.3f %8.3f %8.3f P%d\n", sta, o, z, p > tra;
        printf " %.3f %.3f", 12 - p, z > xml;  # points right to left
      }
      printf "</PntList2D></CrossSectSurf></CrossSect>\n" > xml;
    }
    printf "</CrossSects></Alignment></Alignments></LandXML>\n" > xml }'
fi
report "transversales-tra-gts-$((section_count * 25))" "$cli call MyDll_zemta2gts $sections $work/out-tra.gts" "sort -n $sections > /dev/null"
report "transversales-tra-xml-$((section_count * 25))" "$cli call MyDll_traterrex2landxml $sections $work/out-tra.xml" "sort -n $sections > /dev/null"
report "transversales-xml-tra-$((section_count * 25))" "$cli call MyDll_tralandxml2gtsWCE Eje Terreno $sections_xml $work/out-xml.tra" \
  "cat $sections_xml > /dev/null"

# --- surfaces: 500 000 triangles as DXF 3DFACEs and as a LandXML surface -> native file -------
# A 500 x 500 grid of 2 m cells, two triangles per cell (251 001 points); 158 x 158 in the quick run.
grid=500
[ "$scale" -gt 1 ] && grid=158
triangles=$((2 * grid * grid))
surface_dxf=$work/caras-$triangles.dxf
if [ ! -s "$surface_dxf" ]; then
  awk -v n="$grid" 'BEGIN {
    srand(17); print "  0\nSECTION\n  2\nENTITIES";
    for (i = 0; i <= n; i++) for (j = 0; j <= n; j++) z[i, j] = 600 + 30 * sin(i / 40) + 20 * cos(j / 55) + rand();
    face = "  0\n3DFACE\n  8\nTERRENO\n 10\n%.3f\n 20\n%.3f\n 30\n%.3f\n 11\n%.3f\n 21\n%.3f\n 31\n%.3f\n 12\n%.3f\n 22\n%.3f\n 32\n%.3f\n 13\n%.3f\n 23\n%.3f\n 33\n%.3f\n";
    for (i = 0; i < n; i++) for (j = 0; j < n; j++) {
      x0 = 440000 + i * 2; y0 = 4470000 + j * 2; x1 = x0 + 2; y1 = y0 + 2;
      printf face, x0, y0, z[i, j], x1, y0, z[i + 1, j], x1, y1, z[i + 1, j + 1], x1, y1, z[i + 1, j + 1];
      printf face, x0, y0, z[i, j], x1, y1, z[i + 1, j + 1], x0, y1, z[i, j + 1], x0, y1, z[i, j + 1];
    }
    print "  0\nENDSEC\n  0\nEOF" }' > "$surface_dxf"
fi
# A LandXML surface of an n x n grid ($1) written to $2.
make_surface_xml() {
  awk -v n="$1" 'BEGIN {
    srand(19); print "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
    print "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\"><Surfaces><Surface name=\"Terreno\"><Definition surfType=\"TIN\"><Pnts>";
    for (i = 0; i <= n; i++) for (j = 0; j <= n; j++)
      printf "<P id=\"%d\">%.3f %.3f %.3f</P>\n", i * (n + 1) + j + 1, 4470000 + j * 2, 440000 + i * 2,
             600 + 30 * sin(i / 40) + 20 * cos(j / 55) + rand();
    print "</Pnts><Faces>";
    for (i = 0; i < n; i++) for (j = 0; j < n; j++) {
      a = i * (n + 1) + j + 1; b = a + n + 1;
      printf "<F>%d %d %d</F>\n<F>%d %d %d</F>\n", a, b, b + 1, a, b + 1, a + 1;
    }
    print "</Faces></Definition></Surface></Surfaces></LandXML>" }' > "$2.part"
  mv "$2.part" "$2"
}
surface_xml=$work/superficie-$triangles.xml
[ -s "$surface_xml" ] || make_surface_xml "$grid" "$surface_xml"
# Name, triangles, our command, reference command: the report line and triangles per second.
report_triangles() {
  local line seconds
  line=$(report "$1" "$3" "$4" "$5")
  [ -n "$line" ] || return 0
  seconds=$(printf '%s\n' "$line" | awk '{ print $3 }')
  printf '%s   %s triangles/s\n' "$line" "$(awk -v t="$2" -v s="$seconds" 'BEGIN { printf "%.0f", (s > 0) ? t / s : 0 }')"
}
report_triangles "sup-dxf-$triangles" "$triangles" "$cli call Calzada_Sup_Importa_Dxf $surface_dxf TERRENO $work/out-caras.sup" \
  "rm -f $work/ogr-caras.csv; ogr2ogr -f CSV $work/ogr-caras.csv $surface_dxf -lco GEOMETRY=AS_WKT" "$surface_dxf"
report_triangles "sup-landxml-$triangles" "$triangles" "TEMP=$work $cli call Calzada_Sup_Importa_LandXML $surface_xml Terreno $work/out-xml.sup" \
  "xmllint --stream --noout $surface_xml" "$surface_xml"

# --- scanner: 5 million points of a Sacyr listing, read and written as a stream -------------
# The peak memory must stay that of a small file: the listing is never held whole.
scanner_count=$(scaled 5000000)
scanner=$work/scanner-$scanner_count.txt
if [ ! -s "$scanner" ]; then
  awk -v count="$scanner_count" 'BEGIN { srand(17);
    for (i = 0; i < count; i++)
      printf "%.4f %.4f %.4f %d %d %d\n", 442600 + rand() * 50, 4471990 + rand() * 50, 712 + rand() * 5,
             int(rand() * 256), int(rand() * 256), int(rand() * 256) }' > "$scanner"
fi
report "scanner-sacyr-$scanner_count" "$cli call Calzada:Calzada_SacyrScanner $scanner $work/out-scanner.txt" \
  "awk '{ printf \"  %d,  %.3f,  %.3f,  %.3f,  %d,  %d,  %d\\r\\n\", NR, \$1, \$2, \$3, \$4, \$5, \$6 }' $scanner > $work/awk-scanner.txt"

# --- info: what a 100 MB file holds, read as a stream (10 MB in the quick run) -------------
# The peak memory stays that of a small file whatever the size of the input.
info_xml=$work/info-$(scaled 100)MB.xml
# About 110 bytes a grid cell: 960 x 960 cells make 100 MB.
[ -s "$info_xml" ] || make_surface_xml $(( scale > 1 ? 300 : 960 )) "$info_xml"
report "info-landxml-$(scaled 100)MB" "$cli info $info_xml" "xmllint --stream --noout $info_xml" "$info_xml"
report "info-json-landxml-$(scaled 100)MB" "$cli info --json $info_xml" "xmllint --stream --noout $info_xml" "$info_xml"
# A drawing of 1 450 000 points (145 000 in the quick run) makes 100 MB.
info_dxf=$work/info-$(scaled 100)MB.dxf
if [ ! -s "$info_dxf" ]; then
  awk -v count="$(scaled 1450000)" 'BEGIN {
    srand(23); print "  0\nSECTION\n  2\nENTITIES";
    for (i = 1; i <= count; i++)
      printf "  0\nPOINT\n  5\n%X\n  8\nPUNTOS%d\n 10\n%.4f\n 20\n%.4f\n 30\n%.4f\n", i + 64, i % 5,
             440000 + rand() * 10000, 4470000 + rand() * 10000, 600 + rand() * 150;
    print "  0\nENDSEC\n  0\nEOF" }' > "$info_dxf.part"
  mv "$info_dxf.part" "$info_dxf"
fi
report "info-dxf-$(scaled 100)MB" "$cli info $info_dxf" "ogrinfo -ro -so -al $info_dxf" "$info_dxf"
# 2 300 000 points (230 000 in the quick run) make 100 MB.
info_pun=$work/info-$(scaled 100)MB.pun
if [ ! -s "$info_pun" ]; then
  awk -v count="$(scaled 2300000)" 'BEGIN { srand(29);
    for (i = 1; i <= count; i++)
      printf "%5d %11.3f %11.3f %8.3f C%d\n", i, 440000 + rand() * 10000, 4470000 + rand() * 10000, 600 + rand() * 150, i % 40 }' \
    > "$info_pun.part"
  mv "$info_pun.part" "$info_pun"
fi
report "info-pun-$(scaled 100)MB" "$cli info $info_pun" "wc -l $info_pun" "$info_pun"

# --- convert: a folder of 1 000 small point files (100 in the quick run) to GTS in one run, ----
# against one `run` of the same menu command per file.
folder_count=$(scaled 1000)
folder=$work/carpeta-$folder_count
if [ ! -d "$folder" ]; then
  mkdir -p "$folder.part"
  for i in $(seq "$folder_count"); do head -n 200 "$points" > "$folder.part/puntos-$i.pun"; done
  mv "$folder.part" "$folder"
fi
report "convert-carpeta-$folder_count" \
  "rm -rf $work/convertidos; mkdir $work/convertidos; $cli convert $folder -d $work/convertidos --to gts" \
  "rm -rf $work/uno-a-uno; mkdir $work/uno-a-uno; for f in $folder/*.pun; do b=\${f##*/}; $cli run importarPuntos \$f $work/uno-a-uno/\${b%.pun}.gts || exit 1; done"

# --- views: read and draw at 1600 x 1000 a surface of 500 000 triangles (50 000 in the quick ---
# run) and 1 000 000 points (100 000); `check` reads and checks the same file. They run where
# the drawing program is built (a build with the GUI); there is no outside reference.
if [ -x "$(dirname "$cli")/pasarela-view" ]; then
  view_grid=$(( scale > 1 ? 158 : 500 ))
  view_surface=$work/vista-$((2 * view_grid * view_grid)).sup
  [ -s "$view_surface" ] || "$cli" call Planimetro:Calzada_Sup_Importa_Dxf "$surface_dxf" TERRENO "$view_surface" >/dev/null
  export QT_QPA_PLATFORM=offscreen
  for view_file in "$view_surface" "$points"; do
    view_name=$(basename "${view_file%.*}")
    report "view-$view_name" "$cli view $view_file -o $work/vista.png --size 1600x1000" "$cli check $view_file" "$view_file"
  done
fi
