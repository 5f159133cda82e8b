#!/usr/bin/env bash
# Installs what is needed, builds the command-line tool and runs the main job on the bundled
# sample: draw the sample art, compress its unit, build its building, draw the result.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build_dir=${FENWOLD_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" --parallel "$(nproc)" --target fenwold-cli
cli="$build_dir/src/cli/fenwold-cli"

work="$build_dir/sample-run"
rm -rf "$work"
mkdir -p "$work/out"
"$cli" sample "$work/sample"
"$cli" compress -o "$work/out/hero" --seed 1 --team-colours "$work/sample/teamcolours.UTC" \
    --group "$work/sample/unit,$work/sample/mask"
"$cli" building -o "$work/out/house" "$work/sample/building/house.tga" \
    --mask "$work/sample/building/house_mask.tga" --team-colours "$work/sample/teamcolours.UTC"
"$cli" render "$work/out/hero.UTD" --sheet --team 1 -o "$work/out/hero-sheet.png"
"$cli" render "$work/out/house.BPT" --team 0 -o "$work/out/house.png" --scale 2
"$cli" export "$work/out/hero.UTD" --team 1 -o "$work/out/hero-sprites"
echo
echo "Files written:"
ls -l "$work/out"
