#!/bin/sh
# What --version says against what made the programs: the version, the source checkout's commit,
# the t_coffee found on the search path (or none) and the libraries the build found.
# Usage: version.sh KADREL LUTRANE SOURCE_DIR VERSION
set -u
kadrel=$1 lutrane=$2 source=$3 version=$4
status=0
says() {  # PROGRAM_OUTPUT LINE...: every LINE (a grep -x pattern) is one of the output's lines
    output=$1
    shift
    for line; do
        printf '%s\n' "$output" | grep -qx -- "$line" || { printf 'missing "%s" in:\n%s\n' "$line" "$output"; status=1; }
    done
}
commit=
if [ "$(git -C "$source" rev-parse --show-toplevel 2>/dev/null)" = "$(realpath "$source")" ]; then
    commit="source commit $(git -C "$source" rev-parse --short=12 HEAD)\( with local changes\)\{0,1\}"
fi
libraries="built-in aligner: WFA2-lib $(dpkg-query -W -f='${Version}' libwfa2-dev | sed 's/-[^-]*$//') and parasail $(pkg-config --modversion parasail-1)"

says "$(PATH=/nonexistent "$kadrel" --version)" "kadrel $version" "t_coffee: not on the search path" "$libraries" ${commit:+"$commit"}
says "$("$lutrane" --version)" "lutrane $version" ${commit:+"$commit"}
if command -v t_coffee >/dev/null; then
    home=$(mktemp -d)
    reported=$(cd "$home" && HOME_4_TCOFFEE=$home TMP_4_TCOFFEE=$home t_coffee -version 2>&1 | sed -n 's/^PROGRAM: //p')
    rm -rf "$home"
    says "$("$kadrel" --version)" "t_coffee: $reported"
fi
exit $status
