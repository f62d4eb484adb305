#!/usr/bin/env python3
"""The structure report checked against an independent computation.

usage: structure_check.py [--both-directions] [--sbml2crn PROGRAM] COMMAND NETWORK...

COMMAND is the program that writes the structure as JSON for a network file, given
as one word with the options it needs, e.g. "build/crninv --structure --json". A NETWORK ending in .xml or .xml.gz is an
SBML model, converted first with sbml2crn (default: build/convert/sbml2crn).
With --both-directions each network is checked a second time with every reaction
written in both directions (label_rev: products -> reactants), as an SBML model
converted with its reversible reactions split.

For each network the complexes, the linkage classes (connected components,
networkx), the strong linkage classes and which are terminal (strongly connected
components and the condensation, networkx), the exact rank of N and of each
linkage class's reaction vectors (sympy's DomainMatrix over QQ), the deficiencies
and the two reversibility flags are computed here from the file alone, and
compared with the JSON: the classes as sets of complexes, whatever their
numbering. One line per network; exit status 1 when any disagrees.
"""

import argparse
import json
import os
import re
import shlex
import subprocess
import sys
import tempfile
import time

import networkx as nx
from sympy.polys.domains import QQ
from sympy.polys.matrices import DomainMatrix

_TERM = re.compile(r"^\s*(?:(\d+)\s+)?([A-Za-z_][A-Za-z0-9_\[\]]*)\s*$")


def read_sides(path):
    """The reactions of a network file as (name, left, right), each side a
    list of (species, coefficient) as written; and the species in order."""
    species, index, reactions = [], {}, []
    with open(path, encoding="latin-1") as f:
        for line in f:
            line = line.split("#", 1)[0]
            if ";" not in line:
                if line.strip():
                    raise ValueError(f"{path}: no ';' in {line!r}")
                continue
            body = line.split(";", 1)[0]
            name = f"(reaction {len(reactions) + 1})"
            if ":" in body:
                name, body = (part.strip() for part in body.split(":", 1))
            left, right = body.split("->")
            sides = []
            for text in (left, right):
                terms = []
                for term in text.split("+") if text.strip() else []:
                    m = _TERM.match(term)
                    if m is None:
                        raise ValueError(f"{path}: term {term!r}")
                    if m.group(2) not in index:
                        index[m.group(2)] = len(species)
                        species.append(m.group(2))
                    terms.append((index[m.group(2)], int(m.group(1) or 1)))
                sides.append(terms)
            reactions.append((name, sides[0], sides[1]))
    return species, reactions


def complex_of(terms):
    total = {}
    for k, c in terms:
        total[k] = total.get(k, 0) + c
    return tuple(sorted((k, c) for k, c in total.items() if c != 0))


def rank(vectors, n_species):
    rows = {}
    for r, v in enumerate(vectors):
        entries = {k: QQ(c) for k, c in v.items() if c != 0}
        if entries:
            rows[r] = entries
    if not rows:
        return 0
    return DomainMatrix(rows, (len(vectors), n_species), QQ).rank()


def reference(species, reactions):
    """The structure computed with networkx and sympy alone."""
    arcs = [(complex_of(left), complex_of(right)) for _, left, right in reactions]
    complexes = []
    for a, b in arcs:
        complexes += [a, b]
    complexes = list(dict.fromkeys(complexes))
    undirected = nx.MultiGraph()
    undirected.add_nodes_from(complexes)
    undirected.add_edges_from(arcs)
    directed = nx.DiGraph()
    directed.add_nodes_from(complexes)
    directed.add_edges_from(arcs)
    linkage = [frozenset(c) for c in nx.connected_components(undirected)]
    strong = [frozenset(c) for c in nx.strongly_connected_components(directed)]
    condensed = nx.condensation(directed, scc=strong)
    terminal = {strong[i] for i in condensed.nodes if condensed.out_degree(i) == 0}

    def vector(a, b):
        v = dict(b)
        for k, c in a:
            v[k] = v.get(k, 0) - c
        return v

    vectors = [vector(a, b) for a, b in arcs]
    class_of = {c: i for i, cls in enumerate(linkage) for c in cls}
    per_class = [[] for _ in linkage]
    for j, (a, _) in enumerate(arcs):
        per_class[class_of[a]].append(vectors[j])
    s = rank(vectors, len(species))
    class_deficiency = {
        cls: len(cls) - 1 - rank(per_class[i], len(species)) for i, cls in enumerate(linkage)
    }
    arc_set = set(arcs)
    return {
        "complexes": set(complexes),
        "linkage": set(linkage),
        "strong": set(strong),
        "terminal": terminal,
        "rank": s,
        "deficiency": len(complexes) - len(linkage) - s,
        "class_deficiency": class_deficiency,
        "reversible": all((b, a) in arc_set for a, b in arcs),
        "weakly_reversible": len(strong) == len(linkage),
    }


