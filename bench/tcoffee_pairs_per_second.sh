#!/usr/bin/env bash
# Pairs per second of `kadrel compare` with the real t_coffee on the example sets (12 pairs):
# one and two pairs at once, and with t_coffee's malloc kept off huge pages (GLIBC_TUNABLES set
# to nothing, which kadrel then leaves alone) to show what that setting is worth.
# Usage: bench/tcoffee_pairs_per_second.sh [kadrel executable] [repetitions]
set -euo pipefail
cd "$(dirname "$0")/.."
kadrel=${1:-build/bin/kadrel}
repetitions=${2:-3}
pairs=12

measure() {  # label, jobs, extra environment assignment (may be empty)
    local label=$1 jobs=$2 extra=$3 rates=()
    for ((r = 0; r < repetitions; r++)); do
        local start end status=0
        start=$(date +%s.%N)
        env $extra "$kadrel" compare examples/specimens examples/references.fas -m k2p --no-backup -j "$jobs" \
            >/dev/null 2>&1 || status=$?
        end=$(date +%s.%N)
        if [ "$status" -ne 0 ]; then echo "kadrel failed (status $status)" >&2; exit 1; fi
        rates+=("$(echo "scale=2; $pairs / ($end - $start)" | bc -l)")
    done
    printf '%-40s %s pairs/s\n' "$label" "${rates[*]}"
}

echo "kadrel compare examples/specimens examples/references.fas -m k2p: $pairs pairs, $repetitions runs each"
measure "1 pair at once" 1 ""
measure "2 pairs at once" 2 ""
measure "1 pair at once, no huge pages" 1 "GLIBC_TUNABLES="
measure "2 pairs at once, no huge pages" 2 "GLIBC_TUNABLES="
