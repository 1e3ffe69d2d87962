#!/usr/bin/env python3
"""The built-in aligner against t_coffee, measured side by side in one run.

Generates seeded barcode-like sets (650 and 1,500 bases; 2%, 10%, 20% divergence between the
two sets, and 25% at 650 bases; transition-biased substitutions, a few short indels, ragged ends on some records), runs
`kadrel compare` on them with t_coffee and with the built-in aligner, one and two jobs at once,
and prints one table: pairs per second, the ratio builtin / t_coffee, the scaling from one job to
two against a pure CPU loop's own scaling in the same run, peak memory (/usr/bin/time -v), and
how often the built-in aligner gives the same rounded p-distance and K2P distance as t_coffee.
Then the large case: 1,000 x 1,000 barcodes of 650 bases (2-20% apart), -a builtin -m k2p.
Writes bench/RESULTS.md with the date and the machine.

Usage: bench/builtin_vs_tcoffee.py [--kadrel build/bin/kadrel] [--skip-large | --large-only] [--quick]
"""
import argparse
import datetime
import multiprocessing
import os
import platform
import random
import re
import shutil
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)

BASES = "ACGT"
WEIGHTS = [0.28, 0.16, 0.17, 0.39]  # AT-rich, as animal mitochondrial barcodes are
TRANSITION = {"A": "G", "G": "A", "C": "T", "T": "C"}
TRANSVERSIONS = {"A": "CT", "G": "CT", "C": "AG", "T": "AG"}

# (length, divergence, t_coffee sample: groups of n1 x n2, builtin sample n1 x n2). The t_coffee
# sample is several small comparisons, each of its own ancestor, so that one odd record does not
# weigh on every pair.
GROUPS = 4
CLASSES = [
    (650, 0.02, (3, 4), (300, 300)),
    (650, 0.10, (3, 4), (200, 200)),
    (650, 0.20, (3, 4), (150, 150)),
    (1500, 0.02, (2, 3), (150, 150)),
    (1500, 0.10, (2, 3), (100, 100)),
    (1500, 0.20, (2, 3), (60, 60)),
    # Last, so that the sets above keep their seeds.
    (650, 0.25, (3, 4), (150, 150)),
]


def random_bases(rng, n):
    return "".join(rng.choices(BASES, WEIGHTS, k=n))


def descendant(rng, ancestor, divergence, ragged):
    """The ancestor with transition-biased substitutions at `divergence`, up to two short indels
    and, when `ragged`, a few bases cut from either end."""
    seq = []
    for base in ancestor:
        if rng.random() < divergence:
            base = TRANSITION[base] if rng.random() < 0.7 else rng.choice(TRANSVERSIONS[base])
        seq.append(base)
    for _ in range(rng.choice([0, 0, 1, 1, 2])):
        at = rng.randrange(20, len(seq) - 20)
        size = rng.choice([1, 1, 2, 3, 3])
        if rng.random() < 0.5:
            del seq[at:at + size]
        else:
            seq[at:at] = random_bases(rng, size)
    text = "".join(seq)
    if ragged:
        text = text[rng.randrange(0, 12):len(text) - rng.randrange(0, 12)]
    return text


def write_fasta(path, names, sequences):
    with open(path, "w") as out:
        for name, seq in zip(names, sequences):
            out.write(">" + name + "\n")
            for i in range(0, len(seq), 60):
                out.write(seq[i:i + 60] + "\n")


def make_sets(folder, tag, length, count1, count2, divergence_of, seed):
    """Two multiple-sequence files whose records descend from one ancestor; a record's own
    divergence from it comes from divergence_of(rng), so a pair is about the sum apart."""
    rng = random.Random(seed)
    ancestor = random_bases(rng, length)
    paths = []
    for side, count in ((1, count1), (2, count2)):
        names = ["%s_%d_%d" % (tag, side, i) for i in range(count)]
        seqs = [descendant(rng, ancestor, divergence_of(rng), rng.random() < 0.3) for _ in range(count)]
        path = os.path.join(folder, "%s_set%d.fas" % (tag, side))
        write_fasta(path, names, seqs)
        paths.append(path)
    return paths


