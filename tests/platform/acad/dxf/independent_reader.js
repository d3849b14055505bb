// Reads DXF files with an independent reader (the npm package dxf-parser)
// and prints, for each file, where it found which entities:
//   KNOWN <type>             once: the entity types the reader understands
//   FILE <path>              then OK, or ERROR <message> when it gave up
//   E MODEL|PAPER <type>     an entity of the ENTITIES section (67 = 1: PAPER)
//   B <block name> <type>    an entity of a block
// Fields are separated by tabs. Usage: node independent_reader.js MODULES FILE...
'use strict';
const fs = require('fs');
const path = require('path');

const [modules, ...files] = process.argv.slice(2);
const DxfParser = require(path.join(modules, 'dxf-parser'));
const parser = new DxfParser();
const out = [];
for (const type of Object.keys(parser._entityHandlers).sort()) out.push(`KNOWN\t${type}`);
for (const file of files) {
  out.push(`FILE\t${file}`);
  let doc;
  try {
    doc = parser.parseSync(fs.readFileSync(file, 'utf8'));
  } catch (e) {
    out.push(`ERROR\t${String(e && e.message ? e.message : e).replace(/\s+/g, ' ')}`);
    continue;
  }
  out.push('OK');
  for (const e of (doc && doc.entities) || []) out.push(`E\t${e.inPaperSpace ? 'PAPER' : 'MODEL'}\t${e.type}`);
  for (const [name, block] of Object.entries((doc && doc.blocks) || {}))
    for (const e of block.entities || []) out.push(`B\t${name}\t${e.type}`);
}
process.stdout.write(out.join('\n') + '\n');
