#!/usr/bin/env python3
"""kadrel gap against kadrel compare LIB LIB --table on the bundled library: every pair gap uses
(i before j) has compare's distance in the matrix, both halves; each record's nearest neighbours
are the ones the table gives; and the threshold counts at three thresholds, made here from the
records table, are the sweep's.

Usage: gap_agree.py KADREL LIBRARY"""
import csv
import os
import subprocess
import sys
import tempfile

from failures import finish


def rows(path):
    with open(path, newline="", encoding="utf-8") as f:
        return list(csv.reader(f, delimiter="\t"))


def main():
    kadrel, library = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        out = {name: os.path.join(tmp, name) for name in ("pairs.tsv", "matrix.tsv", "records.tsv", "sweep.tsv", "species.tsv")}
        subprocess.run([kadrel, "compare", library, library, "-a", "builtin", "-m", "k2p", "--textbook", "--no-backup",
                        "--table", out["pairs.tsv"], "-o", os.devnull], check=True, stderr=subprocess.DEVNULL)
        run = subprocess.run([kadrel, "gap", library, "-a", "builtin", "--matrix", out["matrix.tsv"], "--specimens",
                              out["records.tsv"], "--sweep", out["sweep.tsv"], "--species", out["species.tsv"], "-j", "2", "--no-backup"],
                             check=True, stderr=subprocess.PIPE, text=True)
        matrix = rows(out["matrix.tsv"])
        names = matrix[0][1:]
        n = len(names)
        if "%d pairs compared" % (n * (n - 1) // 2) not in run.stderr:
            failures.append("not every unordered pair once: " + run.stderr)
        # compare's names are whole headers; gap's are record ids, the first word up to ';'.
        ids = [names[k] for k in range(n)]
        table = rows(out["pairs.tsv"])
        k2p = table[0].index("k2p")
        order = {}
        distance = {}
        for row in table[1:]:
            q, r = row[0].split(";")[0].split()[0], row[1].split(";")[0].split()[0]
            distance[(q, r)] = row[k2p]
        for i in range(n):
            for j in range(i + 1, n):
                want = distance[(ids[i], ids[j])]
                if matrix[i + 1][j + 1] != want or matrix[j + 1][i + 1] != want:
                    failures.append("%s %s: compare %s, gap %s/%s" % (ids[i], ids[j], want, matrix[i + 1][j + 1], matrix[j + 1][i + 1]))
        records = rows(out["records.tsv"])[1:]
        species = {r[0]: r[1] for r in records}
        for r in records:
            if r[1] == "unclassified":
                continue
            mine = [(float(distance[tuple(sorted((r[0], o), key=ids.index))]), o) for o in ids
                    if o != r[0] and species[o] != "unclassified"]
            same = min((d for d, o in mine if species[o] == r[1]), default=None)
            other = min((d for d, o in mine if species[o] != r[1]), default=None)
            got_same = None if r[3] == "NA" else float(r[3])
            got_other = None if r[6] == "NA" else float(r[6])
            if (same, other) != (got_same, got_other):
                failures.append("%s: nearest %s %s, table %s %s" % (r[0], same, other, got_same, got_other))
        sweep = {row[0]: row[1:] for row in rows(out["sweep.tsv"])[1:]}
        sizes = {}
        for r in records:
            sizes[r[1]] = sizes.get(r[1], 0) + 1
        for threshold in ("0.005", "0.012", "0.05"):
            t = float(threshold)
            tp = fp = fn = tn = 0
            for r in records:
                if r[1] == "unclassified":
                    continue
                same = r[3] != "NA" and float(r[3]) <= t
                other = r[6] != "NA" and float(r[6]) <= t
                if other:
                    fp += 1
                elif same:
                    tp += 1
                elif sizes[r[1]] > 1:
                    fn += 1
                else:
                    tn += 1
            want = [str(v) for v in (tp, fp, fn, tn, fp + fn)]
            if sweep.get(threshold) != want:
                failures.append("sweep at %s: counted %s, written %s" % (threshold, want, sweep.get(threshold)))
    return finish(failures)


if __name__ == "__main__":
    sys.exit(main())
