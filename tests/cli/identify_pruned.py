"""kadrel identify going by the word bound against --exhaustive, on seeded sets built to sit at the
bound's edges: a hit at exactly T whose shared words are exactly the bound (C at the overlap
floor, gap runs at the cap), ties and a best decided by one site, N runs and ambiguity codes,
repeated words, references shorter than the query, a query whose only near reference misses the
floor, queries with no hit. Every summary and hits table must be the same byte for byte, with
-j 1 and 2 and the builtin and pairhmm aligners; the pruned runs must leave pairs out, their
closing line must count every pair once, and a query without a hit must cost no full row: under
rules A to C more than nine pairs in ten are left out (aligning the rows of the queries without a
hit, as runs did while their flag looked at every pair within T, left out under three in four).

Usage: identify_pruned.py KADREL"""
import collections
import os
import random
import re
import subprocess
import sys
import tempfile

kadrel = os.path.abspath(sys.argv[1])
rng = random.Random(20261208)
work = tempfile.mkdtemp()
SINTAX = ";tax=d:Animalia,p:Arthropoda,c:Insecta,o:Odonata,f:Lestidae,g:{g},s:{g}_{s};"


def random_bases(n):
    return "".join(rng.choice("ACGT") for _ in range(n))


def substituted(seq, positions):
    s = list(seq)
    for p in positions:
        s[p] = rng.choice([b for b in "ACGT" if b != s[p]])
    return "".join(s)


def inserted(seq, positions):
    for p in sorted(positions, reverse=True):
        seq = seq[:p] + rng.choice([b for b in "ACGT" if b not in seq[p - 1:p + 1]]) + seq[p:]
    return seq


def shared_words(a, b, q):
    def words(s):
        return collections.Counter(s[i:i + q] for i in range(len(s) - q + 1) if set(s[i:i + q]) <= set("ACGT"))
    return sum((words(a) & words(b)).values())


queries, references = [], []
# Rule A (T = 0.05, q = 10, C >= 240, B = 5): 12 mismatches in 240 sites, each 13 or more from its
# neighbours and a gap, and 5 one-base insertions, lose 12 x 10 + 6 x 9 of the 240 windows: the
# 66 left are exactly ceil(240 x 0.5) - 54.
edge = random_bases(240)
cuts = [40, 80, 120, 160, 200]
mismatches = [s + d for s in range(0, 240, 40) for d in (12, 25)]
tight = inserted(substituted(edge, mismatches), cuts)
queries.append(("edge", "Lestes", "sponsa", edge))
references += [
    ("tight", "Lestes", "sponsa", tight),
    ("tie", "Lestes", "dryas", inserted(substituted(edge, [m + 2 for m in mismatches]), cuts)),
    ("oneMore", "Lestes", "virens", inserted(substituted(edge, mismatches + [33]), cuts)),
    ("oneRunMore", "Lestes", "barbarus", inserted(substituted(edge, mismatches), cuts + [20])),
    ("oneLess", "Sympecma", "fusca", inserted(substituted(edge, mismatches[1:]), cuts)),
    ("floorShort", "Lestes", "macrostigma", edge[:200]),
]
assert shared_words(edge, tight, 10) <= 66 + 2, "the edge case no longer sits at the bound"
# A query with an N run and ambiguity codes; its references a few sites off, one with an N run too.
n_query = random_bases(120) + "N" * 25 + random_bases(120) + "RY" + random_bases(60)
queries.append(("nrun", "Chalcolestes", "viridis", n_query))
references += [
    ("nrun1", "Chalcolestes", "viridis", substituted(n_query, [5, 50, 200])),
    ("nrun2", "Chalcolestes", "parvidens", substituted(n_query.replace("N" * 25, random_bases(25)), [9, 99, 290])),
    ("nrun3", "Chalcolestes", "viridis", n_query[:40] + "N" * 30 + n_query[70:]),
]
# Repeated words: a microsatellite of 60 bases inside the query.
rep = random_bases(100) + "AC" * 30 + random_bases(140)
queries.append(("repeats", "Ischnura", "elegans", rep))
references += [("rep1", "Ischnura", "elegans", substituted(rep, [3, 130, 250])),
               ("rep2", "Ischnura", "pumilio", rep[:100] + "AC" * 28 + substituted(rep[160:], [20, 60]))]
