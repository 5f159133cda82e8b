#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer),
# writes their seed corpora and runs every target for FENWOLD_FUZZ_SECONDS (60 by default),
# FENWOLD_JOBS at a time. Each target's corpus grows in BUILD/corpus/TARGET across runs; a crash,
# hang, leak or excessive allocation fails the run and leaves its input in BUILD/artifacts.
# FENWOLD_FUZZ_TARGETS may name the targets to run (by default all of them).
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${FENWOLD_FUZZ_BUILD_DIR:-build-fuzz}
jobs=${FENWOLD_JOBS:-$(nproc)}
seconds=${FENWOLD_FUZZ_SECONDS:-60}

cmake -S . -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DFENWOLD_FUZZ=ON -DFENWOLD_BUILD_GUI=OFF \
    -DFENWOLD_BUILD_TESTS=OFF -DFENWOLD_BUILD_BENCH=OFF
cmake --build "$build_dir" --parallel "$jobs"
rm -rf "$build_dir/seeds"
"$build_dir/fuzz/fenwold-fuzz-seeds" "$build_dir/seeds"
mkdir -p "$build_dir/artifacts" "$build_dir/logs"

fuzz_one() {
    local target=$1
    local log="$build_dir/logs/$target.log"
    mkdir -p "$build_dir/corpus/$target"
    if ! "$build_dir/fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 \
        -timeout=10 -print_final_stats=1 -artifact_prefix="$build_dir/artifacts/$target-" \
        "$build_dir/corpus/$target" "$build_dir/seeds/$target" >"$log" 2>&1; then
        cat "$log"
        echo "fuzz_$target: FAILED (input in $build_dir/artifacts)"
        return 1
    fi
    local runs coverage
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    coverage=$(grep -E '^#[0-9]+' "$log" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+')
    echo "fuzz_$target: $runs runs in $seconds s, $coverage"
}

read -r -a targets <<<"${FENWOLD_FUZZ_TARGETS:-$(tr '\n' ' ' <"$build_dir/fuzz/targets.txt")}"
passed=0
failed=0
running=()
finish_oldest() {
    if wait "${running[0]}"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
    running=("${running[@]:1}")
}
for target in "${targets[@]}"; do
    fuzz_one "$target" &
    running+=($!)
    if [ "${#running[@]}" -ge "$jobs" ]; then
        finish_oldest
    fi
done
while [ "${#running[@]}" -gt 0 ]; do
    finish_oldest
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
