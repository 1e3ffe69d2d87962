#!/bin/sh
# Seeded random pairs aligned by the real t_coffee and by kadrel align -a pairhmm, compared byte
# for byte; then the report of kadrel compare on EXAMPLES, -a pairhmm against -a t_coffee, the
# banner's date aside. Usage: pairhmm_live.sh KADREL PAIR_CASES_PY COUNT SEED EXAMPLES
command -v t_coffee >/dev/null || { echo "skipped: t_coffee is not on the search path"; exit 77; }
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
python3 "$2" random "$work/pairs" "$3" "$4" || exit 1
sh "$(dirname "$0")/../align/pairhmm_golden.sh" "$1" "$work/pairs" || exit 1
for aligner in pairhmm t_coffee; do
    "$1" compare "$5/specimens" "$5/references.fas" -m tn93 -a $aligner --no-backup | tail -n +2 >"$work/$aligner" || exit 1
done
cmp "$work/pairhmm" "$work/t_coffee" && echo "kadrel compare: the same report with -a pairhmm and -a t_coffee"
