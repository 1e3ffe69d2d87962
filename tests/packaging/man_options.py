#!/usr/bin/env python3
"""Holds a manual page to the program's own --help: every option --help lists must head an entry
of the page (the program's in OPTIONS, a subcommand's in the section named after it), and every
option an entry heads must still be one --help lists. With COMPLETION, the bash completion must
offer every option --help lists, too.
Usage: man_options.py PROGRAM PAGE [COMPLETION]"""
import re
import subprocess
import sys


def help_of(program, *words):
    text = subprocess.run([program, *words, "--help"], capture_output=True, text=True, check=True).stdout
    options, subcommands, block = set(), [], None
    for line in text.splitlines():
        if re.match(r"^\S.*:$", line):
            block = line
        elif block == "Options:" and re.match(r"^  -", line):
            options.update(line.split()[0].split(","))
        elif block == "Subcommands:" and line.startswith("  "):
            subcommands.append(line.split()[0])
    return options, subcommands


def entry_heads(page):
    """The options heading the .TP entries of each section, roff escapes undone."""
    heads, section, after_tp = {}, None, False
    for line in open(page, encoding="utf-8"):
        line = line.rstrip("\n")
        if line.startswith(".SH "):
            section = line[4:].strip('"').upper()
            heads.setdefault(section, set())
        elif line.startswith(".TP"):
            after_tp = True
        elif after_tp:
            after_tp = False
            plain = re.sub(r"\\f[BIRP]", "", line).replace("\\-", "-")
            heads[section].update(re.findall(r"(?<![\w-])(--?[A-Za-z][\w-]*)", plain))
    return heads


def main(program, page, completion=None):
    heads = entry_heads(page)
    offered = set(re.findall(r"(?<![\w-])--?[A-Za-z][\w-]*", open(completion).read())) if completion else None
    common = heads.get("OPTIONS", set())
    options, subcommands = help_of(program)
    problems = [f"{page}: OPTIONS lacks {o}" for o in sorted(options - common)]
    problems += [f"{page}: OPTIONS has {o}, which --help does not list" for o in sorted(common - options)]
    every = set(options)
    for sub in subcommands:
        listed, _ = help_of(program, sub)
        every |= listed
        documented = heads.get(sub.upper())
        if documented is None:
            problems.append(f"{page}: no section {sub.upper()} for '{sub}'")
            continue
        problems += [f"{page}: {sub.upper()} lacks {o}" for o in sorted(listed - documented - common)]
        problems += [f"{page}: {sub.upper()} has {o}, which '{sub} --help' does not list"
                     for o in sorted(documented - listed)]
    if offered is not None:
        problems += [f"{completion}: does not offer {o}" for o in sorted(every - offered)]
    print("\n".join(problems) or f"{page}: every option of {len(subcommands)} subcommands documented")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
