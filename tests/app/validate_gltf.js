// Checks glTF and GLB files with the glTF validator and looks for triangles of no area itself,
// which the validator finds only where indices repeat; prints one line of counts per file and
// exits 1 when any file has an issue of any severity or a triangle of no area.
'use strict';
const fs = require('fs');
const path = require('path');

const [validatorDir, ...files] = process.argv.slice(2);
const validator = require(path.join(validatorDir, 'node_modules', 'gltf-validator'));

// The JSON and the binary data, from a GLB's two chunks or from the .gltf and the file it names.
function readAsset(file) {
  const bytes = fs.readFileSync(file);
  if (bytes.toString('latin1', 0, 4) === 'glTF') {
    const jsonLength = bytes.readUInt32LE(12);
    const json = JSON.parse(bytes.toString('utf8', 20, 20 + jsonLength));
    const binAt = 20 + jsonLength;
    const bin = binAt < bytes.length ? bytes.subarray(binAt + 8, binAt + 8 + bytes.readUInt32LE(binAt)) : null;
    return { bytes, json, bin };
  }
  const json = JSON.parse(bytes.toString('utf8'));
  const uri = json.buffers && json.buffers.length > 0 ? json.buffers[0].uri : undefined;
  const bin = uri === undefined ? null : fs.readFileSync(path.join(path.dirname(file), decodeURIComponent(uri)));
  return { bytes, json, bin };
}

function accessorVec3(json, bin, index) {
  const accessor = json.accessors[index];
  const view = json.bufferViews[accessor.bufferView];
  const stride = view.byteStride || 12;
  const base = (view.byteOffset || 0) + (accessor.byteOffset || 0);
  const out = [];
  for (let i = 0; i < accessor.count; ++i) {
    const at = base + i * stride;
    out.push([bin.readFloatLE(at), bin.readFloatLE(at + 4), bin.readFloatLE(at + 8)]);
  }
  return out;
}

// Triangles of no area, and primitives that are not triangle lists.
function shapeProblems(json, bin) {
  let zeroArea = 0;
  let notTriangles = 0;
  for (const mesh of json.meshes || []) {
    for (const primitive of mesh.primitives) {
      if (primitive.mode !== undefined && primitive.mode !== 4) {
        ++notTriangles;
        continue;
      }
      const p = accessorVec3(json, bin, primitive.attributes.POSITION);
      if (primitive.indices !== undefined || p.length % 3 !== 0) {
        ++notTriangles;
        continue;
      }
      for (let t = 0; t < p.length; t += 3) {
        const u = [0, 1, 2].map((k) => p[t + 1][k] - p[t][k]);
        const v = [0, 1, 2].map((k) => p[t + 2][k] - p[t][k]);
        const n = [u[1] * v[2] - u[2] * v[1], u[2] * v[0] - u[0] * v[2], u[0] * v[1] - u[1] * v[0]];
        if (n[0] === 0 && n[1] === 0 && n[2] === 0) ++zeroArea;
      }
    }
  }
  return { zeroArea, notTriangles };
}

async function check(file) {
  const asset = readAsset(file);
  const report = await validator.validateBytes(new Uint8Array(asset.bytes), {
    uri: path.basename(file),
    maxIssues: 0,
    writeTimestamp: false,
    externalResourceFunction: (uri) =>
      new Promise((resolve, reject) => {
        fs.readFile(path.join(path.dirname(file), decodeURIComponent(uri)), (error, data) =>
          error ? reject(error.toString()) : resolve(new Uint8Array(data)));
      }),
  });
  const issues = report.issues;
  const shape = shapeProblems(asset.json, asset.bin);
  console.log(`${path.basename(file)}: errors ${issues.numErrors} warnings ${issues.numWarnings}` +
    ` infos ${issues.numInfos} hints ${issues.numHints} meshes ${(asset.json.meshes || []).length}` +
    ` triangles ${report.info.totalTriangleCount} materials ${report.info.materialCount}` +
    ` zero-area-triangles ${shape.zeroArea} other-primitives ${shape.notTriangles}`);
  for (const message of issues.messages) {
    console.log(`  ${message.code} ${message.pointer || ''}: ${message.message}`);
  }
  return issues.numErrors + issues.numWarnings + issues.numInfos + issues.numHints +
    shape.zeroArea + shape.notTriangles === 0;
}

(async () => {
  let good = files.length > 0;
  for (const file of files) {
    if (!(await check(file))) good = false;
  }
  process.exit(good ? 0 : 1);
})().catch((error) => {
  console.error(String(error));
  process.exit(1);
});
