#!/bin/sh
# Installs the build into an empty folder and lists what landed there against the table of
# expected paths: a missing file and a stray one fail alike. The programs must be executable
# and the manual pages whole.
# Usage: install_tree.sh BUILD_DIR TABLE
set -eu
build=$1 table=$2
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
cmake --install "$build" --prefix "$root/usr" >/dev/null
(cd "$root" && find . ! -type d | sed 's#^\./##' | sort) >"$root.found"
grep -v -e '^#' -e '^$' "$table" | sort >"$root.expected"
status=0
diff -u "$root.expected" "$root.found" || status=1
rm -f "$root.expected" "$root.found"
for program in usr/bin/kadrel usr/bin/lutrane; do
    [ -x "$root/$program" ] || { echo "$program is not executable"; status=1; }
done
for page in "$root"/usr/share/man/man1/*.gz; do
    gzip -t "$page" || status=1
done
exit $status
