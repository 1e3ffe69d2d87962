"""Reads kadrel's --table and --matrix with Python's csv module (and R's read.delim where R is
installed) and checks them against the report of the same run, pair by pair, NA included, under a
locale whose decimal separator is a comma.

Usage: tables_agree.py KADREL DATA FAKE_ALIGNER_DIR"""
import csv
import os
import shutil
import subprocess
import sys
import tempfile

kadrel, data, fake = (os.path.abspath(a) for a in sys.argv[1:4])
work = tempfile.mkdtemp()
env = dict(os.environ, PATH=fake + os.pathsep + os.environ["PATH"])


def comma_locale():
    """A locale with a decimal comma: an installed one, else one made in the work folder."""
    for name in subprocess.run(["locale", "-a"], capture_output=True, text=True).stdout.split():
        if name.split(".")[0] in ("de_DE", "fr_FR", "nl_NL", "it_IT", "es_ES"):
            return name, {}
    made = os.path.join(work, "locales")
    os.makedirs(made)
    if shutil.which("localedef") is None or subprocess.run(
            ["localedef", "-i", "de_DE", "-f", "UTF-8", os.path.join(made, "de_DE.UTF-8")],
            capture_output=True).returncode not in (0, 1):
        return None, {}
    return "de_DE.UTF-8", {"LOCPATH": made}


def read_tsv(path):
    with open(path, newline="") as f:
        raw = f.read()
    assert "\r" not in raw, path + " has CR line ends"
    with open(path, newline="") as f:
        return list(csv.reader(f, delimiter="\t"))


def run(model, locale_env):
    out = {name: os.path.join(work, model + "." + name) for name in ("report", "table", "matrix")}
    subprocess.run([kadrel, "compare", os.path.join(data, "queries.fas"), os.path.join(data, "refs.fas"),
                    "-m", model, "-o", out["report"], "--no-backup", "--table", out["table"],
                    "--matrix", out["matrix"]], env=dict(env, **locale_env), cwd=work, stderr=subprocess.DEVNULL)
    with open(out["report"], newline="") as f:
        lines = f.read().split("\r\n")
    rows = [line.split("\t") for line in lines[2:lines.index("Best matches:")]]
    assert any("," in v for row in rows for v in row[2:]), "the report shows no decimal comma"
    table, matrix = read_tsv(out["table"]), read_tsv(out["matrix"])
    header = ["query", "reference", "length", "differences", "p", "gaps", "transitions", "transversions", "ts_tv"]
    assert table[0] == header + ([model] if model != "none" else []) + ["compared"], table[0]
    assert len(table) == len(rows) + 1, (len(table), len(rows))
    column = 9 if model != "none" else 4
    names2 = matrix[0][1:]
    cells = {(line[0], name2): value for line in matrix[1:] for name2, value in zip(names2, line[1:])}
    assert len(cells) == len(rows)
    na = 0
    for report_row, table_row in zip(rows, table[1:]):
        expected = [v.replace(",", ".") for v in report_row if v != ""]
        assert table_row[:-1] == expected, (table_row, report_row)
        # The denominator of p: the columns less the gap sites.
        compared = "NA" if expected[2] == "NA" else "%g" % (float(expected[2]) - float(expected[5]))
        assert table_row[-1] == compared, (table_row, report_row)
        assert cells[(report_row[0], report_row[1])] == expected[column], (report_row, matrix)
        na += expected[column] == "NA"
        for value in table_row[2:]:
            if value != "NA":
                float(value)
    assert 0 < na < len(rows), "the run should hold NA and numbers"
    if shutil.which("Rscript"):
        r = subprocess.run(["Rscript", "-e", 'a <- commandArgs(TRUE); t <- read.delim(a[1]); '
                            'm <- as.matrix(read.delim(a[2], row.names = 1, check.names = FALSE)); '
                            'cat(nrow(t), sum(is.na(t[[ncol(t)]])), sum(is.na(m)), is.numeric(m), "\\n")',
                            out["table"], out["matrix"]], capture_output=True, text=True)
        column_na = sum(row[-1] == "NA" for row in table[1:])
        assert r.stdout.split() == [str(len(rows)), str(column_na), str(na), "TRUE"], (r.stdout, r.stderr)
    print(model, "agrees:", len(rows), "pairs,", na, "NA")


name, locale_env = comma_locale()
if name is None:
    print("no decimal-comma locale can be made (localedef missing); skipped")
    sys.exit(77)
locale_env.update(LC_ALL=name)
try:
    for model in ("none", "k2p"):
        run(model, locale_env)
finally:
    shutil.rmtree(work)
