#!/usr/bin/env python3
"""t_coffee's method in process (-a pairhmm) against the real t_coffee, side by side in one run.

1. Speed: seeded sets of 650-base barcodes (10 % apart), `kadrel compare -j 1` with -a t_coffee
   (12 pairs) and -a pairhmm (2,500 pairs); pairs per second of each and their ratio.
2. Exactness: N seeded pairs (tests/golden/pairhmm/pair_cases.py's random pairs: ragged ends,
   indels of up to 40, IUPAC codes, lower case), each aligned by the real t_coffee and by
   `kadrel align -a pairhmm`, compared byte for byte (CPU= aside); the count identical.
3. Large cases: 1,000 x 1,000 barcodes (--large N: N x N; --large-rows R: R x N) with -a pairhmm on every
   core (wall time, peak memory),
   and one 10,000 x 10,000-base pair (peak memory).
Writes bench/PAIRHMM_RESULTS.md.

Usage: bench/pairhmm_vs_tcoffee.py [--kadrel build/bin/kadrel] [--pairs 1000] [--keep DIR] [--skip-speed]
       [--skip-exactness] [--skip-large] [--large N] [--large-rows R] [--append]
"""
import argparse
import concurrent.futures
import datetime
import os
import platform
import random
import re
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
sys.path[:0] = [HERE, os.path.join(ROOT, "tests", "golden", "pairhmm")]
import builtin_vs_tcoffee as common  # noqa: E402
import pair_cases  # noqa: E402


def speed(kadrel, folder):
    set1, set2 = common.make_sets(folder, "tc", 650, 3, 4, lambda r: r.uniform(0.02, 0.08), 11)
    tc_wall, tc_mb, _ = common.run_kadrel(kadrel, set1, set2, "t_coffee", 1, folder, ["--no-backup"])
    big1, big2 = common.make_sets(folder, "ph", 650, 50, 50, lambda r: r.uniform(0.02, 0.08), 12)
    ph_wall, ph_mb, _ = common.run_kadrel(kadrel, big1, big2, "pairhmm", 1, folder, ["--no-backup"])
    return 12 / tc_wall, tc_mb, 2500 / ph_wall, ph_mb


def exactness(kadrel, folder, count):
    rng = random.Random(2024)
    names = []
    for k in range(count):
        name = os.path.join(folder, "x%04d" % k)
        with open(name + ".fas", "w") as out:
            out.write(pair_cases.fasta(pair_cases.random_pair(rng)))
        names.append(name)
    todo = [n for n in names if not os.path.exists(n + ".aln")]  # t_coffee's outputs kept by --keep
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        list(pool.map(lambda n: pair_cases.run_tcoffee(n + ".fas", n + ".aln"), todo))
    mask = re.compile(rb"CPU=[0-9.]* sec")
    same = 0
    for name in names:
        mine = subprocess.run([kadrel, "align", "-a", "pairhmm", name + ".fas"], capture_output=True).stdout
        with open(name + ".aln", "rb") as f:
            same += mask.sub(b"CPU=", f.read()) == mask.sub(b"CPU=", mine)
    return same


def large(kadrel, folder, size, rows):
    set1, set2 = common.make_sets(folder, "big", 650, rows, size, lambda r: r.uniform(0.01, 0.10), 13)
    wall, mb, _ = common.run_kadrel(kadrel, set1, set2, "pairhmm", os.cpu_count(), folder, ["--no-backup"])
    rng = random.Random(14)
    a = pair_cases.dna(rng, 10000)
    pair = os.path.join(folder, "long.fas")
    with open(pair, "w") as out:
        out.write(pair_cases.fasta([("long_a", a), ("long_b", pair_cases.mutate(rng, a, 0.05, 0.01, 5))]))
    timing = os.path.join(folder, "long_time.txt")
    subprocess.run(["/usr/bin/time", "-v", "-o", timing, kadrel, "align", pair, "-o", pair + ".aln"], check=True)
    with open(timing) as t:
        long_mb = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", t.read()).group(1)) / 1024
    return wall, mb, long_mb


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--kadrel", default=os.path.join(ROOT, "build", "bin", "kadrel"))
    parser.add_argument("--pairs", type=int, default=1000)
    parser.add_argument("--skip-exactness", action="store_true")
    parser.add_argument("--skip-large", action="store_true")
    parser.add_argument("--skip-speed", action="store_true")
    parser.add_argument("--large", type=int, default=1000, help="records per set of the large case")
    parser.add_argument("--large-rows", type=int, help="records of the large case's first set (default: --large)")
    parser.add_argument("--append", action="store_true", help="add to bench/PAIRHMM_RESULTS.md instead of replacing it")
    parser.add_argument("--keep", help="a folder for the exactness pairs and t_coffee's outputs, reused by later runs")
    args = parser.parse_args()
    kadrel = os.path.abspath(args.kadrel)
    commit = subprocess.run(["git", "-C", ROOT, "rev-parse", "--short", "HEAD"], capture_output=True, text=True).stdout.strip()
    lines = ["# t_coffee's method in process against t_coffee", "",
             "Written by `bench/pairhmm_vs_tcoffee.py` on %s (kadrel %s), %s, %d cores, load average %.1f before." % (
                 datetime.datetime.now().strftime("%Y-%m-%d %H:%M"), commit, platform.processor() or platform.machine(),
                 os.cpu_count(), os.getloadavg()[0]), ""]
    with tempfile.TemporaryDirectory() as folder:
        if not args.skip_speed:
            tc_rate, tc_mb, ph_rate, ph_mb = speed(kadrel, folder)
            lines.append("650-base barcodes, one job each, side by side: t_coffee %.2f pairs/s (peak %.0f MB), "
                         "pairhmm %.0f pairs/s (peak %.0f MB): **%.0f times** as many pairs per second." % (
                             tc_rate, tc_mb, ph_rate, ph_mb, ph_rate / tc_rate))
        if not args.skip_exactness:
            keep = args.keep or os.path.join(folder, "exact")
            os.makedirs(keep, exist_ok=True)
            same = exactness(kadrel, keep, args.pairs)
            lines.append("")
            lines.append("Exactness: **%d of %d** generated pairs byte for byte as t_coffee wrote them (CPU= aside)." % (
                same, args.pairs))
        if not args.skip_large:
            rows = args.large_rows or args.large
            wall, mb, long_mb = large(kadrel, folder, args.large, rows)
            lines.append("")
            lines.append("%d x %d barcodes of 650 bases, -a pairhmm -j %d: %.0f s wall (%.1f min, %.0f pairs/s), peak %.0f MB." % (
                rows, args.large, os.cpu_count(), wall, wall / 60, rows * args.large / wall, mb))
            if rows != args.large:
                lines.append("At that rate %d x %d would take %.1f min." % (
                    args.large, args.large, wall * args.large / rows / 60))
            lines.append("One 10,000 x 10,000-base pair, kadrel align: peak %.0f MB." % long_mb)
        lines.append("Load average after: %.1f (the machine is shared)." % os.getloadavg()[0])
    text = "\n".join(lines) + "\n"
    print(text)
    with open(os.path.join(HERE, "PAIRHMM_RESULTS.md"), "a" if args.append else "w") as out:
        out.write(("\n" if args.append else "") + text)


if __name__ == "__main__":
    main()
