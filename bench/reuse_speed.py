#!/usr/bin/env python3
"""Dereplication measured: the same comparison with every pair aligned (--no-reuse) and with
pairs of sequences seen before taking the earlier result, for each aligner asked for.

The sets are seeded barcode-like files in which a third of the records repeat an earlier
record's sequence (under another name, and split over other lines), as published reference sets
do. Prints, per aligner: the pairs, the distinct pairs, the wall time both ways, the ratio of the
times against the ratio of the pairs aligned, and whether the two reports are byte for byte the
same once the banner line is set aside.

Usage: bench/reuse_speed.py [--kadrel build/bin/kadrel] [--aligner builtin:300 --aligner t_coffee:6 ...]
(ALIGNER:N compares N queries with N references.)
"""
import argparse
import os
import random
import re
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from builtin_vs_tcoffee import descendant, random_bases, run_kadrel  # noqa: E402


def write_repeating_set(path, prefix, count, rng, ancestor):
    """`count` records; every third repeats an earlier record's sequence at another line width."""
    seqs = []
    with open(path, "w") as out:
        for i in range(count):
            repeat = i % 3 == 2
            seq = rng.choice(seqs) if repeat else descendant(rng, ancestor, rng.uniform(0.01, 0.1), rng.random() < 0.3)
            seqs.append(seq)
            width = 70 if repeat else 60
            out.write(">%s%d\n" % (prefix, i))
            for at in range(0, len(seq), width):
                out.write(seq[at:at + width] + "\n")
    return len(set(seqs))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--kadrel", default="build/bin/kadrel")
    parser.add_argument("--aligner", action="append", default=[])
    args = parser.parse_args()
    kadrel = os.path.abspath(args.kadrel)
    plans = [a.split(":") for a in (args.aligner or ["builtin:300", "t_coffee:6"])]
    print("| aligner | pairs | distinct pairs | all aligned (s) | reused (s) | time ratio | pairs ratio | reports equal |")
    print("|---|---|---|---|---|---|---|---|")
    for aligner, count in plans:
        count = int(count)
        with tempfile.TemporaryDirectory(prefix="kadrel-reuse-") as folder:
            rng = random.Random(11)
            ancestor = random_bases(rng, 650)
            set1, set2 = os.path.join(folder, "q.fas"), os.path.join(folder, "r.fas")
            distinct = write_repeating_set(set1, "q", count, rng, ancestor) * write_repeating_set(set2, "r", count, rng, ancestor)
            texts, walls = [], []
            for extra in (["--no-reuse", "--no-backup"], ["--no-backup"]):
                wall, _, report = run_kadrel(kadrel, set1, set2, aligner, 2, folder, extra)
                with open(report, "rb") as f:
                    texts.append(f.read().split(b"\r\n", 1)[1])
                walls.append(wall)
            same = "yes" if texts[0] == texts[1] else "NO"
            print("| %s | %d | %d | %.2f | %.2f | %.2f | %.2f | %s |" % (
                aligner, count * count, distinct, walls[0], walls[1], walls[1] / walls[0],
                distinct / (count * count), same))


if __name__ == "__main__":
    main()
