#!/usr/bin/env bash
# Installs what is needed, builds the command-line tool and runs the main job.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build_dir=${FENWOLD_BUILD_DIR:-build}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" --parallel "$(nproc)" --target fenwold-cli
"$build_dir/src/cli/fenwold-cli" --version
