#!/bin/sh
# Checks a transcript: runs every "$ " line of it with sh in a fresh copy of DATA and compares
# the whole with what the commands did: exit status, standard error (each line after "! ",
# sorted, as pairs aligned at once may warn in any order), standard output, then every file made
# or changed ("== NAME") or removed ("-- NAME"). CR shows as ^M, dates as DATE, the copy of DATA
# as RUN. Lines starting with "#" are comments. UPDATE_TRANSCRIPTS=1 rewrites the transcript from
# what the commands did.
# Usage: transcript.sh TRANSCRIPT DATA PROGRAM_FOLDER...   (put first on the search path)
set -u
transcript=$(realpath "$1") data=$(realpath "$2")
shift 2
for folder; do PATH="$(realpath "$folder"):$PATH"; done
export PATH LC_ALL=C
work=$(realpath "$(mktemp -d)")
trap 'rm -rf "$work"' EXIT
run="$work/run"

show() {
    cat -v "$1" | sed -E -e "s#$run#RUN#g" -e 's#[0-9]{2}/[0-9]{2}/[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}#DATE#'
    [ -z "$(tail -c 1 "$1")" ] || echo "(no line end)"
}

check() {
    rm -rf "$run" && cp -R "$data" "$run"
    (cd "$run" && sh -c "$1" >"$work/out" 2>"$work/err" </dev/null)
    printf '$ %s\n[exit status %s]\n' "$1" "$?"
    sort "$work/err" >"$work/err.sorted"
    show "$work/err.sorted" | sed 's/^/! /'
    show "$work/out"
    (cd "$run" && find . -type f | sort) | while IFS= read -r file; do
        cmp -s "$run/$file" "$data/$file" || { echo "== ${file#./}"; show "$run/$file"; }
    done
    (cd "$data" && find . -type f | sort) | while IFS= read -r file; do
        [ -e "$run/$file" ] || echo "-- ${file#./}"
    done
    echo
}

while IFS= read -r line; do
    case "$line" in
    '#'*) printf '%s\n' "$line" ;;
    '$ '*) check "${line#??}" ;;
    esac
done <"$transcript" >"$work/actual"
[ "${UPDATE_TRANSCRIPTS:-}" = 1 ] && cp "$work/actual" "$transcript"
diff -u "$transcript" "$work/actual"
