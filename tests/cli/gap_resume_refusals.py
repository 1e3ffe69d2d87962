#!/usr/bin/env python3
"""kadrel gap --resume refuses, with exit 2 and a message naming what differs, a backup or shard's
pairs file of another run, and leaves it byte for byte as it was, writing no output; it refuses
--resume with nothing to go on from. What the run's files do not depend on (-j) does not refuse.

Usage: gap_resume_refusals.py KADREL LIBRARY"""
import os
import shutil
import subprocess
import sys
import tempfile

from failures import finish


def main():
    kadrel, library = sys.argv[1], sys.argv[2]
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        def path(name):
            return os.path.join(tmp, name)

        def gap(*arguments):
            aligner = [] if "-a" in arguments else ["-a", "builtin"]
            return subprocess.run([kadrel, "gap", "lib.fas", *aligner, *arguments], cwd=tmp, capture_output=True, text=True)

        def keep_head(name, lines):  # a file as a kill leaves it: its first line and whole records
            with open(path(name)) as f:
                head = f.readlines()[:lines]
            with open(path(name), "w") as f:
                f.write("".join(head))

        shutil.copy(library, path("lib.fas"))
        with open(path("lib.fas")) as f:
            original = f.read()
        records = [">" + r for r in original.split(">")[1:]]
        ids = [r[1:].split(";")[0].split()[0] for r in records]
        gap("--species", "whole.tsv", "--backup", "whole.bak")
        shutil.copy(path("whole.bak"), path("gap.bak"))
        keep_head("gap.bak", 4)
        gap("--shard", "1/3", "--pairs", "s1.txt")
        keep_head("s1.txt", 3)
        with open(path("gap.bak")) as f:
            lines = f.readlines()
        with open(path("edited.bak"), "w") as f:  # record 2's line under record 3's id
            f.write("".join(lines[:2]) + lines[2].replace("\t" + ids[1] + "\t", "\t" + ids[2] + "\t"))
        with open(path("taxa.tsv"), "w") as f:
            f.write("id\tspecies\n" + "".join("%s\tOne_species\n" % i for i in ids))
        with open(path("notes.txt"), "w") as f:
            f.write("not a backup\n")
        changed = original.replace("A", "G", 1)
        reordered = records[1] + records[0] + "".join(records[2:])

        kind = "the kind of run (this is a "
        refused = [
            (["-m", "jc"], None, "differs from this command's in the model (-m) ("),
            (["--classic"], None, "in the formulas (--classic) ("),
            (["-a", "pairhmm"], None, "in the aligner (-a) ("),
            (["--to", "0.04"], None, "in the sweep (--from, --to, --by) ("),
            (["--taxonomy", "taxa.tsv"], None, "in the records' species (the headers or --taxonomy) ("),
            (["-m", "jc", "--classic"], None, "in the model (-m) and the formulas (--classic) ("),
            (["--backup", "s1.txt"], None, kind + "whole run; the file, a shard's pairs) ("),
            ([], changed, "in the library's records or their order ("),
            ([], reordered, "in the library's records or their order ("),
            (["--shard", "2/3", "--pairs", "s1.txt"], None, 'the pairs file "s1.txt" belongs to another run: '
                                                            "it differs from this command's in the shard (--shard 2/3) ("),
            (["--shard", "1/3", "--pairs", "s1.txt", "-m", "jc"], None, "in the model (-m) ("),
            (["--shard", "1/3", "--pairs", "gap.bak"], None, kind + "shard; the file, a whole run's backup) ("),
            (["--backup", "edited.bak"], None, 'the backup "edited.bak" line 3 is not record 2 "%s"' % ids[1]),
            (["--backup", "notes.txt"], None, "\"notes.txt\" is not a pairs file or backup of 'kadrel gap'"),
            (["--backup", "none.bak"], None, '--resume: there is no backup "none.bak" to go on from'),
            (["--no-backup"], None, "--resume goes on from the backup, so it cannot be used with --no-backup"),
            (["--shard", "1/3"], None, "--resume: a shard goes on from its --pairs FILE"),
            (["--join", "s1.txt"], None, "--resume: a join compares nothing"),
        ]
        kept = ("gap.bak", "s1.txt", "edited.bak", "notes.txt")
        for arguments, library_text, message in refused:
            before = {name: open(path(name), "rb").read() for name in kept}
            with open(path("lib.fas"), "w") as f:
                f.write(library_text or original)
            species = [] if "--shard" in arguments or "--join" in arguments else ["--species", "out.tsv"]
            run = gap(*arguments, *species, "--resume")
            label = " ".join(arguments) or ("the library changed" if library_text == changed else "reordered")
            if run.returncode != 2 or message not in run.stderr or run.stdout:
                failures.append("%s: status %d, %r" % (label, run.returncode, run.stderr))
            if "belongs to another run" in message and "; it was left as it is" not in run.stderr:
                failures.append("%s: the message does not say the file was left: %r" % (label, run.stderr))
            for name in kept:
                if open(path(name), "rb").read() != before[name]:
                    failures.append("%s: %s was changed" % (label, name))
            for name in ("out.tsv", "none.bak"):
                if os.path.exists(path(name)):
                    failures.append("%s: %s was written" % (label, name))
                    os.remove(path(name))
        with open(path("lib.fas"), "w") as f:
            f.write(original)
        # -j does not change a pair's distance, so a backup goes on under another.
        run = gap("-j", "1", "--species", "out.tsv", "--resume")
        if run.returncode != 0 or open(path("out.tsv")).read() != open(path("whole.tsv")).read():
            failures.append("-j 1 --resume: status %d, %r" % (run.returncode, run.stderr))
        if open(path("gap.bak"), "rb").read() != open(path("whole.bak"), "rb").read():
            failures.append("-j 1 --resume: the backup is not the uninterrupted run's")
    return finish(failures)


if __name__ == "__main__":
    sys.exit(main())
