#!/bin/sh
# workflow/Snakefile run locally, three shards of the example references against the example
# specimens through the real t_coffee, against one kadrel compare: the same report, banner aside.
# Then, through the stand-in t_coffee, a shard held in its aligner and stopped (SIGTERM), and
# one killed with Snakemake itself (SIGKILL): run again, the workflow redoes that shard alone.
# Usage: snakemake.sh KADREL_FOLDER SNAKEFILE EXAMPLES FAKE_ALIGNER_FOLDER
set -eu
command -v snakemake >/dev/null || { echo "skipped: snakemake is missing (apt-get install snakemake)"; exit 77; }
PATH="$(realpath "$1"):$PATH" LC_ALL=C
export PATH LC_ALL
snakefile=$(realpath "$2") examples=$(realpath "$3") fake=$(realpath "$4")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cat >"$work/config.yaml" <<END
set1: "$examples/references.fas"
set2: "$examples/specimens"
model: k2p
aligner: t_coffee
shards: 3
jobs: 1
END
snakemake -s "$snakefile" -d "$work/run" --configfile "$work/config.yaml" --cores 2 >"$work/log" 2>&1 ||
    { cat "$work/log"; exit 1; }
kadrel compare "$examples/references.fas" "$examples/specimens" -m k2p --no-backup -o "$work/single.txt"
[ "$(ls "$work/run/shards" | grep -c '^[123]-of-3\.txt$')" = 3 ] || { ls "$work/run/shards"; exit 1; }
tail -n +2 "$work/single.txt" >"$work/single"
tail -n +2 "$work/run/report.txt" >"$work/merged"
diff "$work/single" "$work/merged" && echo "3 shards merged: the report of one run"

# Through the stand-in t_coffee, which holds the pair of record q2.
printf '>q1\nACGTACGTACGTAAAA\n>q2\nACGTTTTGGGGTTTTA\n>q3\nACGTACGTACGTAAGA\n' >"$work/set1.fas"
printf '>r1\nACGTACGTACGTTAAA\n>r2\nACGTACGTACCTAAAA\n' >"$work/set2.fas"
sed -e "s|^set1:.*|set1: \"$work/set1.fas\"|" -e "s|^set2:.*|set2: \"$work/set2.fas\"|" "$work/config.yaml" >"$work/held.yaml"
. "$(dirname "$(realpath "$0")")/held_shard.sh"
kadrel compare "$work/set1.fas" "$work/set2.fas" -m k2p --no-backup -o "$work/single.txt"
tail -n +2 "$work/single.txt" >"$work/single"
shard_files() { echo "$work/$1/shards/$2-of-3.txt"; }
same_as_single() { tail -n +2 "$work/$1/report.txt" | diff "$work/single" -; }
interrupted stopped TERM
interrupted killed KILL
