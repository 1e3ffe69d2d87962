#!/usr/bin/env python3
"""kadrel gap on a generated library of 5,000 barcodes (12.5 million pairs) with the built-in
aligner: wall time, CPU time and peak memory (the child's maximum resident set), with the load the
machine carried. Writes bench/GAP_RESULTS.md.

Usage: gap_5000.py KADREL [--records N] [--jobs J]"""
import argparse
import os
import random
import resource
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from builtin_vs_tcoffee import descendant, random_bases  # noqa: E402


def library(path, records, seed=5000):
    """500 species of 10 records (for 5,000), species 4 to 12 % from a genus ancestor, records
    within 1 % of theirs; a few with no species name, as libraries hold."""
    rng = random.Random(seed)
    genera = [random_bases(rng, 658) for _ in range(50)]
    with open(path, "w") as out:
        for r in range(records):
            s = r // 10
            rng_s = random.Random(seed * 7919 + s)
            species = descendant(rng_s, genera[s % len(genera)], 0.04 + 0.08 * rng_s.random(), False)
            sequence = descendant(rng, species, 0.01 * rng.random(), True)
            name = "Genus%d_species%d" % (s % len(genera), s) if r % 97 else "unnamed"
            out.write(">R%05d|%s\n%s\n" % (r, name, sequence))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("kadrel")
    parser.add_argument("--records", type=int, default=5000)
    parser.add_argument("--jobs", type=int, default=os.cpu_count())
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as tmp:
        lib = os.path.join(tmp, "library.fas")
        library(lib, args.records)
        load = os.getloadavg()
        start = time.monotonic()
        run = subprocess.run([args.kadrel, "gap", lib, "-a", "builtin", "-j", str(args.jobs), "--species",
                              os.path.join(tmp, "species.tsv"), "--specimens", os.path.join(tmp, "records.tsv"),
                              "--sweep", os.path.join(tmp, "sweep.tsv"),
                              # kept, as a user's run keeps it, but not left in the current folder
                              "--backup", os.path.join(tmp, "gap.bak")], stderr=subprocess.PIPE, text=True)
        wall = time.monotonic() - start
        usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    pairs = args.records * (args.records - 1) // 2
    lines = ["# kadrel gap on %d generated barcodes" % args.records, "",
             "- pairs: %d, -a builtin, -j %d, %d cores" % (pairs, args.jobs, os.cpu_count()),
             "- load average before the run: %.2f %.2f %.2f" % load,
             "- wall time: %.1f s (%.0f pairs/s); CPU time: %.1f s" % (wall, pairs / wall, usage.ru_utime + usage.ru_stime),
             "- peak memory (maximum resident set): %.1f MB" % (usage.ru_maxrss / 1024),
             "- exit status %d; closing line: `%s`" % (run.returncode, run.stderr.strip().splitlines()[-1] if run.stderr.strip() else "")]
    text = "\n".join(lines) + "\n"
    print(text)
    if args.records == 5000:
        with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), "GAP_RESULTS.md"), "w") as out:
            out.write(text)
    return run.returncode


if __name__ == "__main__":
    sys.exit(main())
