#!/usr/bin/env bash
# Runs every fuzz target for SECONDS (default 600), FUZZ_JOBS (default 2) at a time under nice,
# then prints each one's executions per second and coverage. The targets come from BUILD
# (default build-asan: clang++, sanitizers and fuzz targets), configured here when missing.
# What the runs learn stays in BUILD/tests/fuzz/learned; a finding is saved in BUILD/tests/fuzz
# and ends the script with status 1: add it to tests/fuzz/corpus/NAME once mended.
# Usage: bench/fuzz.sh [SECONDS] [BUILD]
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600} build=${2:-build-asan} jobs=${FUZZ_JOBS:-2}
targets="alignment_reader sequence_set pair_row split"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
        -DKADREL_SANITIZE=ON -DKADREL_FUZZ=ON || exit 2
fi
# shellcheck disable=SC2046
cmake --build "$build" -j2 $(for t in $targets; do echo --target "fuzz_$t"; done) || exit 2

run() {
    local learned="$build/tests/fuzz/learned/$1"
    mkdir -p "$learned"
    nice "$build/bin/fuzz_$1" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$build/tests/fuzz/" "$learned" "tests/fuzz/corpus/$1" >"$build/tests/fuzz/$1.log" 2>&1
}
for t in $targets; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
    run "$t" &
done
wait

status=0
for t in $targets; do
    log="$build/tests/fuzz/$t.log"
    last=$(grep -E '^#[0-9]+' "$log" | tail -n 1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    cov=$(sed -nE 's/.* cov: ([0-9]+).*/\1/p' <<<"$last") ft=$(sed -nE 's/.* ft: ([0-9]+).*/\1/p' <<<"$last")
    if grep -q -E '^(==[0-9]+==ERROR|SUMMARY|broken:)' "$log"; then
        echo "$t: FINDING, see $log"
        status=1
    else
        echo "$t: ${runs:-?} runs in ${seconds} s, ${rate:-?} exec/s, cov ${cov:-?}, ft ${ft:-?}"
    fi
done
exit $status
