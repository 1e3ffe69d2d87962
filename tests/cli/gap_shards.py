#!/usr/bin/env python3
"""kadrel gap --shard K/N and --join: the shards of a split, joined, give byte for byte the tables,
matrix and pictures of one whole run; shards missing, repeated, out of order, cut short, of another
split or run, or not shards at all are refused, naming the file.

Usage: gap_shards.py KADREL LIBRARY"""
import filecmp
import os
import subprocess
import sys
import tempfile

from failures import finish

OUTPUTS = ("--species", "--specimens", "--sweep", "--matrix", "--gap-plot", "--histogram", "--sweep-plot")


def outputs(folder, tag):
    files = []
    for option in OUTPUTS:
        files += [option, os.path.join(folder, tag + option + (".svg" if "plot" in option or "hist" in option else ".tsv"))]
    return files


def main():
    kadrel, library = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        def gap(*arguments):
            return subprocess.run([kadrel, "gap", library, "-a", "builtin", *arguments], cwd=tmp, capture_output=True, text=True)

        def shards(count, *extra):
            names = []
            for k in range(1, count + 1):
                name = "%s%d-of-%d.txt" % ("".join(extra).replace("-", ""), k, count)
                run = gap("--shard", "%d/%d" % (k, count), "--pairs", name, *extra)
                if run.returncode != 0:
                    failures.append("shard %d/%d: %s" % (k, count, run.stderr))
                names.append(name)
            return names

        whole = gap(*outputs(tmp, "whole"))
        if whole.returncode != 0:
            failures.append("the whole run: " + whole.stderr)
        for count, jobs in ((1, "1"), (3, "2"), (5, "1")):
            joined = gap("--join", *shards(count, "-j", jobs), *outputs(tmp, "join%d" % count))
            if joined.returncode != 0 or "pairs joined from %d shards" % count not in joined.stderr:
                failures.append("join of %d: %s" % (count, joined.stderr))
            for option, whole_file, join_file in zip(OUTPUTS, outputs(tmp, "whole")[1::2], outputs(tmp, "join%d" % count)[1::2]):
                if not filecmp.cmp(whole_file, join_file, shallow=False):
                    failures.append("join of %d: %s differs from the whole run's" % (count, option))
        # The species table on standard output, and the closing line's analysis, too.
        plain, joined = gap(), gap("--join", *shards(3))
        if plain.stdout != joined.stdout or plain.stderr.split("; ", 1)[1] != joined.stderr.split("; ", 1)[1]:
            failures.append("standard output or closing line differ: %r / %r" % (plain.stderr, joined.stderr))

        one, two, three = shards(3)
        jc = shards(3, "-m", "jc")
        with open(os.path.join(tmp, "cut.txt"), "w") as f, open(os.path.join(tmp, two)) as whole_two:
            f.write("".join(whole_two.readlines()[:3]))
        with open(os.path.join(tmp, "open.txt"), "w") as f, open(os.path.join(tmp, two)) as whole_two:
            lines = whole_two.readlines()
            f.write("".join(lines[:3]) + lines[3][:9])
        refused = [
            ([one, three], '"%s" is shard 3/3 where shard 2/3 comes next: that shard is missing' % three),
            ([one, two], "shard 3/3 is missing: the shards end at shard 2/3"),
            ([one, one, two, three], '"%s" is shard 1/3 again' % one),
            ([two, one, three], '"%s" is shard 2/3 where shard 1/3 comes next' % two),
            ([one, jc[1], three], '"%s" is shard 2/3 of another run than "%s"' % (jc[1], one)),
            (jc, '"%s" is shard 1/3 of another run: it holds "library %s, model jc,' % (jc[0], library)),
            ([one, shards(2)[1]], '"2-of-2.txt" is shard 2/2 and "%s" one of 3 shards' % one),
            ([one, "cut.txt", three], '"cut.txt" is incomplete: it ends before record'),
            ([one, "open.txt", three], '"open.txt" is incomplete: its last line is cut short'),
            ([one, library, three], '"%s" is not the output of \'kadrel gap --shard\'' % library),
        ]
        for given, message in refused:
            run = gap("--join", *given)
            if run.returncode != 2 or message not in run.stderr or run.stdout:
                failures.append("--join %s: status %d, %r" % (" ".join(given), run.returncode, run.stderr))
        for arguments, message in ((["--shard", "1/2", "--species", "x.tsv"], "--species: a shard writes only its pairs"),
                                   (["--pairs", "x.txt"], "--pairs: only a --shard run writes its pairs"),
                                   (["--join", one, two, three, "--matrix", two], "--matrix: \"%s\" is a shard given to --join" % two)):
            run = gap(*arguments)
            if run.returncode != 2 or message not in run.stderr:
                failures.append("%s: status %d, %r" % (" ".join(arguments), run.returncode, run.stderr))
    return finish(failures)


if __name__ == "__main__":
    sys.exit(main())
