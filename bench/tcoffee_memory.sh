#!/usr/bin/env bash
# Peak memory (maximum resident set) of the real t_coffee on one pair, by the two lengths, in the
# environment kadrel gives it (own scratch folders, malloc on huge pages). The pairs are random
# sequences and a copy about 10% apart with a few short indels, as barcode pairs are. The
# coefficients in src/align/tcoffee/TCoffeeMemory.cpp come from a run of this script.
# Usage: bench/tcoffee_memory.sh [LENGTH1xLENGTH2 ...]   (default: a few lengths up to 4,000)
set -euo pipefail
pairs=("$@")
[ ${#pairs[@]} -gt 0 ] || pairs=(250x250 1000x1000 2000x2000 3000x3000 4000x4000 1000x4000)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '%-11s %10s %8s\n' "lengths" "peak MB" "seconds"
for pair in "${pairs[@]}"; do
    l1=${pair%x*} l2=${pair#*x}
    python3 - "$l1" "$l2" >pair.fas <<'PY'
import random, sys
random.seed(7)
l1, l2 = int(sys.argv[1]), int(sys.argv[2])
a = "".join(random.choice("ACGT") for _ in range(max(l1, l2)))
b = []
for c in a:
    r = random.random()
    if r < 0.09: b.append(random.choice("ACGT".replace(c, "")))
    elif r < 0.095: pass
    elif r < 0.1: b.append(c + random.choice("ACGT"))
    else: b.append(c)
b = "".join(b)
print(">s1\n" + a[:l1] + "\n>s2\n" + b[:l2])
PY
    rm -rf own && mkdir -p own/tmp own/dir own/lock own/cache own/home
    start=$(date +%s.%N)
    TMP_4_TCOFFEE=$PWD/own/tmp DIR_4_TCOFFEE=$PWD/own/dir LOCKDIR_4_TCOFFEE=$PWD/own/lock \
        CACHE_4_TCOFFEE=$PWD/own/cache HOME_4_TCOFFEE=$PWD/own/home GLIBC_TUNABLES=glibc.malloc.hugetlb=1 \
        /usr/bin/time -v -o time.txt t_coffee pair.fas >/dev/null 2>&1
    end=$(date +%s.%N)
    kb=$(sed -n 's/.*Maximum resident set size (kbytes): //p' time.txt)
    printf '%-11s %10d %8.1f\n' "$pair" $((kb / 1024)) "$(echo "$end - $start" | bc -l)"
done
