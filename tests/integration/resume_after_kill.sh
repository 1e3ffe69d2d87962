#!/bin/sh
# A run killed with SIGKILL at random moments, several times, then continued with --resume to
# its end, gives the report, tables and matrix of a run never killed (the banner's date aside).
# Usage: resume_after_kill.sh KADREL_FOLDER
set -eu
PATH="$(realpath "$1"):$PATH"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
python3 - <<'PY'
import random
rng = random.Random(5)
base = "".join(rng.choice("ACGT") for _ in range(600))
def variant():
    s = [c if rng.random() > 0.08 else rng.choice("ACGT") for c in base]
    cut = rng.randrange(0, 40)
    return "".join(s)[cut:len(s) - rng.randrange(0, 40)]
for name, count in (("q.fas", 16), ("r.fas", 12)):
    with open(name, "w") as f:
        for i in range(count):
            f.write(">%s%d\n%s\n" % (name[0], i, variant() if i % 4 else base))
PY
status=0
for case in "-j 1" "-j 2" "-j 2 --shard 2/3"; do
    options="q.fas r.fas -a pairhmm -m k2p --best 3 --ties $case"
    start=$(date +%s%N)
    kadrel compare $options -o whole.txt --table whole.tsv --matrix whole.mtx --no-backup 2>/dev/null
    took=$((($(date +%s%N) - start) / 1000000))  # ms; the first kills come within a third of that
    rm -f query.bak
    kills=0 resume="" code=0
    # Each try may run a little longer than the one before, so that a loaded machine, where
    # start-up alone can take longer than the first tries are given, still reaches the end.
    limit=$((took / 3 + 1))
    while :; do
        kadrel compare $options -o part.txt --table part.tsv --matrix part.mtx $resume 2>>log.txt &
        pid=$!
        sleep "$(shuf -i 1-$limit -n 1)e-3"
        limit=$((limit + took / 20 + 1))
        kill -9 $pid 2>/dev/null && kills=$((kills + 1))
        wait $pid && break || code=$?
        # Killed (137) or stopped; anything else is a refusal, which must not happen here.
        [ $code -eq 137 ] || { echo "$case: kadrel exited with $code"; cat log.txt; exit 1; }
        [ -f query.bak ] && resume=--resume
    done
    same=yes
    tail -n +2 whole.txt | cmp -s - "$(tail -n +2 part.txt >p && echo p)" || same=no
    cmp -s whole.tsv part.tsv && cmp -s whole.mtx part.mtx || same=no
    echo "$case: $kills kills, the same report and tables: $same"
    [ $same = yes ] || status=1
    rm -f query.bak part.* whole.* p
done
exit $status
