"""Runs the README's recipes for --table and --matrix (R, Python's csv module, pandas) on a run
whose names repeat, include records named NA and a name in quotes, with failed and skipped pairs,
and checks what each recipe reads against the report of that run.

Usage: table_recipes.py KADREL FAKE_ALIGNER_DIR README
Exit status 77 (skipped) when R or pandas is missing, after checking the others."""
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile

kadrel, fake, readme = (os.path.abspath(a) for a in sys.argv[1:4])
work = tempfile.mkdtemp()

# File name -> sequence. The same file name on both sides is a skipped pair (NA.fas, dup.fas);
# "dup.txt" and "dup.seq" repeat the name "dup"; NOOUTPUT makes the stand-in aligner fail.
SETS = {
    "q": {"NA.fas": "ACGTACGTACGTAAAA", "dup.fas": "ACGTACGTACGTAACA", "dup.txt": "ACGTACGTACGTAAGA",
          "broken.fas": "ACGNOOUTPUTTAAGA"},
    "r": {"NA.fas": "ACGTACGTACGTTAAA", "dup.fas": "ACGTACGTACCTAAAA", "dup.seq": "ACGTACGTTCGTAAAA",
          'say "hi".fas': "ACGAACGTACGTAAAA"},
}
for side, files in SETS.items():
    os.makedirs(os.path.join(work, side))
    for name, sequence in files.items():
        with open(os.path.join(work, side, name), "w") as f:
            f.write(">x\n" + sequence + "\n")

subprocess.run([kadrel, "compare", "q", "r", "-m", "k2p", "-o", "report.txt", "--no-backup", "--table",
                "pairs.tsv", "--matrix", "matrix.tsv"], cwd=work, stderr=subprocess.DEVNULL,
               env=dict(os.environ, PATH=fake + os.pathsep + os.environ["PATH"], LC_ALL="C"))


def listed(side):
    """A folder's files in the order that fixes record positions."""
    return sorted(SETS[side], key=lambda name: (name.lower(), name.encode()))


def value(text):
    return None if text == "NA" else float(text)


# What every recipe must read: the report's rows, with a row of missing values for each skipped
# pair, in loop order; and the matrix of the model's distances.
with open(os.path.join(work, "report.txt"), newline="") as f:
    lines = f.read().split("\r\n")
rows = iter(line.split("\t") for line in lines[2:lines.index("Best matches:")])
expected_pairs, expected_matrix = [], []
for file1 in listed("q"):
    expected_matrix.append([])
    for file2 in listed("r"):
        names = [file1[:-4], file2[:-4]]
        if file1 == file2:
            expected_pairs.append(names + [None] * 9)
        else:
            row = next(rows)
            assert row[:2] == names, (row, names)
            values = [value(v) for v in row[2:]]
            # The table's last column, the denominator of p: the length less the gap sites.
            compared = None if values[0] is None else values[0] - values[3]
            expected_pairs.append(names + values + [compared])
        expected_matrix[-1].append(expected_pairs[-1][-2])
assert next(rows, None) is None
queries = [name[:-4] for name in listed("q")]
references = [name[:-4] for name in listed("r")]
assert queries.count("dup") == 2 and "NA" in queries and 'say "hi"' in references
assert sum(row[2] is None for row in expected_pairs) == 6  # four failed, two skipped


def recipe(language, marker=None, without=None):
    """The README's code block in that language in its tables section, with or without a word."""
    with open(readme) as f:
        text = f.read()
    section = text[text.index("### Tables for other programs"):]
    section = section[:section.index("\n### ")]
    for block in re.findall(r"```" + language + r"\n(.*?)```", section, re.S):
        if (marker is None or marker in block) and (without is None or without not in block):
            return block
    raise AssertionError("README has no " + language + " recipe for the tables")


