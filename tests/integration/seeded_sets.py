#!/usr/bin/env python3
"""Writes the seeded sets of the kill-and-resume tests: variants of one random 600-base sequence
(8 % of sites redrawn, up to 40 bases trimmed off each end), every fourth the sequence itself.

Usage: seeded_sets.py [--species N] FILE:COUNT...
With --species N, the records of each file fall in turn into N species, named in the headers
(ID|Genus_spK): each species is its own variant of the sequence, and its records vary from it by
1 %, so that a library check finds gaps, overlaps and records nearer another species."""
import random
import sys


def variant(rng, parent, share):
    sequence = "".join(c if rng.random() > share else rng.choice("ACGT") for c in parent)
    cut = rng.randrange(0, 40)
    return sequence[cut:len(sequence) - rng.randrange(0, 40)]


def main():
    arguments = sys.argv[1:]
    species = 0
    if arguments[:1] == ["--species"]:
        species, arguments = int(arguments[1]), arguments[2:]
    rng = random.Random(5)
    base = "".join(rng.choice("ACGT") for _ in range(600))
    parents = [variant(rng, base, 0.08) for _ in range(species)]
    for given in arguments:
        name, count = given.rsplit(":", 1)
        with open(name, "w") as f:
            for i in range(int(count)):
                header = "%s%d" % (name[0], i)
                parent, share = base, 0.08
                if species:
                    header += "|Genus_sp%d" % (i % species)
                    parent, share = parents[i % species], 0.01
                f.write(">%s\n%s\n" % (header, variant(rng, parent, share) if i % 4 else parent))


if __name__ == "__main__":
    main()
