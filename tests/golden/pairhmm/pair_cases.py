#!/usr/bin/env python3
"""Seeded pair files for t_coffee's two-sequence method, and the real t_coffee's .aln of each.

  pair_cases.py golden DIR          writes DIR/NAME.fas and, by running t_coffee, DIR/NAME.aln
  pair_cases.py random DIR N SEED   writes N random pair files DIR/rNNNN.fas and their .aln

The golden set covers ragged ends, indels, repeats, case, IUPAC and other characters, short and
long sequences, identical and equal-length pairs, pairs at the library's size cap, and one RNA and
one protein pair (which t_coffee aligns by another path).
"""
import concurrent.futures
import os
import random
import shutil
import subprocess
import sys
import tempfile

BASES = "ACGT"
IUPAC = "RYSWKMBDHVN"


def dna(rng, n, alphabet=BASES):
    return "".join(rng.choice(alphabet) for _ in range(n))


def mutate(rng, seq, subs=0.05, indels=0.01, longest=6, alphabet=BASES):
    out, k = [], 0
    while k < len(seq):
        r = rng.random()
        if r < indels / 2:
            out.append(dna(rng, rng.randint(1, longest), alphabet))  # insertion
        elif r < indels:
            k += rng.randint(1, longest)  # deletion
            continue
        out.append(rng.choice(alphabet) if rng.random() < subs else seq[k])
        k += 1
    return "".join(out)


def fasta(records):
    text = ""
    for name, seq in records:
        text += ">" + name + "\n" + "".join(seq[k:k + 60] + "\n" for k in range(0, len(seq), 60))
    return text


def golden_cases():
    rng = random.Random(20240518)
    cases = {}
    base = dna(rng, 400)
    for n, (left, right) in enumerate([(120, 0), (0, 120), (60, 90), (5, 117)]):
        cases[f"ragged{n}"] = [("query", base[left:len(base) - right]), ("ref", mutate(rng, base))]
    for length in (1, 3, 7, 15, 25, 40):
        core = dna(rng, 300)
        cut = rng.randint(50, 250)
        cases[f"indel{length}"] = [("a_del", core[:cut] + core[cut + length:]), ("b_full", mutate(rng, core, 0.03, 0))]
    unit = dna(rng, 7)
    rep = dna(rng, 80) + unit * 12 + dna(rng, 80)
    cases["repeat"] = [("rep1", rep), ("rep2", mutate(rng, rep[:160] + unit * 3 + rep[160:], 0.02, 0))]
    cases["microsat"] = [("ms_a", dna(rng, 40) + "CA" * 30 + dna(rng, 40)), ("ms_b", dna(rng, 40) + "CA" * 24 + dna(rng, 45))]
    s = dna(rng, 200)
    cases["lowercase"] = [("lower", s.lower()), ("upper", mutate(rng, s))]
    cases["mixedcase"] = [("mix1", "".join(c.lower() if rng.random() < 0.5 else c for c in s)),
                          ("mix2", "".join(c.lower() if rng.random() < 0.3 else c for c in mutate(rng, s)))]
    cases["iupac"] = [("amb", "".join(rng.choice(IUPAC) if rng.random() < 0.1 else c for c in s)), ("clean", mutate(rng, s))]
    cases["nrun"] = [("nrun", s[:80] + "N" * 30 + s[110:]), ("full", mutate(rng, s, 0.04))]
    # Up to 1 % of other characters stays on the DNA path.
    cases["otherchars"] = [("odd1", s[:50] + "X" + s[51:120] + "5" + s[121:]), ("odd2", s[:90] + "?" + mutate(rng, s[90:]))]
    cases["gapchars"] = [("gapped", s[:60] + "--..~" + s[60:150] + "*#" + s[150:]), ("plain", mutate(rng, s))]
    short = dna(rng, 50)
    cases["short50"] = [("sh1", short), ("sh2", mutate(rng, short, 0.1, 0.04, 3))]
    long = dna(rng, 3000)
    cases["long3000"] = [("long1", long), ("long2", mutate(rng, long, 0.05, 0.01, 8))]
    cases["identical"] = [("same1", s), ("same2", s)]
    e = dna(rng, 250)
    cases["equallength"] = [("eq_b", e), ("eq_a", "".join(rng.choice(BASES) if rng.random() < 0.08 else c for c in e))]
    # Low complexity: many near-equal posteriors, more cells than the cap keeps.
    cases["libcap1"] = [("lc1", "A" * 60 + "T" * 40), ("lc2", "A" * 55 + "T" * 45)]
    cases["libcap2"] = [("lc_at1", "AT" * 45), ("lc_at2", "AT" * 40 + "TA" * 6)]
    cases["names"] = [("other:5;", mutate(rng, s[:150])), ("na(m)e,x", s[:150])]
    cases["fileorder"] = [("zeta", mutate(rng, s, 0.1, 0.03)), ("alpha", s)]
    cases["rna"] = [("rna1", s.replace("T", "U")), ("rna2", mutate(rng, s).replace("T", "U"))]
    prot = dna(rng, 150, "ACDEFGHIKLMNPQRSTVWY")
    cases["protein"] = [("prot1", prot), ("prot2", mutate(rng, prot, 0.1, 0.02, 3, "ACDEFGHIKLMNPQRSTVWY"))]
    # The first sequence longer at the start: its leading residues face no residue of the second.
    # A generator of its own, so that the cases above stay as they were made.
    rng = random.Random(20261208)
    base = dna(rng, 400)
    for n, (left, right) in enumerate([(90, 0), (40, 40), (3, 0)]):
        cases[f"overhang{n}"] = [("longer", mutate(rng, base)), ("cut", base[left:len(base) - right])]
    return cases


