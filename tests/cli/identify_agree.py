"""kadrel identify on the bundled example library, read back as other programs read it: the
summary and --hits with Python's csv module (and R's read.delim where R is installed); every hit's
counts against compare --textbook --table of the same sets; the best references against the exact
fractions of those counts; the same tables from plain, gzip and multi-member gzip sets and under a
locale with a decimal comma.

Usage: identify_agree.py KADREL EXAMPLES_IDENTIFY_FOLDER"""
import csv
import gzip
import os
import shutil
import subprocess
import sys
import tempfile
from fractions import Fraction

kadrel, examples = (os.path.abspath(a) for a in sys.argv[1:3])
work = tempfile.mkdtemp()
queries, library = os.path.join(examples, "specimens.fas"), os.path.join(examples, "library.fas")
BLAST = "qseqid sseqid pident length mismatch gapopen qstart qend sstart send evalue bitscore".split()


def identify(q, r, tag, env=None):
    summary, hits = os.path.join(work, tag + ".summary"), os.path.join(work, tag + ".hits")
    done = subprocess.run([kadrel, "identify", q, r, "-a", "builtin", "-m", "k2p", "-o", summary, "--hits", hits],
                          env=dict(os.environ, **(env or {})), capture_output=True, text=True)
    assert done.returncode == 0, done.stderr
    return open(summary, "rb").read(), open(hits, "rb").read(), summary, hits


def rows(path):
    with open(path, newline="") as f:
        lines = [line for line in f if not line.startswith("#")]
    return list(csv.DictReader(lines, delimiter="\t"))


def comma_locale():
    for name in subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split():
        if name.split(".")[0] in ("de_DE", "fr_FR", "nl_NL"):
            return {"LC_ALL": name}
    made = os.path.join(work, "locales")
    os.makedirs(made)
    if shutil.which("localedef") is None or subprocess.run(
            ["localedef", "-i", "de_DE", "-f", "UTF-8", os.path.join(made, "de_DE.UTF-8")],
            capture_output=True).returncode not in (0, 1):
        return None
    return {"LC_ALL": "de_DE.UTF-8", "LOCPATH": made}


try:
    summary_bytes, hits_bytes, summary, hits = identify(queries, library, "plain")
    assert b"\r" not in summary_bytes + hits_bytes
    assert summary_bytes.startswith(b"# max-distance=0.1 min-overlap=100 ")
    hit_rows, summary_rows = rows(hits), rows(summary)
    with open(hits, newline="") as f:
        titles = [line for line in f if not line.startswith("#")][0].rstrip("\n").split("\t")
    assert titles == BLAST + ["p", "k2p", "compared", "coverage", "lineage"], titles
    for row in hit_rows:
        for column in BLAST[2:] + ["p", "k2p", "compared", "coverage"]:
            float(row[column])
        assert row["evalue"] == "-1" and row["bitscore"] == "0"
        assert int(row["qstart"]) <= int(row["qend"]) and int(row["sstart"]) <= int(row["send"])

    # compare --textbook counts the same pairs the same way.
    table = os.path.join(work, "table.tsv")
    subprocess.run([kadrel, "compare", queries, library, "-a", "builtin", "-m", "k2p", "--textbook", "--no-backup",
                    "-o", os.devnull, "--table", table], check=True, capture_output=True)
    counts = {}
    for row in rows(table):
        key = (row["query"].split(";")[0], row["reference"].split(";")[0].split(" ")[0])
        counts[key] = row
    for row in hit_rows:
        pair = counts[(row["qseqid"], row["sseqid"])]
        assert (row["p"], row["k2p"], row["compared"]) == (pair["p"], pair["k2p"], pair["compared"]), (row, pair)
        assert pair["compared"] == pair["length"]
    # The best references: every hit at the smallest exact fraction, in reference order.
    for line in summary_rows:
        own = [r for r in hit_rows if r["qseqid"] == line["query"]]
        assert int(line["hits"]) == len(own)
        exact = {r["sseqid"]: Fraction(int(counts[(line["query"], r["sseqid"])]["differences"]), int(r["compared"]))
                 for r in own}
        best = [s for s in exact if exact[s] == min(exact.values())] if exact else []
        assert line["best_references"] == ";".join(best), (line, exact)
        assert line["best_count"] == str(len(best))
    assert len(summary_rows) == 6 and sum(int(line["best_count"]) > 1 for line in summary_rows) >= 1

    # The same tables from a gzip file and from a stream of two gzip members.
    text = open(library, "rb").read()
    half = text.index(b">", len(text) // 2)
    packed, members = os.path.join(work, "library.fas.gz"), os.path.join(work, "members.bin")
    with open(packed, "wb") as f:
        f.write(gzip.compress(text))
    with open(members, "wb") as f:
        f.write(gzip.compress(text[:half]) + gzip.compress(text[half:]))
    for other in (packed, members):
        got = identify(queries, other, os.path.basename(other))
        assert got[:2] == (summary_bytes, hits_bytes), other

    # A decimal comma in the locale changes nothing in the files.
    env = comma_locale()
    if env is None:
        print("no decimal-comma locale can be made; that part skipped")
    else:
        assert identify(queries, library, "comma", env)[:2] == (summary_bytes, hits_bytes)

    if shutil.which("Rscript"):
        r = subprocess.run(["Rscript", "-e", 'a <- commandArgs(TRUE); h <- read.delim(a[1], comment.char = "#"); '
                            's <- read.delim(a[2], comment.char = "#"); '
                            'cat(nrow(h), is.numeric(h$pident), is.numeric(h$p), nrow(s), "\\n")', hits, summary],
                           capture_output=True, text=True)
        assert r.stdout.split() == [str(len(hit_rows)), "TRUE", "TRUE", "6"], (r.stdout, r.stderr)
    print("identify agrees:", len(summary_rows), "queries,", len(hit_rows), "hits")
finally:
    shutil.rmtree(work)
