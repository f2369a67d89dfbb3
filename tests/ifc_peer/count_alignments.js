// Opens each IFC file named on the command line with web-ifc, a reader independent of the
// suite, and prints one line per file: its name, the number of IfcAlignment instances, the
// number of IfcAlignmentSegment instances, and the number of alignments and of horizontal
// curve pieces web-ifc's own alignment sampling finds.
'use strict';
const fs = require('fs');
const path = require('path');
const WebIFC = require('web-ifc');

async function main() {
  const api = new WebIFC.IfcAPI();
  api.SetWasmPath(path.join(__dirname, 'node_modules', 'web-ifc') + path.sep, true);
  await api.Init();
  for (const file of process.argv.slice(2)) {
    const model = api.OpenModel(new Uint8Array(fs.readFileSync(file)));
    const alignments = api.GetLineIDsWithType(model, WebIFC.IFCALIGNMENT).size();
    const segments = api.GetLineIDsWithType(model, WebIFC.IFCALIGNMENTSEGMENT).size();
    const sampled = api.GetAllAlignments(model) || [];
    let curves = 0;
    for (const a of sampled) curves += a.horizontal ? a.horizontal.length : 0;
    console.log(`${path.basename(file)} ${alignments} ${segments} ${sampled.length} ${curves}`);
    api.CloseModel(model);
  }
}

main().catch((error) => {
  console.error(String(error));
  process.exit(2);
});