def random_pair(rng):
    n = rng.randint(40, 900)
    seq = dna(rng, n)
    other = mutate(rng, seq, rng.choice([0.0, 0.02, 0.08, 0.2]), rng.choice([0.0, 0.01, 0.04]), rng.randint(1, 40))
    if rng.random() < 0.4:
        other = other[rng.randint(0, min(120, len(other) // 3)):]
    if rng.random() < 0.4:
        seq = seq[:len(seq) - rng.randint(0, min(120, len(seq) // 3))]
    if rng.random() < 0.2:
        seq, other = other, seq
    if rng.random() < 0.2:
        seq = "".join(rng.choice(IUPAC) if rng.random() < 0.02 else c for c in seq)
    if rng.random() < 0.2:
        other = other.lower()
    names = rng.sample(["s1", "s2", "query", "ref_7", "Zeta", "alpha"], 2)
    return [(names[0], seq), (names[1], other)]


def run_tcoffee(fas, aln):
    with tempfile.TemporaryDirectory() as work:
        shutil.copy(fas, os.path.join(work, "pair.fas"))
        subprocess.run(["t_coffee", "pair.fas"], cwd=work, check=True, env=dict(os.environ, HOME_4_TCOFFEE=work,
                       TMP_4_TCOFFEE=work, DIR_4_TCOFFEE=work, CACHE_4_TCOFFEE=work, LOCKDIR_4_TCOFFEE=work),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.copy(os.path.join(work, "pair.aln"), aln)


def main():
    mode, folder = sys.argv[1], sys.argv[2]
    os.makedirs(folder, exist_ok=True)
    if mode == "golden":
        cases = golden_cases()
    else:
        rng = random.Random(int(sys.argv[4]))
        cases = {f"r{k:04d}": random_pair(rng) for k in range(int(sys.argv[3]))}
    for name, records in cases.items():
        with open(os.path.join(folder, name + ".fas"), "w") as out:
            out.write(fasta(records))
    # t_coffee spends most of its time starting up: two at a time.
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        list(pool.map(lambda n: run_tcoffee(os.path.join(folder, n + ".fas"), os.path.join(folder, n + ".aln")), cases))


if __name__ == "__main__":
    main()
