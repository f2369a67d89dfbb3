#!/usr/bin/env bash
# Builds the suite and runs the main job on the bundled samples: the native alignment of a
# road converted into both forms of the GTS road file, and its profile listing into the GTS
# profile layout.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j2 --target pasarela-cli >/dev/null

cli=build/bin/pasarela-cli
out=build/demo
mkdir -p "$out"

"$cli" call MyDll_azemta2gtsWCE samples/ejes/variante.eje "$out/variante-vertices.gts" >/dev/null
echo "Eje samples/ejes/variante.eje en forma de vértices (PT):  $out/variante-vertices.gts"
"$cli" call MyDll_azemta2gts samples/ejes/variante.eje "$out/variante-elementos.gts" samples/ejes >/dev/null
echo "Eje samples/ejes/variante.eje en forma de elementos:      $out/variante-elementos.gts"
"$cli" call MyDll_aTerrex2LandXML samples/ejes/variante.eje "$out/variante.xml" >/dev/null
echo "Eje samples/ejes/variante.eje a LandXML:                  $out/variante.xml"
"$cli" call MyDll_aistram2gts samples/ejes/variante-istram.asc "$out/variante-istram.gts" samples/ejes >/dev/null
echo "Eje samples/ejes/variante-istram.asc (Istram) a GTS:      $out/variante-istram.gts"

"$cli" call MyDll_ristram2gts samples/rasantes/variante-istram.txt "$out/variante-rasante.gts" >/dev/null
echo "Rasante samples/rasantes/variante-istram.txt (Istram) a GTS:  $out/variante-rasante.gts"
