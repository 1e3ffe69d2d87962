#!/bin/sh
# workflow/Snakefile's identify target run locally: three shards of the example specimens against
# the example library, builtin aligner, the rule's options and a taxonomy table from the config
# (in a folder whose name holds a space and a quote), give the summary and hits of one kadrel
# identify with those options, byte for byte. Configs with an unknown key or a flag that is not
# true or false are refused. Then, through the stand-in t_coffee and with `exhaustive` set (or
# the held pair would be left out by the word bound), a shard held in its aligner and stopped
# (SIGTERM), and one killed with Snakemake (SIGKILL): run again, the workflow redoes it alone.
# Usage: snakemake_identify.sh KADREL_FOLDER SNAKEFILE EXAMPLES FAKE_ALIGNER_FOLDER
set -eu
command -v snakemake >/dev/null || { echo "skipped: snakemake is missing (apt-get install snakemake)"; exit 77; }
PATH="$(realpath "$1"):$PATH" LC_ALL=C
export PATH LC_ALL
snakefile=$(realpath "$2") examples=$(realpath "$3")/identify fake=$(realpath "$4")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
data="$work/data dir's"
mkdir "$data"
cp "$examples/specimens.fas" "$examples/library.fas" "$data/"
# S01's best reference made another species: its call changes, so the table must reach the jobs.
printf 'id\tgenus\tspecies\nODO002\tLestes\tLestes virens\n' >"$data/taxa.tsv"
cat >"$work/config.yaml" <<END
set1: "$data/specimens.fas"
set2: "$data/library.fas"
model: k2p
aligner: builtin
shards: 3
jobs: 2
max_distance: 0.05
thresholds: species=0.015,genus=0.05
min_overlap: 150
min_coverage: 0.5
max_gap_runs: 3
taxonomy: "$data/taxa.tsv"
exhaustive:
END
snakemake -s "$snakefile" -d "$work/run" --configfile "$work/config.yaml" --cores 2 identify >"$work/log" 2>&1 ||
    { cat "$work/log"; exit 1; }
kadrel identify "$data/specimens.fas" "$data/library.fas" -m k2p -a builtin --max-distance 0.05 \
    --thresholds species=0.015,genus=0.05 --min-overlap 150 --min-coverage 0.5 --max-gap-runs 3 \
    --taxonomy "$data/taxa.tsv" -o "$work/single.tsv" --hits "$work/single-hits.tsv" 2>"$work/log" || { cat "$work/log"; exit 1; }
[ ! -e "$work/run/report.txt" ] || { echo "the identify target ran compare too"; exit 1; }
grep -q "^S01	Lestes sponsa	.*	incorrect	" "$work/single.tsv" || { echo "the taxonomy was not read"; exit 1; }
cmp "$work/single.tsv" "$work/run/identify.tsv" && cmp "$work/single-hits.tsv" "$work/run/identify-hits.tsv" &&
    echo "3 identify shards joined: the summary and hits of one run"
grep -q "skipped by the word bound" "$work/run/identify-shards/1-of-3.log" || { echo "an empty exhaustive key was passed"; exit 1; }

for bad in "max_distanse: 0.03|holds unknown keys: max_distanse" "exhaustive: often|exhaustive: 'often'; give true or false"; do
    { cat "$work/config.yaml"; echo "${bad%%|*}"; } >"$work/bad.yaml"
    if snakemake -s "$snakefile" -d "$work/bad" --configfile "$work/bad.yaml" --cores 1 identify >"$work/log" 2>&1 ||
        ! grep -q "${bad#*|}" "$work/log" || [ -e "$work/bad/identify-shards" ]; then
        echo "the config with \"${bad%%|*}\" was not refused as it should be:"; cat "$work/log"; exit 1
    fi
done
echo "configs with an unknown key or a flag that is no boolean refused"

printf '>q1\nACGTACGTACGTAAAA\n>q2\nACGTTTTGGGGTTTTA\n>q3\nACGTACGTACGTAAGA\n' >"$work/set1.fas"
printf '>r1\nACGTACGTACGTTAAA\n>r2\nACGTACGTACCTAAAA\n' >"$work/set2.fas"
printf 'set1: %s\nset2: %s\nmodel: k2p\naligner: t_coffee\nshards: 3\njobs: 1\nmin_overlap: 10\nexhaustive: true\n' \
    "$work/set1.fas" "$work/set2.fas" >"$work/held.yaml"
. "$(dirname "$(realpath "$0")")/held_shard.sh"
# q2's K2P distances are NA: exit status 1, whole tables all the same.
kadrel identify "$work/set1.fas" "$work/set2.fas" -m k2p --min-overlap 10 --exhaustive -o "$work/single.tsv" \
    --hits "$work/single-hits.tsv" 2>"$work/log" || [ $? -eq 1 ] || { cat "$work/log"; exit 1; }
shard_files() { echo "$work/$1/identify-shards/$2-of-3.tsv $work/$1/identify-shards/$2-of-3-hits.tsv"; }
same_as_single() { cmp "$work/single.tsv" "$work/$1/identify.tsv" && cmp "$work/single-hits.tsv" "$work/$1/identify-hits.tsv"; }
interrupted stopped TERM identify
interrupted killed KILL identify
! grep -q "skipped by the word bound" "$work/killed/identify-shards/"*.log || { echo "exhaustive: true was not passed"; exit 1; }
