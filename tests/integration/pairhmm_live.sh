#!/bin/sh
# Seeded random pairs aligned by the real t_coffee and by kadrel align -a pairhmm, compared byte
# for byte. Usage: pairhmm_live.sh KADREL PAIR_CASES_PY COUNT SEED
command -v t_coffee >/dev/null || { echo "skipped: t_coffee is not on the search path"; exit 77; }
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
python3 "$2" random "$work" "$3" "$4" || exit 1
exec sh "$(dirname "$0")/../align/pairhmm_golden.sh" "$1" "$work"
