#!/usr/bin/env python3
"""Checks that crninv --json parses and holds exactly the rows of the report.

usage: matches_report.py CRNINV NETWORK... (each NETWORK may be followed by
options, as "file.net:--wide:--transitions")

For each network: the text report and the JSON document, with the same
options; every row of the JSON, written back as the report writes it, must
give the report byte for byte. Exit status 0 when all agree, 1 otherwise,
77 when no network was found.
"""
import json
import os
import subprocess
import sys


def line(row, first_key, second_key):
    terms = row[first_key] + row[second_key]
    return "\t" + "".join(f"{'+' if t['coefficient'] >= 0 else ''}{t['coefficient']} {t['name']} "
                          for t in terms) + "\n"


def check(crninv, path, options):
    text = subprocess.run([crninv, *options, path], capture_output=True, check=True).stdout
    document = json.loads(subprocess.run([crninv, *options, "--json", path],
                                         capture_output=True, check=True).stdout)
    transitions = "--transitions" in options
    first, second = ("species", "reactions") if transitions else ("reactions", "species")
    names = {key: [entry["name"] for entry in document[key]] for key in ("species", "reactions")}
    for key in ("species", "reactions"):
        if [entry["index"] for entry in document[key]] != list(range(len(names[key]))):
            return f"{key} not listed by index"
    headings = (["Flows (no net change):\n", "\nInequalities (remove species, one-signed change):\n",
                 "\nIrreducible:\n"] if transitions else
                ["Flows (== constant):\n", "\nInequalities (remove reactions, <= constant):\n",
                 "\nIrreducible:\n"])
    rebuilt = ""
    for heading, key in zip(headings, ("flows", "inequalities", "irreducible")):
        rebuilt += heading
        for row in document[key]:
            for block in (first, second):
                for term in row[block]:
                    if names[block][term["index"]] != term["name"]:
                        return f"term {term} misnamed"
            rebuilt += line(row, first, second)
    return None if rebuilt.encode() == text else "rows differ from the report"


def main():
    crninv, runs = sys.argv[1], sys.argv[2:]
    checked = failed = 0
    for run in runs:
        path, *options = run.split(":")
        if not os.path.exists(path):
            continue
        problem = check(crninv, path, options)
        checked += 1
        if problem:
            failed += 1
            print(f"{run}: {problem}")
    print(f"{checked} networks checked, {failed} failed")
    sys.exit(77 if checked == 0 else 1 if failed else 0)


if __name__ == "__main__":
    main()
