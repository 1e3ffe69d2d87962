"""kadrel identify with references that repeat sequences (first and last record, adjacent records,
three far apart, a group that is a query's best and ties with another record) against the same
library with every repeat made distinct in bytes by case alone: the index groups references by
their exact bytes, so that library is read without grouping (and without reuse of alignments),
while case is mended before aligning and counting. Summary and hits must be the same byte for
byte, apart from the run tag of the comment line (the sets differ), pruned and --exhaustive,
builtin and pairhmm.

Usage: identify_groups.py KADREL"""
import os
import random
import re
import subprocess
import sys
import tempfile

kadrel = os.path.abspath(sys.argv[1])
rng = random.Random(20261209)
work = tempfile.mkdtemp()


def random_bases(n):
    return "".join(rng.choice("ACGT") for _ in range(n))


def substituted(seq, positions):
    return "".join(rng.choice([b for b in "ACGT" if b != c]) if i in positions else c for i, c in enumerate(seq))


bases = [random_bases(300) for _ in range(4)]
first_last, adjacent, spread = substituted(bases[0], {10}), substituted(bases[1], {20, 200}), substituted(bases[2], {50})
tie = substituted(bases[2], {250})  # as far from the query of base 2 as `spread` is
# (name, genus, sequence, group): the references in order; group numbers the repeats.
library = [("first", "A", first_last, 1), ("r1", "A", substituted(bases[0], {5, 90, 180}), 0),
           ("adj1", "B", adjacent, 2), ("adj2", "B", adjacent, 2), ("sp1", "C", spread, 3),
           ("r2", "B", substituted(bases[1], {7, 70}), 0), ("tie", "C", tie, 0), ("sp2", "C", spread, 3),
           ("r3", "D", substituted(bases[3], {3, 33, 133}), 0)]
library += [(f"far{n}", "E", random_bases(300), 0) for n in range(6)]
library += [("sp3", "C", spread, 3), ("r4", "D", substituted(bases[3], {8}), 0), ("last", "A", first_last, 1)]
queries = [("qa", "A", first_last), ("qb", "B", substituted(bases[1], {20})), ("qc", "C", bases[2]),
           ("qd", "D", substituted(bases[3], {40, 41})), ("qe", "E", random_bases(300))]


def distinct_case(seq, repeat):
    """The repeat-th copy of a sequence in other bytes: the first as it is, then lower case, then half."""
    return [seq, seq.lower(), seq[:150].lower() + seq[150:]][repeat]


def write(path, records):
    with open(path, "w") as f:
        for name, genus, seq in records:
            f.write(f">{name};tax=g:{genus},s:{genus}_x{name[:2]};\n{seq}\n")


seen = {}
distinct = []
for name, genus, seq, group in library:
    seen[group] = seen.get(group, -1) + 1
    distinct.append((name, genus, distinct_case(seq, seen[group]) if group else seq))
write(os.path.join(work, "q.fas"), queries)
write(os.path.join(work, "grouped.fas"), [(n, g, s) for n, g, s, _ in library])
write(os.path.join(work, "distinct.fas"), distinct)
CLOSING = re.compile(r"\((\d+) aligned, (\d+) reused\)")
TAG = re.compile(rb"\[run [0-9a-f]+\]")
failures = []
for aligner in ("builtin", "pairhmm"):
    tables = {}
    for refs in ("grouped", "distinct"):
        for mode in ([], ["--exhaustive"]):
            key = (refs, bool(mode))
            cmd = [kadrel, "identify", "q.fas", refs + ".fas", "-a", aligner, "-j", "2", "--max-distance", "0.05",
                   "-o", "s.tsv", "--hits", "h.tsv"] + mode
            done = subprocess.run(cmd, cwd=work, capture_output=True, text=True)
            assert done.returncode == 0, done.stderr
            reused = int(CLOSING.search(done.stderr).group(2))
            assert (reused > 0) == (refs == "grouped"), (key, done.stderr)
            tables[key] = [TAG.sub(b"[run]", open(os.path.join(work, f), "rb").read()) for f in ("s.tsv", "h.tsv")]
    summary, hits = tables[("grouped", False)]
    assert b"\tfirst;last\t" in summary and b"\tadj1;adj2\t" in summary, summary
    assert b"\tsp1;tie;sp2;sp3\t" in summary, summary
    assert all(b"qa\t" + name + b"\t" in hits for name in (b"first", b"last")), hits
    failures += [f"{aligner} {key}" for key, found in tables.items() if found != tables[("grouped", False)]]
assert not failures, f"tables differ from the grouped run's (in {work}): " + "; ".join(failures)
print("grouped and distinct libraries, pruned and exhaustive, builtin and pairhmm: the same tables")
