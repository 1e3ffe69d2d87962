#!/usr/bin/env python3
"""A seeded reference library with taxonomy, and queries against it, for timing kadrel identify.

650-base barcodes with SINTAX headers. Genera of several species hang off one root, each genus
about 10 % from the root and each species about 9 % from its genus, so species of one genus lie
15-25 % apart; several references per species lie 1-2 % from each other; a fifth of the species
carry a codon deletion. Queries are 1-3 % from a species; a tenth come from species that are not
in the library. Not real barcodes: substitutions only at random sites, no codon structure.

Usage: identify_library.py REFERENCES QUERIES_COUNT OUT_FOLDER [--seed N] [--per-species K]
Writes OUT_FOLDER/library.fas and OUT_FOLDER/queries.fas."""
import argparse
import os
import random

LENGTH = 650
TAX = ";tax=d:Animalia,p:Arthropoda,c:Insecta,o:Odonata,f:Fam{f},g:Gen{g},s:Gen{g}_sp{s};"


def mutated(rng, seq, share):
    s = list(seq)
    for p in rng.sample(range(len(s)), round(share * len(s))):
        s[p] = rng.choice([b for b in "ACGT" if b != s[p]])
    return "".join(s)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("references", type=int)
    parser.add_argument("queries", type=int)
    parser.add_argument("out")
    parser.add_argument("--seed", type=int, default=22)
    parser.add_argument("--per-species", type=int, default=5)
    parser.add_argument("--species-per-genus", type=int, default=8)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    os.makedirs(args.out, exist_ok=True)
    species_in_library = -(-args.references // args.per_species)
    absent = max(1, args.queries // 10)
    root = "".join(rng.choice("ACGT") for _ in range(LENGTH))
    species = []  # (family, genus, number, sequence, in library)
    genus = -1
    while len(species) < species_in_library + absent:
        genus += 1
        ancestor = mutated(rng, root, rng.uniform(0.08, 0.12))
        for n in range(args.species_per_genus):
            seq = mutated(rng, ancestor, rng.uniform(0.075, 0.125))
            if rng.random() < 0.2:
                cut = rng.randrange(50, LENGTH - 50)
                seq = seq[:cut] + seq[cut + 3:]
            species.append((genus // 10, genus, n, seq))
    rng.shuffle(species)
    present, missing = species[:species_in_library], species[species_in_library:]
    written = 0
    with open(os.path.join(args.out, "library.fas"), "w") as f:
        for family, g, n, seq in present:
            for _ in range(args.per_species):
                if written == args.references:
                    break
                written += 1
                f.write(f">REF{written:07d}" + TAX.format(f=family, g=g, s=n) + "\n" + mutated(rng, seq, rng.uniform(0.005, 0.01)) + "\n")
    with open(os.path.join(args.out, "queries.fas"), "w") as f:
        for q in range(args.queries):
            family, g, n, seq = rng.choice(missing) if q % 10 == 9 else rng.choice(present)
            f.write(f">Q{q:05d}" + TAX.format(f=family, g=g, s=n) + "\n" + mutated(rng, seq, rng.uniform(0.01, 0.03)) + "\n")


if __name__ == "__main__":
    main()
