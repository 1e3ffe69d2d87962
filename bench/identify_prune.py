#!/usr/bin/env python3
"""kadrel identify with the word bound against --exhaustive on a generated library
(identify_library.py): the tables must be the same byte for byte; prints the pairs each run
aligned and left out, its wall time and peak memory, for every T asked for.

Usage: identify_prune.py KADREL [--references N] [--queries N] [--t 0.01,0.03,0.05,0.1]
                         [--exhaustive-at 0.03] [--aligner builtin] [--jobs 2] [--work DIR]
The exhaustive run is made only at the T values of --exhaustive-at (it is the slow one)."""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))


def run(work, t, args, exhaustive):
    tag = f"{t}{'.exhaustive' if exhaustive else ''}"
    out, hits = os.path.join(work, tag + ".summary"), os.path.join(work, tag + ".hits")
    thresholds = ",".join(f"{rank}={min(t, d)}" for rank, d in (("species", 0.02), ("genus", 0.05), ("family", 0.1)))
    cmd = ["/usr/bin/time", "-f", "peak %M KiB", args.kadrel, "identify", os.path.join(work, "queries.fas"),
           os.path.join(work, "library.fas"), "-a", args.aligner, "-j", str(args.jobs), "--max-distance", str(t),
           "--thresholds", thresholds, "-o", out, "--hits", hits] + (["--exhaustive"] if exhaustive else [])
    start = time.monotonic()
    done = subprocess.run(cmd, capture_output=True, text=True)
    seconds = time.monotonic() - start
    if done.returncode != 0:
        sys.exit(done.stderr)
    closing = [line for line in done.stderr.splitlines() if "pairs compared" in line][-1]
    aligned = int(re.search(r"\((\d+) aligned", closing).group(1))
    reused = int(re.search(r"(\d+) reused", closing).group(1))
    skipped = re.search(r"(\d+) pairs skipped by the word bound", closing)
    peak = int(re.search(r"peak (\d+) KiB", done.stderr).group(1))
    return {"aligned": aligned + reused, "skipped": int(skipped.group(1)) if skipped else 0, "seconds": seconds,
            "peak_mib": peak / 1024, "tables": (open(out, "rb").read(), open(hits, "rb").read())}


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("kadrel")
    parser.add_argument("--references", type=int, default=20000)
    parser.add_argument("--queries", type=int, default=200)
    parser.add_argument("--t", default="0.01,0.03,0.05,0.1")
    parser.add_argument("--exhaustive-at", default="0.03")
    parser.add_argument("--aligner", default="builtin")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--work")
    args = parser.parse_args()
    work = args.work or tempfile.mkdtemp()
    if not os.path.exists(os.path.join(work, "library.fas")):
        subprocess.run([sys.executable, os.path.join(here, "identify_library.py"), str(args.references),
                        str(args.queries), work], check=True)
    pairs = args.references * args.queries
    print(f"{args.queries} queries x {args.references} references = {pairs} pairs, {args.aligner} -j {args.jobs}")
    print("T\tmode\taligned\tskipped\tshare aligned\tseconds\tpeak MiB")
    for t in (float(x) for x in args.t.split(",")):
        modes = [False] + ([True] if str(t) in args.exhaustive_at.split(",") else [])
        results = {}
        for exhaustive in modes:
            r = results[exhaustive] = run(work, t, args, exhaustive)
            print(f"{t}\t{'exhaustive' if exhaustive else 'bound'}\t{r['aligned']}\t{r['skipped']}\t"
                  f"{100 * r['aligned'] / pairs:.2f} %\t{r['seconds']:.1f}\t{r['peak_mib']:.0f}", flush=True)
        if True in results:
            same = results[True]["tables"] == results[False]["tables"]
            print(f"{t}\tsummary and hits identical: {'yes' if same else 'NO'}", flush=True)
            if not same:
                sys.exit(1)


if __name__ == "__main__":
    main()
