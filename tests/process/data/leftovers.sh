# What a run of kadrel left behind: a process started with FAKE_TCOFFEE_HOLD=HELD still running
# a second after (a killed process takes a moment to go), or the work folder of an aligner it
# held; then how many aligners were held.
# Usage: sh leftovers.sh HELD
held=$1
running() { grep -lszxF "FAKE_TCOFFEE_HOLD=$held" /proc/[0-9]*/environ; }
for wait in 1 2 3 4 5 6 7 8 9 10; do running >/dev/null && sleep 0.1; done
running | sed 's/.*/left: a process/'
[ -f "$held" ] || { echo "no aligner held"; exit; }
while read -r _ folder; do [ -e "$folder" ] && echo "left: its work folder"; done <"$held"
echo "aligners held: $(wc -l <"$held")"
rm "$held"
