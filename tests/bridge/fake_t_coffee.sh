#!/bin/sh
# Stands in for t_coffee: writes NAME.aln for its input NAME.fas with the two sequences as they
# are, the shorter one padded with gaps. A marker in a sequence line makes the pair fail:
# NOOUTPUT (no .aln), NOLENGTH (no "Len=" in the header), SHORTSEQ (a first sequence shorter than
# the header's length); SLEEPLONG sleeps a minute first (to be stopped).
# FAKE_TCOFFEE_LOG, when set, gets one line per call: the folder, the argument, the files there.
# FAKE_TCOFFEE_COPY, when set, is a folder that gets a copy of the pair's input and script.
input="$1"
name="${input%.fas}"
[ -n "$FAKE_TCOFFEE_LOG" ] && echo "$(pwd)|$input|$(ls -A | tr '\n' ' ')" >> "$FAKE_TCOFFEE_LOG"
[ -f "$input" ] || exit 3
[ -n "$FAKE_TCOFFEE_COPY" ] && cp "$input" "$name.sh" "$FAKE_TCOFFEE_COPY/"
grep -q SLEEPLONG "$input" && sleep 60
grep -q NOOUTPUT "$input" && exit 1
awk -v name="$name" '
    { sub(/\r$/, "") }
    /^>/ { n++; next }
    { seq[n] = seq[n] $0 }
    END {
        a = seq[1]; b = seq[2]
        len = length(a) > length(b) ? length(a) : length(b)
        while (length(a) < len) a = a "-"
        while (length(b) < len) b = b "-"
        header = "CLUSTAL FORMAT for FAKE, Nseq=2, Len=" len " "
        if (a ~ /NOLENGTH/) header = "CLUSTAL FORMAT for FAKE, Nseq=2"
        if (a ~ /SHORTSEQ/) a = substr(a, 1, len - 1)
        out = name ".aln"
        printf "%s\n\n", header > out
        for (i = 1; i <= len; i += 60)
            printf "s1              %s\ns2              %s\n                \n\n", substr(a, i, 60), substr(b, i, 60) > out
        printf "<html>fake</html>\n" > (name ".html")
        printf "(s1:0.5,s2:0.5);\n" > (name ".dnd")
    }' "$input"
