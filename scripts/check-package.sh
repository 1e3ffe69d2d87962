#!/usr/bin/env bash
# Builds the Debian package, installs it as a lab's administrator would (apt-get install
# ./kadrel_*.deb) and checks what it installed: the installed kadrel writes the build tree's
# report on the installed examples (the banner aside), both manual pages render, the menu entries
# and the AppStream files validate, the completion offers the subcommands. Then removes it.
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo=sudo; fi
export DEBIAN_FRONTEND=noninteractive

if dpkg -s kadrel >/dev/null 2>&1; then
    echo "check-package.sh: kadrel is installed already; remove it first (apt-get remove kadrel)" >&2
    exit 2
fi
bash scripts/package.sh
deb=$(ls -t kadrel_*.deb | head -n 1)  # the one just built
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "./$deb"
work=$(mktemp -d)
trap '$sudo env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q kadrel >/dev/null; rm -rf "$work"' EXIT
failed=0
fail() { echo "check-package.sh: $*" >&2; failed=1; }

# A system set to leave out documentation (path-exclude) would drop the examples and pages.
while IFS= read -r path; do
    [ -e "$path" ] || fail "$path is in the package but was not installed (a dpkg path-exclude?)"
done < <(dpkg -L kadrel)

examples=/usr/share/doc/kadrel/examples
for run in "-m k2p" "-m tn93 --textbook -a builtin" "-m logdet -a builtin"; do
    # shellcheck disable=SC2086
    (cd "$work" && LC_ALL=C /usr/bin/kadrel compare $examples/specimens $examples/references.fas $run \
        --no-backup -o installed.txt) || fail "installed kadrel compare $run failed"
    # shellcheck disable=SC2086
    LC_ALL=C build-package/bin/kadrel compare examples/specimens examples/references.fas $run \
        --no-backup -o "$work/built.txt" || fail "built kadrel compare $run failed"
    if ! diff <(tail -n +2 "$work/installed.txt") <(tail -n +2 "$work/built.txt"); then
        fail "the installed kadrel's report differs from the build tree's ($run)"
    fi
done

for page in kadrel lutrane; do
    # Warnings of the formatter count as failures: a page must render cleanly.
    if ! MANWIDTH=80 man --warnings -l "/usr/share/man/man1/$page.1.gz" >"$work/$page.txt" 2>"$work/warnings" ||
        [ -s "$work/warnings" ] || ! grep -q "^NAME" "$work/$page.txt"; then
        cat "$work/warnings" >&2
        fail "man -l does not render $page.1 cleanly"
    fi
done
desktop-file-validate /usr/share/applications/org.kadrel.*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net /usr/share/metainfo/org.kadrel.*.metainfo.xml || fail "appstreamcli validate"
# What bash offers after the words typed, through bash-completion's own loader.
offered() {
    bash -c 'source /usr/share/bash-completion/bash_completion
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
        _completion_loader "$1"; $(complete -p "$1" | sed "s/.*-F \([^ ]*\) .*/\1/") "$1" "${@: -1}" "${@: -2:1}"
        echo "${COMPREPLY[*]}"' sh "$@"
}
[ "$(offered kadrel co)" = compare ] || fail "completion of 'kadrel co': $(offered kadrel co)"
[ "$(offered kadrel compare -m t)" = "tn84 t3p tn93" ] || fail "completion of -m t: $(offered kadrel compare -m t)"
[ "$(offered kadrel compare -a b)" = builtin ] || fail "completion of -a b: $(offered kadrel compare -a b)"
[ "$(offered lutrane --v)" = --version ] || fail "completion of 'lutrane --v': $(offered lutrane --v)"

for program in kadrel lutrane; do
    /usr/bin/$program --version | grep -q "^$program 0" || fail "$program --version"
done

if [ $failed -eq 0 ]; then echo "check-package.sh: $deb installs, works as the build tree does, and validates"; fi
exit $failed
