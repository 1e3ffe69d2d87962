#!/usr/bin/env python3
"""Writes the generated example library (library.fas, SINTAX taxonomy) and specimens
(specimens.fas) of `kadrel identify`. The sequences are not real barcodes: 658 bases grown down
a seeded tree (family, genus, species, record) with transition-biased substitutions, so that
records of one species are about 0.5 % apart, species of one genus 4 to 7 %, genera 12 % or more.

Usage: make_library.py [FOLDER]   (default: the folder of this script)"""
import os
import random
import sys

RNG = random.Random(658)
TRANSITION = {"A": "G", "G": "A", "C": "T", "T": "C"}
LENGTH = 658
# COI is AT-rich.
WEIGHTS = {"A": 0.30, "C": 0.17, "G": 0.16, "T": 0.37}


def grown(parent, share):
    out = []
    for base in parent:
        if RNG.random() < share:
            base = TRANSITION[base] if RNG.random() < 0.75 else RNG.choice([b for b in "ACGT" if b != TRANSITION[base] and b != base])
        out.append(base)
    return "".join(out)


def lineage(family, genus, species):
    order = "Odonata"
    return ("tax=d:Eukaryota,k:Animalia,p:Arthropoda,c:Insecta,o:%s,f:%s,g:%s,s:%s;"
            % (order, family, genus, species.replace(" ", "_")))


def fasta(records):
    text = ""
    for header, seq in records:
        text += ">" + header + "\n" + "".join(seq[i:i + 60] + "\n" for i in range(0, len(seq), 60))
    return text


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    root = "".join(RNG.choices(list(WEIGHTS), list(WEIGHTS.values()), k=LENGTH))
    tree = {
        ("Lestidae", "Lestes"): ["Lestes sponsa", "Lestes dryas", "Lestes virens", "Lestes barbarus"],
        ("Lestidae", "Sympecma"): ["Sympecma fusca", "Sympecma paedisca"],
        ("Coenagrionidae", "Coenagrion"): ["Coenagrion puella", "Coenagrion pulchellum"],
        ("Coenagrionidae", "Ischnura"): ["Ischnura elegans"],
    }
    families = {name: grown(root, 0.10) for name in ("Lestidae", "Coenagrionidae")}
    library, species_seq, genus_seq = [], {}, {}
    number = 0
    for (family, genus), names in tree.items():
        genus_seq[genus] = grown(families[family], 0.06)
        for name in names:
            species_seq[name] = grown(genus_seq[genus], 0.025)
            for _ in range(2):
                number += 1
                library.append(("ODO%03d;%s" % (number, lineage(family, genus, name)), grown(species_seq[name], 0.004)))
    # Two damselflies of one genus sharing a haplotype, as introgression leaves them: one record of
    # each holds the same sequence.
    shared = grown(species_seq["Coenagrion puella"], 0.003)
    for name in ("Coenagrion puella", "Coenagrion pulchellum"):
        number += 1
        library.append(("ODO%03d;%s" % (number, lineage("Coenagrionidae", "Coenagrion", name)), shared))
    # A record the library could not name.
    number += 1
    library.append(("ODO%03d uncultured Odonata" % number, grown(species_seq["Lestes dryas"], 0.03)))

    n_start = "N" * 200 + grown(species_seq["Sympecma fusca"], 0.004)[200:]
    specimens = [
        ("S01;tax=s:Lestes_sponsa;", grown(species_seq["Lestes sponsa"], 0.004)),
        ("S02;tax=s:Coenagrion_puella;", grown(shared, 0.0)),
        ("S03", grown(genus_seq["Lestes"], 0.025)),          # a Lestes the library lacks
        ("S04;tax=s:Ischnura_elegans;", grown(species_seq["Ischnura elegans"], 0.004)[:90]),  # a fragment
        ("S05;tax=s:Sympecma_fusca;", n_start),               # its first 200 bases unread
        ("S06", grown(root, 0.25)),                           # far from everything
    ]
    with open(os.path.join(folder, "library.fas"), "w") as out:
        out.write(fasta(library))
    with open(os.path.join(folder, "specimens.fas"), "w") as out:
        out.write(fasta(specimens))


if __name__ == "__main__":
    main()
