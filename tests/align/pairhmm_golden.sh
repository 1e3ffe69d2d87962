#!/bin/sh
# kadrel align -a pairhmm on every pair file of FOLDER against the .aln beside it, which the real
# t_coffee wrote: byte for byte, the CPU= field aside. Usage: pairhmm_golden.sh KADREL FOLDER
kadrel=$1 folder=$2 failed=0 count=0
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
for fas in "$folder"/*.fas; do
    count=$((count + 1))
    "$kadrel" align -a pairhmm "$fas" >"$work/mine" 2>"$work/said" || { cat "$work/said"; failed=$((failed + 1)); continue; }
    sed 's/CPU=[0-9.]* sec/CPU= sec/' "$work/mine" >"$work/a"
    sed 's/CPU=[0-9.]* sec/CPU= sec/' "${fas%.fas}.aln" >"$work/b"
    cmp -s "$work/a" "$work/b" || { echo "differs from t_coffee: $fas"; diff "$work/b" "$work/a" | head -20; failed=$((failed + 1)); }
done
echo "$((count - failed)) of $count pairs identical to t_coffee's"
[ "$count" -gt 0 ] && [ "$failed" -eq 0 ]
