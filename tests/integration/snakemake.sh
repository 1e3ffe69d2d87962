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

# The stand-in t_coffee, which holds the pair of record q2 while the file "hold" is there, after
# writing down the kadrel that waits for it.
mkdir "$work/bin"
cat >"$work/bin/t_coffee" <<END
#!/bin/sh
if [ -e "$work/hold" ] && grep -q TTTTGGGGTTTT "\$1"; then
    read -r _ _ _ kadrel _ </proc/\$PPID/stat
    echo "\$kadrel" >"$work/held"
    while [ -e "$work/hold" ]; do sleep 0.1; done
fi
exec "$fake/t_coffee" "\$@"
END
chmod +x "$work/bin/t_coffee"
printf '>q1\nACGTACGTACGTAAAA\n>q2\nACGTTTTGGGGTTTTA\n>q3\nACGTACGTACGTAAGA\n' >"$work/set1.fas"
printf '>r1\nACGTACGTACGTTAAA\n>r2\nACGTACGTACCTAAAA\n' >"$work/set2.fas"
sed -e "s|^set1:.*|set1: \"$work/set1.fas\"|" -e "s|^set2:.*|set2: \"$work/set2.fas\"|" "$work/config.yaml" >"$work/held.yaml"
PATH="$work/bin:$PATH"
kadrel compare "$work/set1.fas" "$work/set2.fas" -m k2p --no-backup -o "$work/single.txt"
tail -n +2 "$work/single.txt" >"$work/single"

# A shard's report and log as they stand: its size, time and the time of its log.
stamp() { for k in 1 3; do stat -c '%s %y' "$work/$1/shards/$k-of-3.txt"; done; }
# Runs the workflow in folder $1 with shard 2 held, and stops it with signal $2 to the
# shard's kadrel (TERM) or to Snakemake's whole process group (KILL); then runs it again.
interrupted() {
    rm -f "$work/held"
    touch "$work/hold"
    setsid sh -c 'echo $$ >"$1/group"; exec snakemake -s "$2" -d "$1/$3" --configfile "$1/held.yaml" --cores 3 >"$1/$3.log1" 2>&1' \
        sh "$work" "$snakefile" "$1" &
    waited=0
    until [ -s "$work/held" ] && [ -s "$work/$1/shards/1-of-3.txt" ] && [ -s "$work/$1/shards/3-of-3.txt" ]; do
        sleep 0.2
        waited=$((waited + 1))
        [ $waited -lt 300 ] || { echo "$1: shard 2 was never held"; cat "$work/$1.log1"; exit 1; }
    done
    if [ "$2" = TERM ]; then kill -TERM "$(cat "$work/held")"; else kill -KILL "-$(cat "$work/group")"; fi
    wait $! 2>/dev/null || true
    rm -f "$work/hold"
    [ ! -e "$work/$1/shards/2-of-3.txt" ] || { echo "$1: the unfinished shard left a report:"; cat "$work/$1/shards/2-of-3.txt"; exit 1; }
    before=$(stamp "$1")
    # Snakemake killed leaves its lock behind, as after any kill -9.
    [ "$2" = TERM ] || snakemake -s "$snakefile" -d "$work/$1" --configfile "$work/held.yaml" --unlock >/dev/null 2>&1
    snakemake -s "$snakefile" -d "$work/$1" --configfile "$work/held.yaml" --cores 3 >"$work/$1.log2" 2>&1 ||
        { cat "$work/$1.log2"; exit 1; }
    [ "$(grep -c 'wildcards: k=' "$work/$1.log2")" = 1 ] && grep -q 'wildcards: k=2, n=3' "$work/$1.log2" &&
        [ "$(stamp "$1")" = "$before" ] || { echo "$1: not only shard 2 was run again"; cat "$work/$1.log2"; exit 1; }
    tail -n +2 "$work/$1/report.txt" | diff "$work/single" - || exit 1
    echo "$1: run again after SIG$2, shard 2 alone was redone: the report of one run"
}
interrupted stopped TERM
interrupted killed KILL
