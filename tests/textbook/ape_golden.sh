#!/bin/sh
# kadrel distance --textbook on the seeded alignments that `Rscript peer_ape.R --golden DIR` wrote,
# against ape's answers beside them (ape.tsv): the peer's values where R is not installed.
# Usage: ape_golden.sh KADREL DIR
set -eu
kadrel=$1
cd "$2"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
files=$(tail -n +2 ape.tsv | cut -f 1)
printf '%s\n' $files >"$work/got"
add() {
    LC_ALL=C "$kadrel" distance --textbook -m "$1" $files | tail -n +2 | tr -d '\r' | cut -f "$2" >"$work/column" || :
    paste "$work/got" "$work/column" >"$work/both" && mv "$work/both" "$work/got"
}
add none 3-5,7-9
for model in jc k2p tn84 t3p tn93 logdet; do add "$model" 10; done
tail -n +2 ape.tsv | diff - "$work/got"
echo "$(wc -l <"$work/got") alignments: kadrel --textbook and ape agree on all 12 values"