def from_json(doc):
    """The same facts read from the program's JSON."""
    index = {s["name"]: s["index"] for s in doc["species"]}
    complexes = [tuple(sorted((index[name], k) for name, k in c.items()))
                 for c in doc["complexes"]]

    def members(cls):
        return frozenset(complexes[i] for i in cls)

    strong = doc["strong_linkage_classes"]
    return {
        "complexes": set(complexes),
        "linkage": {members(c) for c in doc["linkage_classes"]},
        "strong": {members(c) for c in strong},
        "terminal": {members(strong[i]) for i in doc["terminal"]},
        "rank": doc["rank"],
        "deficiency": doc["deficiency"],
        "class_deficiency": {members(c): d["deficiency"] for c, d in
                             zip(doc["linkage_classes"], doc["linkage_class_details"])},
        "reversible": doc["reversible"],
        "weakly_reversible": doc["weakly_reversible"],
    }


def both_directions(path, directory):
    out = os.path.join(directory, os.path.basename(path).replace(".net", "") + "_both.net")
    species, reactions = read_sides(path)

    def side(terms):
        return " + ".join(f"{c} {species[k]}" for k, c in terms)

    with open(out, "w") as f:
        for name, left, right in reactions:
            f.write(f"{name}: {side(left)} -> {side(right)};\n")
            f.write(f"{name}_rev: {side(right)} -> {side(left)};\n")
    return out


def check(command, path):
    species, reactions = read_sides(path)
    start = time.monotonic()
    result = subprocess.run(shlex.split(command) + [path], capture_output=True, check=True)
    ours_seconds = time.monotonic() - start
    doc = json.loads(result.stdout)
    start = time.monotonic()
    expected = reference(species, reactions)
    python_seconds = time.monotonic() - start
    got = from_json(doc)
    differ = [key for key in expected if expected[key] != got[key]]
    sum_deficiency = sum(expected["class_deficiency"].values())
    print(
        f"{os.path.basename(path):28} S={len(species):5} R={len(reactions):5} "
        f"n={len(expected['complexes']):5} l={len(expected['linkage']):5} "
        f"strong={len(expected['strong']):5} terminal={len(expected['terminal']):5} "
        f"s={expected['rank']:5} deficiency={expected['deficiency']:4} "
        f"sum_of_class_deficiencies={sum_deficiency:4} "
        f"reversible={expected['reversible']!s:5} weakly_reversible={expected['weakly_reversible']!s:5} "
        f"ours={ours_seconds:.3f}s python={python_seconds:.1f}s "
        + ("agree" if not differ else "DISAGREE on " + ", ".join(differ))
    )
    print(f"    deficiency zero theorem: {doc['deficiency_zero_theorem']['verdict']}; "
          f"deficiency one theorem: {doc['deficiency_one_theorem']['verdict']}; "
          f"robust species: {len(doc['absolute_concentration_robustness']['species'])}")
    return not differ


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--both-directions", action="store_true")
    parser.add_argument("--sbml2crn", default="build/convert/sbml2crn")
    parser.add_argument("command")
    parser.add_argument("networks", nargs="+")
    args = parser.parse_args()
    ok = True
    with tempfile.TemporaryDirectory() as directory:
        for path in args.networks:
            if path.endswith((".xml", ".xml.gz")):
                net = os.path.join(directory, os.path.basename(path).split(".")[0] + ".net")
                with open(net, "wb") as f:
                    subprocess.run([args.sbml2crn, path], stdout=f, stderr=subprocess.DEVNULL,
                                   check=True)
                path = net
            ok = check(args.command, path) and ok
            if args.both_directions:
                ok = check(args.command, both_directions(path, directory)) and ok
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
