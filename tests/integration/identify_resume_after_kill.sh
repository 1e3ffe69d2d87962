#!/bin/sh
# kadrel identify interrupted at random moments, several times, by SIGKILL or by SIGTERM, then
# gone on with --resume to its end: the summary and hits are those of a run never interrupted,
# for a whole run and a shard. A stopped run's summary ends in the stopped line.
# Usage: identify_resume_after_kill.sh KADREL_FOLDER
set -eu
here=$(dirname "$(realpath "$0")")
. "$here/kill_and_resume.sh"
enter_work "$1"
python3 "$here/seeded_sets.py" --species 5 q.fas:24 r.fas:40
after_stop() {
    last=$(tail -n 1 part.tsv)
    case $last in
        "# stopped before the end: "*" queries identified; go on with --resume") ;;
        *) echo "a stopped summary ends in: $last"; status=1 ;;
    esac
}
status=0
options="q.fas r.fas -a pairhmm --min-overlap 50 --max-distance 0.2"
for signal in KILL TERM; do
    for case in "-j 1" "-j 2" "-j 2 --shard 2/3"; do
        elapsed_ms kadrel identify $options $case --hits whole.hits -o whole.tsv
        interrupt_until_done $signal $took part.tsv kadrel identify $options $case --hits part.hits -o part.tsv
        same=yes
        cmp -s whole.tsv part.tsv || { same=no; echo "the summary differs"; }
        cmp -s whole.hits part.hits || { same=no; echo "the hits differ"; }
        echo "SIG$signal $case: $kills interrupted ($stops stopped), the same files: $same"
        [ $same = yes ] || status=1
        rm -f whole.* part.* log.txt
    done
done
exit $status
