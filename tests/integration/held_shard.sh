# Sourced by the workflow's tests. Puts first on the search path a stand-in t_coffee that holds
# the pair of the record holding TTTTGGGGTTTT while the file "$work/hold" is there, after writing
# down the kadrel that waits for it; and defines `interrupted`, which stops a held shard and runs
# the workflow again. Needs $work, $snakefile, $fake and the config "$work/held.yaml"; the caller
# defines shard_files FOLDER K (a shard's finished files) and same_as_single FOLDER (checks the
# workflow's outputs against one run).
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
PATH="$work/bin:$PATH"

# Shards 1 and 3 as they stand: their files' sizes and times.
stamp() { for k in 1 3; do stat -c '%s %y' $(shard_files "$1" $k); done; }
# Runs the workflow's target $3 (empty: the default) in folder $1 with shard 2 held, and stops it
# with signal $2 to the shard's kadrel (TERM) or to Snakemake's whole process group (KILL); then
# runs it again, which must redo shard 2 alone.
interrupted() {
    rm -f "$work/held"
    touch "$work/hold"
    setsid sh -c 'echo $$ >"$1/group"; exec snakemake -s "$2" -d "$1/$3" --configfile "$1/held.yaml" --cores 3 $4 >"$1/$3.log1" 2>&1' \
        sh "$work" "$snakefile" "$1" "${3:-}" &
    waited=0
    until [ -s "$work/held" ] && [ -s "$(shard_files "$1" 1 | cut -d' ' -f1)" ] && [ -s "$(shard_files "$1" 3 | cut -d' ' -f1)" ]; do
        sleep 0.2
        waited=$((waited + 1))
        [ $waited -lt 300 ] || { echo "$1: shard 2 was never held"; cat "$work/$1.log1"; exit 1; }
    done
    if [ "$2" = TERM ]; then kill -TERM "$(cat "$work/held")"; else kill -KILL "-$(cat "$work/group")"; fi
    wait $! 2>/dev/null || true
    rm -f "$work/hold"
    for file in $(shard_files "$1" 2); do
        [ ! -e "$file" ] || { echo "$1: the unfinished shard left $file:"; cat "$file"; exit 1; }
    done
    before=$(stamp "$1")
    # Snakemake killed leaves its lock behind, as after any kill -9.
    [ "$2" = TERM ] || snakemake -s "$snakefile" -d "$work/$1" --configfile "$work/held.yaml" --unlock >/dev/null 2>&1
    snakemake -s "$snakefile" -d "$work/$1" --configfile "$work/held.yaml" --cores 3 ${3:-} >"$work/$1.log2" 2>&1 ||
        { cat "$work/$1.log2"; exit 1; }
    [ "$(grep -c 'wildcards: k=' "$work/$1.log2")" = 1 ] && grep -q 'wildcards: k=2, n=3' "$work/$1.log2" &&
        [ "$(stamp "$1")" = "$before" ] || { echo "$1: not only shard 2 was run again"; cat "$work/$1.log2"; exit 1; }
    same_as_single "$1" || exit 1
    echo "$1: run again after SIG$2, shard 2 alone was redone: the files of one run"
}