def same(read, expected, what):
    """Values equal, missing ones missing; names equal and never missing."""
    assert len(read) == len(expected), (what, len(read), len(expected))
    for got, want in zip(read, expected):
        for g, w in zip(got, want):
            ok = (g is None) if w is None else (g == w if isinstance(w, str) else isinstance(g, float) and g == w)
            assert ok and len(got) == len(want), (what, got, want)


skipped = []
if shutil.which("Rscript"):
    dump = r'''
show <- function(x) ifelse(is.na(x), "<missing>", x)
number <- function(x) ifelse(is.na(x), "None", sprintf("%.17g", x))
for (i in seq_len(nrow(pairs))) {
    cat("P", show(pairs[i, 1]), show(pairs[i, 2]), sapply(pairs[i, -(1:2)], number), sep = "\t"); cat("\n")
}
cat("Q", show(rownames(distances)), sep = "\t"); cat("\n")
cat("R", show(colnames(distances)), sep = "\t"); cat("\n")
for (i in seq_len(nrow(distances))) { cat("D", number(distances[i, ]), sep = "\t"); cat("\n") }
'''
    script = os.path.join(work, "recipe.R")
    with open(script, "w") as f:
        f.write(recipe("r") + dump)
    r = subprocess.run(["Rscript", script], cwd=work, capture_output=True, text=True)
    assert r.returncode == 0, r.stderr
    out = [line.split("\t") for line in r.stdout.split("\n") if line]
    parse = lambda fields: [None if v == "None" else float(v) for v in fields]
    r_pairs = [f[1:3] + parse(f[3:]) for f in out if f[0] == "P"]
    assert all("<missing>" not in f for f in out), r.stdout
    same(r_pairs, expected_pairs, "R pairs")
    assert [f[1:] for f in out if f[0] == "Q"] == [queries], r.stdout
    assert [f[1:] for f in out if f[0] == "R"] == [references], r.stdout
    same([parse(f[1:]) for f in out if f[0] == "D"], expected_matrix, "R matrix")
    print("R reads", len(r_pairs), "pairs and the", len(queries), "x", len(references), "matrix")
else:
    skipped.append("R (apt-get install r-base-core)")

previous = os.getcwd()
os.chdir(work)
try:
    read = {}
    exec(recipe("python", without="pandas"), read)
    same(read["pairs"], expected_pairs, "csv pairs")
    assert read["queries"] == queries and read["references"] == references, (read["queries"], read["references"])
    same(read["distances"], expected_matrix, "csv matrix")
    print("the csv module reads", len(read["pairs"]), "pairs and the matrix")
    # Debian's pandas is for Debian's python3, which need not be the one running this.
    python = next((p for p in (sys.executable, "/usr/bin/python3") if os.path.exists(p) and subprocess.run(
        [p, "-c", "import pandas"], capture_output=True).returncode == 0), None)
    if python is None:
        skipped.append("pandas (apt-get install python3-pandas)")
    else:
        dump = """
import json, math
no_nan = lambda values: [None if isinstance(v, float) and math.isnan(v) else v for v in values]
print(json.dumps({"pairs": [list(r[:2]) + no_nan(list(r[2:])) for r in pairs.itertuples(index=False)],
                  "queries": list(distances.index), "references": list(distances.columns),
                  "distances": [no_nan(list(r)) for r in distances.itertuples(index=False)]}))
"""
        r = subprocess.run([python, "-c", recipe("python", marker="pandas") + dump], capture_output=True, text=True)
        assert r.returncode == 0, r.stderr
        read = json.loads(r.stdout)
        same(read["pairs"], expected_pairs, "pandas pairs")
        assert read["queries"] == queries and read["references"] == references, (read["queries"], read["references"])
        same(read["distances"], expected_matrix, "pandas matrix")
        print("pandas reads", len(read["pairs"]), "pairs and the matrix")
finally:
    os.chdir(previous)
    shutil.rmtree(work)
if skipped:
    print("not checked, missing:", ", ".join(skipped))
    sys.exit(77)
