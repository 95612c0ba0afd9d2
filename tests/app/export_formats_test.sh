#!/usr/bin/env bash
# Every example model exported to every format by the real morv-cli, the glTF files checked by the
# glTF validator, and every file read back by assimp, with and without its post-processing: the
# counts morv-cli prints must be what the readers find, the same in every format, and no reader may
# meet a line, a point or a triangle of no area.
# Usage: export_formats_test.sh MORV-CLI VALIDATOR-DIR EXAMPLES-DIR
set -uo pipefail
cli="$1"
validator_dir="$2"
examples="$3"
here="$(cd "$(dirname "$0")" && pwd)"

if [ ! -d "$validator_dir/node_modules/gltf-validator" ]; then
  echo "FAIL: the glTF validator is not in $validator_dir; run scripts/install-deps" >&2
  exit 1
fi
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
expect() {  # expect WHAT GOT WANTED
  [ "$2" = "$3" ] || fail "$1: $2, expected $3"
}
# The number after NAME in a line of counts such as "Patches: 96 Triangles: 2304".
count() { grep -Eo "(^| )$1 *[0-9]+" <<<"$2" | head -n 1 | grep -Eo '[0-9]+$'; }
field() { sed -n "s/^$1 *//p" <<<"$2" | head -n 1; }

models=("$examples"/*.MVD)
[ -e "${models[0]}" ] || fail "no example models in $examples"
for model in "${models[@]}"; do
  name="$(basename "$model" .MVD)"
  beziers="$(count 'Béziers:' "$("$cli" check "$model")")"
  declare -A summary=()
  for suffix in obj stl gltf glb; do
    summary[$suffix]="$("$cli" export "$model" "$scratch/$name.$suffix")" || fail "$name.$suffix not written"
  done
  patches="$(count Patches: "${summary[obj]}")"
  faces="$(count Faces: "${summary[obj]}")"
  triangles="$(count Triangles: "${summary[stl]}")"
  materials="$(count Materials: "${summary[gltf]}")"
  [ -n "$patches" ] && [ "$patches" -gt 0 ] && [ "$patches" -le "$beziers" ] ||
    fail "$name: $patches patches written of $beziers"
  expect "$name vertices" "$(count Vertices: "${summary[obj]}")" $((patches * 26))
  [ "$faces" -le $((patches * 12)) ] && [ "$triangles" -ge "$faces" ] && [ "$triangles" -le $((faces * 2)) ] ||
    fail "$name: $faces faces and $triangles triangles from $patches patches"
  for suffix in stl gltf glb; do
    expect "$name.$suffix patches" "$(count Patches: "${summary[$suffix]}")" "$patches"
    expect "$name.$suffix triangles" "$(count Triangles: "${summary[$suffix]}")" "$triangles"
  done
  expect "$name.glb materials" "$(count Materials: "${summary[glb]}")" "$materials"
  expect "$name materials" "$materials" "$(grep -c '^newmtl ' "$scratch/$name.mtl")"

  for suffix in gltf glb; do
    report="$(node "$here/validate_gltf.js" "$validator_dir" "$scratch/$name.$suffix")" ||
      fail "$name.$suffix: the validator found issues"
    echo "validator $report"
    expect "$name.$suffix validator meshes" "$(count meshes "$report")" "$patches"
    expect "$name.$suffix validator triangles" "$(count triangles "$report")" "$triangles"
    expect "$name.$suffix validator materials" "$(count materials "$report")" "$materials"
  done

  # Without post-processing the faces arrive as written; with it, assimp cuts them into
  # triangles, splits meshes by the kind of their faces and drops what has no area.
  for suffix in obj stl gltf glb; do
    file="$scratch/$name.$suffix"
    for raw in --raw ""; do
      info="$(assimp info "$file" $raw 2>&1)" || fail "assimp could not read $name.$suffix"
      meshes="$(field 'Meshes:' "$info")"
      got_faces="$(field 'Faces:' "$info")"
      types="$(field 'Primitive Types:' "$info")"
      echo "assimp ${raw:-processed} $name.$suffix: meshes $meshes faces $got_faces types $types"
      if grep -Eq '\| *(line|point)' <<<"$info" || grep -Eq 'line|point' <<<"$types"; then
        fail "$name.$suffix ${raw:-processed}: assimp finds lines or points"
      fi
      if [ "$suffix" = stl ]; then
        expect "$name.stl meshes" "$meshes" 1
      else
        expect "$name.$suffix ${raw:-processed} meshes" "$meshes" "$patches"
      fi
      if [ "$suffix" = obj ] && [ -n "$raw" ]; then
        expect "$name.obj raw faces" "$got_faces" "$faces"
      else
        expect "$name.$suffix ${raw:-processed} faces" "$got_faces" "$triangles"
        expect "$name.$suffix ${raw:-processed} types" "$types" triangles
      fi
    done
  done
  echo "$name: $beziers patches in the model, written: ${summary[obj]} | ${summary[stl]} | ${summary[gltf]}"
  unset summary
done

if [ "$failures" -ne 0 ]; then
  echo "$failures checks failed"
  exit 1
fi
echo "every export of ${#models[@]} example models read back as written"
