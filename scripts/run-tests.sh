#!/usr/bin/env bash
# Installs what is needed, configures, builds everything and runs every test; then runs the
# tests again under the sanitizers and every fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

build_dir=${FENWOLD_BUILD_DIR:-build}
jobs=${FENWOLD_JOBS:-$(nproc)}
cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build_dir" --parallel "$jobs"
ctest --test-dir "$build_dir" --output-on-failure --parallel "$jobs"

# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer, without the GUI.
asan_dir=${FENWOLD_ASAN_BUILD_DIR:-build-asan}
cmake -S . -B "$asan_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DFENWOLD_SANITIZE=ON \
    -DFENWOLD_BUILD_GUI=OFF -DFENWOLD_BUILD_BENCH=OFF
cmake --build "$asan_dir" --parallel "$jobs" --target fenwold_tests
ctest --test-dir "$asan_dir" --output-on-failure --parallel "$jobs"

# Every fuzz target for a bounded time (FENWOLD_FUZZ_SECONDS each, 60 by default).
FENWOLD_JOBS=$jobs bash scripts/run-fuzz.sh
