#!/bin/sh
# A run killed with SIGKILL at random moments, several times, then continued with --resume to
# its end, gives the report, tables and matrix of a run never killed (the banner's date aside).
# Usage: resume_after_kill.sh KADREL_FOLDER
set -eu
here=$(dirname "$(realpath "$0")")
. "$here/kill_and_resume.sh"
enter_work "$1"
python3 "$here/seeded_sets.py" q.fas:16 r.fas:12
status=0
for case in "-j 1" "-j 2" "-j 2 --shard 2/3"; do
    options="q.fas r.fas -a pairhmm -m k2p --best 3 --ties $case"
    elapsed_ms kadrel compare $options -o whole.txt --table whole.tsv --matrix whole.mtx --no-backup
    rm -f query.bak
    interrupt_until_done KILL $took query.bak kadrel compare $options -o part.txt --table part.tsv --matrix part.mtx
    same=yes
    tail -n +2 whole.txt | cmp -s - "$(tail -n +2 part.txt >p && echo p)" || same=no
    cmp -s whole.tsv part.tsv && cmp -s whole.mtx part.mtx || same=no
    echo "$case: $kills kills, the same report and tables: $same"
    [ $same = yes ] || status=1
    rm -f query.bak part.* whole.* p
done
exit $status
