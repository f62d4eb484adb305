#!/usr/bin/env python3
"""Checks that the structure's JSON parses and says what its text report says.

usage: structure_matches_text.py CRNINV NETWORK...

CRNINV --structure writes the text report of a network file, and its JSON with
--json added. For each network the text
report is written again from the JSON document alone and must be the text report,
byte for byte; the classes in the JSON must partition the complexes, each
complex's class must list it, and each reaction must lie in its complexes' class.
Exit status 0 when all agree, 1 otherwise, 77 when no network was found.
"""
import json
import os
import subprocess
import sys


def complex_text(c):
    if not c["terms"]:
        return "0"
    return " + ".join((f"{t['coefficient']} " if t["coefficient"] != 1 else "") + t["name"]
                      for t in c["terms"])


def labels(prefix, indices):
    return " ".join(f"{prefix}{i + 1}" for i in indices)


def yes_no(b):
    return "yes" if b else "no"


def text_from(d):
    strong, linkage = d["strong_classes"], d["linkage_classes"]
    out = ["Network structure:",
           f"\tspecies: {len(d['species'])}",
           f"\treactions: {len(d['reactions'])}",
           f"\tcomplexes (n): {len(d['complexes'])}",
           f"\tlinkage classes (l): {len(linkage)}",
           f"\tstrong linkage classes: {len(strong)}, terminal: "
           f"{sum(k['terminal'] for k in strong)}",
           f"\trank of N (s): {d['rank']}",
           f"\tdeficiency (n - l - s): {d['deficiency']}",
           f"\treversible: {yes_no(d['reversible'])}",
           f"\tweakly reversible: {yes_no(d['weakly_reversible'])}",
           "", "Deficiency zero theorem:", "\t" + d["deficiency_zero_theorem"]["text"],
           "", "Deficiency one theorem:", "\t" + d["deficiency_one_theorem"]["text"]]
    one = d["deficiency_one_theorem"]
    if one["verdict"] == "not_applicable":
        if one["classes_above_one"]:
            out.append("\tlinkage classes of deficiency above 1: "
                       + labels("L", one["classes_above_one"]))
        if one["classes_with_several_terminals"]:
            out.append("\tlinkage classes with more than one terminal strong linkage class: "
                       + labels("L", one["classes_with_several_terminals"]))
    acr = d["absolute_concentration_robustness"]
    out += ["", "Absolute concentration robustness (Shinar-Feinberg criterion):",
            "\t" + acr["text"]]
    for r in acr["species"]:
        a, b = r["complexes"]
        out.append(f"\t{r['name']}: non-terminal complexes C{a + 1} = "
                   f"{complex_text(d['complexes'][a])} and C{b + 1} = "
                   f"{complex_text(d['complexes'][b])}")
    out += ["", "Complexes:"]
    out += [f"\tC{c['index'] + 1} = {complex_text(c)}" for c in d["complexes"]]
    out += ["", "Reactions (reactant complex -> product complex):"]
    out += [f"\t{r['name']}: C{r['reactant'] + 1} -> C{r['product'] + 1}" for r in d["reactions"]]
    out += ["", "Linkage classes (complexes; reactions, rank, deficiency):"]
    for l in linkage:
        count = len(l["reactions"])
        out.append(f"\tL{l['index'] + 1}: {labels('C', l['complexes'])}; {count} "
                   f"reaction{'' if count == 1 else 's'}, rank {l['rank']}, "
                   f"deficiency {l['deficiency']}")
    out += ["", "Strong linkage classes (linkage class, terminal or not: complexes):"]
    for k in strong:
        out.append(f"\tSL{k['index'] + 1} in L{k['linkage_class'] + 1}, "
                   f"{'terminal' if k['terminal'] else 'not terminal'}: "
                   f"{labels('C', k['complexes'])}")
    return "\n".join(out) + "\n"


def consistent(d):
    """Empty when the classes hang together, else what does not."""
    n = len(d["complexes"])
    for key, of in (("linkage_classes", "linkage_class"), ("strong_classes", "strong_class")):
        members = sorted(c for k in d[key] for c in k["complexes"])
        if members != list(range(n)):
            return f"the {key} do not partition the complexes"
        for k in d[key]:
            if any(d["complexes"][c][of] != k["index"] for c in k["complexes"]):
                return f"a complex of {key} {k['index']} names another class"
    for r in d["reactions"]:
        cls = d["complexes"][r["reactant"]]["linkage_class"]
        if d["complexes"][r["product"]]["linkage_class"] != cls or \
                r["index"] not in d["linkage_classes"][cls]["reactions"]:
            return f"reaction {r['index']} is not in its complexes' linkage class"
    return ""


def main():
    command = [sys.argv[1], "--structure"]
    paths = [p for p in sys.argv[2:] if os.path.exists(p)]
    if not paths:
        return 77
    ok = True
    for path in paths:
        text = subprocess.run(command + [path], capture_output=True, check=True).stdout.decode()
        document = json.loads(subprocess.run(command + ["--json", path], capture_output=True,
                                             check=True).stdout)
        problem = consistent(document)
        if not problem and text_from(document) != text:
            problem = "the text written from the JSON differs from the report"
        if problem:
            print(f"{path}: {problem}")
            ok = False
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
