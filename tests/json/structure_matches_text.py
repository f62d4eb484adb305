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
    if not c:
        return "0"
    return " + ".join((f"{k} " if k != 1 else "") + name for name, k in c.items())


def labels(prefix, indices):
    return " ".join(f"{prefix}{i + 1}" for i in indices)


def yes_no(b):
    return "yes" if b else "no"


def linkage_class_of_strong(d):
    """For each strong linkage class, the linkage class that holds it."""
    of = {}
    for l in d["linkage_class_details"]:
        for k in l["strong_linkage_classes"]:
            of[k] = l["index"]
    return [of[k] for k in range(len(d["strong_linkage_classes"]))]


def text_from(d):
    strong, linkage = d["strong_linkage_classes"], d["linkage_classes"]
    details = d["linkage_class_details"]
    out = ["Network structure:",
           f"\tspecies: {len(d['species'])}",
           f"\treactions: {len(d['reactions'])}",
           f"\tcomplexes (n): {len(d['complexes'])}",
           f"\tlinkage classes (l): {len(linkage)}",
           f"\tstrong linkage classes: {len(strong)}, terminal: {len(d['terminal'])}",
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
    out += [f"\tC{i + 1} = {complex_text(c)}" for i, c in enumerate(d["complexes"])]
    out += ["", "Reactions (reactant complex -> product complex):"]
    out += [f"\t{r['name']}: C{r['reactant'] + 1} -> C{r['product'] + 1}" for r in d["reactions"]]
    out += ["", "Linkage classes (complexes; reactions, rank, deficiency):"]
    for i, complexes in enumerate(linkage):
        l = details[i]
        count = len(l["reactions"])
        out.append(f"\tL{i + 1}: {labels('C', complexes)}; {count} "
                   f"reaction{'' if count == 1 else 's'}, rank {l['rank']}, "
                   f"deficiency {l['deficiency']}")
    out += ["", "Strong linkage classes (linkage class, terminal or not: complexes):"]
    holder = linkage_class_of_strong(d)
    for i, complexes in enumerate(strong):
        out.append(f"\tSL{i + 1} in L{holder[i] + 1}, "
                   f"{'terminal' if i in d['terminal'] else 'not terminal'}: "
                   f"{labels('C', complexes)}")
    return "\n".join(out) + "\n"


def consistent(d):
    """Empty when the classes hang together, else what does not."""
    n = len(d["complexes"])
    class_of = {}
    for key in ("linkage_classes", "strong_linkage_classes"):
        members = sorted(c for k in d[key] for c in k)
        if members != list(range(n)):
            return f"the {key} do not partition the complexes"
        class_of[key] = {c: i for i, k in enumerate(d[key]) for c in k}
    holder = linkage_class_of_strong(d)
    if any(holder[class_of["strong_linkage_classes"][c]] != class_of["linkage_classes"][c]
           for c in range(n)):
        return "a strong linkage class lies outside its linkage class"
    if d["terminal"] != sorted(set(d["terminal"])) or \
            any(not 0 <= k < len(d["strong_linkage_classes"]) for k in d["terminal"]):
        return "the terminal classes are not distinct class numbers in order"
    for r in d["reactions"]:
        cls = class_of["linkage_classes"][r["reactant"]]
        if class_of["linkage_classes"][r["product"]] != cls or \
                r["index"] not in d["linkage_class_details"][cls]["reactions"]:
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
