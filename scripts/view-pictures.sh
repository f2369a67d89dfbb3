#!/usr/bin/env bash
# Takes the pictures of docs/views.md: the desktop program showing each sample kind (plan,
# long section, cross sections, points, surface) and the entries of a LandXML document on
# Qt's offscreen display.
#   scripts/view-pictures.sh [BUILD]      (default build-gui, built with the GUI)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build-gui}"
out="$root/docs/vistas"
mkdir -p "$out"
export QT_QPA_PLATFORM=offscreen
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/pasarela-cli" call Planimetro:Calzada_Sup_Importa_Dxf "$root/samples/superficies/terreno-caras.dxf" TERRENO \
  "$work/terreno.sup" >/dev/null
for view in "plano:$root/samples/ejes/variante.eje" "longitudinal:$root/samples/rasantes/variante.ras" \
            "transversales:$root/samples/transversales/tramo.tra" "puntos:$root/samples/puntos/levantamiento.pun" \
            "superficie:$work/terreno.sup"; do
  "$build/bin/pasarela" --captura-vista "${view#*:}" "$out/${view%%:*}.png"
  echo "$out/${view%%:*}.png"
done
# A LandXML document of another program: its alignment, and the surface of another one.
"$build/bin/pasarela" --captura-vista "$root/tests/data/landxml/M3_RS-CL.tg.xml" "$out/landxml-eje.png"
echo "$out/landxml-eje.png"
"$build/bin/pasarela" --captura-vista "$root/tests/data/landxml/subdivision.xml" "$out/landxml-superficie.png" EG
echo "$out/landxml-superficie.png"
# The long section of a real road (the profile of the M3 document, 1.26 km) as the command line
# draws it, and its band (guitarra) cut out of the same picture.
"$build/bin/pasarela-cli" view "$root/tests/data/landxml/M3_RS-CL.tg.xml" --entry 2 --size 1600x1000 \
  -o "$out/longitudinal-carretera.png" >/dev/null
echo "$out/longitudinal-carretera.png"
python3 "$root/scripts/crop-png.py" "$out/longitudinal-carretera.png" "$out/guitarra.png" 0 740 1000 260
echo "$out/guitarra.png"
