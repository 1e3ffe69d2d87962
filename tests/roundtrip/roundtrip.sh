#!/bin/sh
# A multiple-sequence file split by lutrane and compared as a folder set gives the same rows as
# the file itself, in the folder's order. Runs the real t_coffee.
# Usage: roundtrip.sh LUTRANE KADREL MULTI_FASTA OTHER_SET
set -eu
lutrane=$(realpath "$1") kadrel=$(realpath "$2") multi=$(realpath "$3") other=$(realpath "$4")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export LC_ALL=C

"$lutrane" -o "$work/split" "$multi" 2>"$work/lutrane.err"
grep -q "files written to" "$work/lutrane.err"

# Line 1 is the banner with the date; the rest must match once put in the folder's order.
"$kadrel" compare "$multi" "$other" -m k2p --no-backup -o "$work/file.txt"
"$kadrel" compare "$work/split" "$other" -m k2p --no-backup -o "$work/folder.txt"

body() { tail -n +3 "$1" | sed -n '/^Best matches:/q;p'; }
best() { sed -n '/^Best matches:/,$p' "$1"; }

[ "$(body file.txt | wc -l)" -gt 0 ]
body file.txt | sort >file.sorted
body folder.txt | sort >folder.sorted
cmp file.sorted folder.sorted
best file.txt | sort >file.best
best folder.txt | sort >folder.best
cmp file.best folder.best

# The folder's rows come in the folder's order: by record name, case-insensitively.
body folder.txt | cut -f1 | uniq >folder.names
sort -f -s folder.names | cmp - folder.names
echo "round trip: $(body folder.txt | wc -l) rows alike"