def run_kadrel(kadrel, set1, set2, aligner, jobs, folder, extra=()):
    """Runs kadrel compare; gives (wall seconds, peak resident MB, report file)."""
    report = os.path.join(folder, "report.txt")
    timing = os.path.join(folder, "time.txt")
    command = ["/usr/bin/time", "-v", "-o", timing, kadrel, "compare", set1, set2, "-m", "k2p",
               "-a", aligner, "-j", str(jobs), "-o", report] + list(extra)
    env = dict(os.environ, LC_ALL="C")
    start = time.monotonic()
    done = subprocess.run(command, cwd=folder, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    wall = time.monotonic() - start
    if done.returncode not in (0, 1):
        sys.exit("kadrel failed (%d): %s" % (done.returncode, done.stderr))
    with open(timing) as t:
        peak_kb = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", t.read()).group(1))
    return wall, peak_kb / 1024.0, report


def report_rows(path):
    """(Seq1, Seq2) -> (p-distance text, K2P text) of a report written with -m k2p, LC_ALL=C."""
    rows = {}
    with open(path, newline="") as f:
        lines = f.read().split("\r\n")
    for line in lines[2:]:
        if line.startswith("Best matches:"):
            break
        fields = line.split("\t")
        if len(fields) >= 10:
            rows[(fields[0], fields[1])] = (fields[4], fields[9])
    return rows


def agreement(tcoffee, builtin):
    same_p = same_k = 0
    largest_p = largest_k = 0.0
    for key, (p, k) in tcoffee.items():
        bp, bk = builtin[key]
        same_p += p == bp
        same_k += k == bk
        if "NA" not in (p, bp):
            largest_p = max(largest_p, abs(float(p) - float(bp)))
        if "NA" not in (k, bk):
            largest_k = max(largest_k, abs(float(k) - float(bk)))
    n = len(tcoffee)
    return 100.0 * same_p / n, 100.0 * same_k / n, largest_p, largest_k


def spin(n):
    x = 0
    for i in range(n):
        x = (x * 31 + i) % 1000003
    return x


def cpu_loop_scaling(n=3_000_000):
    """Throughput of two processes spinning at once over one spinning alone."""
    start = time.monotonic()
    spin(n)
    one = time.monotonic() - start
    with multiprocessing.Pool(2) as pool:
        start = time.monotonic()
        pool.map(spin, [n, n])
        two = time.monotonic() - start
    return 2 * one / two


def machine():
    cpu = "unknown CPU"
    with open("/proc/cpuinfo") as f:
        for line in f:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo") as f:
        mem_gb = int(f.readline().split()[1]) / 1024 / 1024
    return "%s, %d cores, %.0f GB RAM, %s %s" % (cpu, os.cpu_count(), mem_gb, platform.system(), platform.release())


def commit():
    try:
        return subprocess.run(["git", "-C", ROOT, "rev-parse", "--short", "HEAD"], capture_output=True,
                              text=True).stdout.strip()
    except OSError:
        return "?"


def best_rate(kadrel, set1, set2, aligner, jobs, folder, pairs, repeats):
    """Best pairs/s of `repeats` runs (the machine is shared), the peak memory of the fastest and
    its report."""
    best = None
    for _ in range(repeats):
        wall, peak, report = run_kadrel(kadrel, set1, set2, aligner, jobs, folder, ["--no-backup"])
        if best is None or pairs / wall > best[0]:
            best = (pairs / wall, peak)
    return best[0], best[1], report


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--kadrel", default=os.path.join(ROOT, "build", "bin", "kadrel"))
    ap.add_argument("--skip-large", action="store_true", help="leave out the 1,000 x 1,000 case")
    ap.add_argument("--large-only", action="store_true", help="only the 1,000 x 1,000 case")
    ap.add_argument("--quick", action="store_true", help="smaller samples, for trying the script out")
    ap.add_argument("--out", default=os.path.join(HERE, "RESULTS.md"))
    args = ap.parse_args()
    kadrel = os.path.abspath(args.kadrel)
    if shutil.which("t_coffee") is None:
        sys.exit("t_coffee is not on the search path")
    started = datetime.datetime.now()
    load_before = os.getloadavg()
    work = tempfile.mkdtemp(prefix="kadrel-bench-")
    lines = []

    def say(text=""):
        print(text, flush=True)
        lines.append(text)

    results = {}
    try:
        say("| set | t_coffee pairs | t_coffee -j 1 | t_coffee -j 2 | builtin pairs | builtin -j 1 | builtin -j 2 "
            "| builtin / t_coffee (-j 1) | builtin 2 vs 1 job | CPU loop 2 vs 1 | builtin of CPU loop "
            "| peak MB t_coffee / builtin | same p | same K2P | largest p diff | largest K2P diff |")
        say("|" + "---|" * 16)
        for n, (length, divergence, small, large) in enumerate([] if args.large_only else CLASSES):
            if args.quick:
                small, large = (1, 2), (40, 40)
            tag = "L%d_d%d" % (length, round(divergence * 100))
            half = divergence / 2
            b1, b2 = make_sets(work, tag + "_b", length, large[0], large[1], lambda rng: half, 200 + n)
            tpairs, bpairs = GROUPS * small[0] * small[1], large[0] * large[1]

            tc1_wall = tc2_wall = tc_peak = 0.0
            tcoffee_rows, builtin_rows = {}, {}
            for group in range(GROUPS):
                t1, t2 = make_sets(work, "%s_t%d" % (tag, group), length, small[0], small[1], lambda rng: half,
                                   1000 * (n + 1) + group)
                wall, peak, report = run_kadrel(kadrel, t1, t2, "t_coffee", 1, work, ["--no-backup"])
                tc1_wall, tc_peak = tc1_wall + wall, max(tc_peak, peak)
                tcoffee_rows.update(report_rows(report))
                tc2_wall += run_kadrel(kadrel, t1, t2, "t_coffee", 2, work, ["--no-backup"])[0]
                builtin_rows.update(report_rows(run_kadrel(kadrel, t1, t2, "builtin", 1, work, ["--no-backup"])[2]))
            same_p, same_k, diff_p, diff_k = agreement(tcoffee_rows, builtin_rows)

            scaling = cpu_loop_scaling()
            b1_rate, b_peak, _ = best_rate(kadrel, b1, b2, "builtin", 1, work, bpairs, 5)
            b2_rate, _, _ = best_rate(kadrel, b1, b2, "builtin", 2, work, bpairs, 5)
            scaling = (scaling + cpu_loop_scaling()) / 2
            tc1_rate, tc2_rate = tpairs / tc1_wall, tpairs / tc2_wall
            ratio = b1_rate / tc1_rate
            builtin_scaling = b2_rate / b1_rate
            results[(length, round(divergence * 100))] = (ratio, builtin_scaling / scaling, same_p, diff_p)
            say("| %d b, %d%% | %d | %.2f | %.2f | %d | %.0f | %.0f | %.0f | %.2f | %.2f | %.0f%% | %.0f / %.0f "
                "| %.0f%% | %.0f%% | %.3f | %.3f |"
                % (length, round(divergence * 100), tpairs, tc1_rate, tc2_rate, bpairs, b1_rate, b2_rate, ratio,
                   builtin_scaling, scaling, 100 * builtin_scaling / scaling, tc_peak, b_peak, same_p, same_k,
                   diff_p, diff_k))
        say()
        say("Pairs per second are pairs / wall time of the whole `kadrel compare` run (reading, aligning, "
            "report); builtin runs are the best of five. The t_coffee sample is %d comparisons, each of its "
            "own ancestor. \"same p\" / \"same K2P\": share of the t_coffee sample's pairs whose p-distance / K2P "
            "distance (three decimals) the built-in aligner gives identically. CPU loop 2 vs 1: throughput of two processes spinning at once against one, measured "
            "just before and after that set's builtin runs (1.00 means the second core was taken by others)."
            % GROUPS)

        if (650, 10) in results:
            ratio, share, same_p, diff_p = results[(650, 10)]
            say()
            say("Targets at 650 bases, 10%%: builtin / t_coffee %.0f (at least 10,000: %s); same p-distance %.0f%% and "
                "largest difference %.3f (at least 80%% and at most 0.005: %s)."
                % (ratio, "met" if ratio >= 10000 else "NOT met", same_p, diff_p,
                   "met" if same_p >= 80 and diff_p <= 0.005 else "NOT met"))
            barcodes = [key for key in results if key[0] == 650]
            slowest = min(barcodes, key=lambda key: results[key][0])
            say("Builtin / t_coffee (-j 1) over the 650-base sets (%s%% apart): at least %.0f, at %d%% "
                "(at least 10,000: %s)." % (", ".join(str(d) for _, d in sorted(barcodes)), results[slowest][0],
                                             slowest[1], "met" if results[slowest][0] >= 10000 else "NOT met"))
            low = min(share for _, share, _, _ in results.values())
            say("Builtin 2 vs 1 job against the CPU loop's own scaling: at least %.0f%% in every set (target 90%%)."
                % (100 * low))
        if not args.skip_large:
            say()
            for side in ((250, 250), (1000, 1000)):
                if args.quick and side[0] > 250:
                    break
                s1, s2 = make_sets(work, "large%d" % side[0], 650, side[0], side[1],
                                   lambda rng: rng.uniform(0.01, 0.10), 300)
                wall, peak, report = run_kadrel(kadrel, s1, s2, "builtin", os.cpu_count(), work)
                size = os.path.getsize(report) / 1e6
                say("Large case %d x %d barcodes of 650 bases (2-20%% apart), `-a builtin -m k2p`, one job per "
                    "core, report and backup written: %.1f s wall, %.0f pairs/s, peak memory %.0f MB, "
                    "report %.0f MB." % (side[0], side[1], wall, side[0] * side[1] / wall, peak, size))
                if side[0] == 1000:
                    say("Targets: under 30 s: %s; under 300 MB: %s."
                        % ("met" if wall < 30 else "NOT met", "met" if peak < 300 else "NOT met"))
                os.remove(report)
    finally:
        shutil.rmtree(work, ignore_errors=True)

    load_after = os.getloadavg()
    with open(args.out, "w") as out:
        out.write("# Built-in aligner against t_coffee\n\n")
        out.write("Written by `bench/builtin_vs_tcoffee.py%s` on %s (kadrel %s).\n\n"
                  % (" --quick" if args.quick else "", started.strftime("%Y-%m-%d %H:%M"), commit()))
        out.write("Machine: %s. Load average before / after: %.1f / %.1f (the machine is shared).\n\n"
                  % (machine(), load_before[0], load_after[0]))
        out.write("\n".join(lines) + "\n")
    print("\nwritten to " + args.out)


if __name__ == "__main__":
    main()
