#!/bin/sh
# kadrel gap interrupted at random moments, several times, by SIGKILL or by SIGTERM, then gone on
# with --resume to its end: a whole run gives the tables, matrix, pictures and backup of a run
# never interrupted, a shard its pairs file. A stopped shard's pairs say so and the join refuses them.
# Usage: gap_resume_after_kill.sh KADREL_FOLDER
set -eu
here=$(dirname "$(realpath "$0")")
. "$here/kill_and_resume.sh"
enter_work "$1"
python3 "$here/seeded_sets.py" --species 7 lib.fas:36
# Every file a whole run writes, named after $1.
outputs() {
    echo "--species $1.species --specimens $1.records --sweep $1.sweep --matrix $1.mtx" \
         "--gap-plot $1-gap.svg --histogram $1-histogram.svg --sweep-plot $1-sweep.svg"
}
# A stopped shard's pairs end in the stopped line, and the join names them.
after_stop() {
    [ -f part.pairs ] || return 0
    last=$(tail -n 1 part.pairs)
    case $last in
        "Stopped before the end: "*" of 210 pairs compared"*) ;;
        *) echo "a stopped shard's pairs end in: $last"; status=1 ;;
    esac
    if kadrel gap $options --join one.pairs part.pairs three.pairs 2>refused.txt >/dev/null; then
        echo "the join took a stopped shard"; status=1
    elif ! grep -q '"part.pairs" is incomplete\|"part.pairs" was stopped' refused.txt; then
        echo "the join's refusal does not name the stopped shard:"; cat refused.txt; status=1
    fi
}
status=0
options="lib.fas -a pairhmm -m k2p"
kadrel gap $options --shard 1/3 --pairs one.pairs 2>/dev/null
kadrel gap $options --shard 3/3 --pairs three.pairs 2>/dev/null
for signal in KILL TERM; do
    for case in "-j 1" "-j 2" "-j 2 --shard 2/3"; do
        case $case in
            *--shard*) whole="--pairs whole.pairs" part="--pairs part.pairs" kept=part.pairs ;;
            *) whole="$(outputs whole) --backup whole.bak" part=$(outputs part) kept=gap.bak ;;
        esac
        elapsed_ms kadrel gap $options $case $whole
        interrupt_until_done $signal $took $kept kadrel gap $options $case $part
        same=yes
        for file in whole.*; do
            [ "$file" != whole.bak ] || continue
            cmp -s "$file" "part.${file#whole.}" || { same=no; echo "part.${file#whole.} differs"; }
        done
        for file in whole-*.svg; do
            [ -f "$file" ] || continue
            cmp -s "$file" "part-${file#whole-}" || { same=no; echo "part-${file#whole-} differs"; }
        done
        [ $kept = part.pairs ] || cmp -s whole.bak gap.bak || { same=no; echo "the backup differs"; }
        echo "SIG$signal $case: $kills interrupted ($stops stopped), the same files: $same"
        [ $same = yes ] || status=1
        rm -f gap.bak whole.* whole-* part.* part-* log.txt
    done
done
exit $status