# References shorter than the query, and one that covers it only in part.
long_query = random_bases(300)
queries.append(("long", "Coenagrion", "puella", long_query))
references += [("short1", "Coenagrion", "puella", substituted(long_query[:250], [7, 77])),
               ("short2", "Coenagrion", "pulchellum", long_query[100:220])]
# Only a piece of this one's relative is in the library: within T, too short for a hit.
piece_query = random_bases(260)
queries.append(("piece", "Enallagma", "cyathigerum", piece_query))
references.append(("piece1", "Enallagma", "cyathigerum", piece_query[:90]))
# No relative at all, and one too short for any hit.
queries += [("absent", "Aeshna", "cyanea", random_bases(250)), ("tiny", "Aeshna", "mixta", random_bases(60))]
# Relatives 2 to 12 % off and unrelated records, for the bound to work on.
for n in range(6):
    base = random_bases(250)
    queries.append((f"fam{n}", "Sympetrum", f"sp{n}", substituted(base, rng.sample(range(250), 2))))
    for k in range(4):
        references.append((f"fam{n}_{k}", "Sympetrum", f"sp{n}", substituted(base, rng.sample(range(250), 5 + 6 * k))))
references += [(f"other{n}", "Anax", f"sp{n}", random_bases(rng.randint(150, 350))) for n in range(20)]


def write(path, records):
    with open(path, "w") as f:
        for name, genus, species, seq in records:
            f.write(">" + name + SINTAX.format(g=genus, s=species) + "\n" + seq + "\n")


write(os.path.join(work, "q.fas"), queries)
write(os.path.join(work, "r.fas"), references)
rules = {
    "A": ["--max-distance", "0.05", "--min-overlap", "240", "--min-coverage", "0", "--thresholds", "species=0.02,genus=0.05"],
    "B": ["--max-distance", "0.03", "--thresholds", "species=0.02,genus=0.03"],
    "C": ["--max-distance", "0.02", "--max-gap-runs", "0", "--min-overlap", "150", "--thresholds", "species=0.02"],
    "D": [],
}
pairs = len(queries) * len(references)
CLOSING = re.compile(r"(\d+) pairs compared \((\d+) aligned.*?; (\d+) pairs skipped by the word bound")
failures, left_out = [], {}
for tag, rule in rules.items():
    for aligner, jobs in (("builtin", "1"), ("builtin", "2"), ("pairhmm", "2")):
        tables = {}
        for mode in ("pruned", "exhaustive"):
            out, hits = (os.path.join(work, f"{tag}.{aligner}{jobs}.{mode}.{x}") for x in ("summary", "hits"))
            cmd = [kadrel, "identify", "q.fas", "r.fas", "-a", aligner, "-j", jobs, "-o", out, "--hits", hits] + rule
            done = subprocess.run(cmd + (["--exhaustive"] if mode == "exhaustive" else []), cwd=work,
                                  capture_output=True, text=True)
            assert done.returncode == 0, done.stderr
            tables[mode] = (open(out, "rb").read(), open(hits, "rb").read())
            closing = done.stderr.strip().splitlines()[-1]
            if mode == "pruned":
                match = CLOSING.search(closing)
                assert match, closing
                compared, skipped = int(match.group(1)), int(match.group(3))
                assert compared + skipped == pairs, closing
                left_out[tag] = skipped
            else:
                assert "skipped by the word bound" not in closing and f"{pairs} pairs compared" in closing, closing
        if tables["pruned"] != tables["exhaustive"]:
            failures.append(f"rule {tag}, {aligner} -j {jobs}")
        if tag == "A" and aligner == "builtin":
            assert b"edge\ttight\t" in tables["pruned"][1], "the hit at the bound's edge is missing"
assert not failures, f"pruned and exhaustive tables differ (in {work}): " + "; ".join(failures)
assert all(left_out[tag] > pairs * 9 // 10 for tag in "ABC") and left_out["D"] > pairs // 2, left_out
print("pairs left out of", pairs, "by rule:", left_out)
