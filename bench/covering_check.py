#!/usr/bin/env python3
"""Checks crninv --covering on a network apart from the library.

    covering_check.py CRNINV NET [CAP]

Reads the network text itself, then for the species and the reactions:
the certificate of --covering --json has positive integer coefficients,
is a semiflow (y N = 0, or N x = 0) in Python's exact integers, and its
support is the covered set; where --semiflows (with --transitions for the
reactions) lists every minimal semiflow within CAP (default 100000), the
covered set is the union of their supports. Prints one line; exit status 1
when a check fails.
"""
import json
import re
import subprocess
import sys

LIMIT = 120  # seconds for each list of minimal semiflows
TERM = re.compile(r"^\s*(\d*)\s*([A-Za-z_][A-Za-z0-9_\[\]]*)\s*$")


def read_network(path):
    """The net change of each reaction, {species: coefficient}, in file order."""
    reactions = []
    with open(path) as f:
        for line in f:
            line = line.split("#", 1)[0]
            if ";" not in line:
                continue
            body = line.split(";", 1)[0]
            if ":" in body.split("->", 1)[0]:
                body = body.split(":", 1)[1]
            left, right = body.split("->", 1)
            change = {}
            for side, sign in ((left, -1), (right, 1)):
                for term in filter(str.strip, side.split("+")):
                    match = TERM.match(term)
                    coefficient = int(match.group(1)) if match.group(1) else 1
                    name = match.group(2)
                    change[name] = change.get(name, 0) + sign * coefficient
            reactions.append(change)
    return reactions


def run(command, limit=None):
    try:
        done = subprocess.run(command, capture_output=True, text=True, timeout=limit)
    except subprocess.TimeoutExpired:
        return None, ""
    return done.returncode, done.stdout


def check_certificate(side, names, reactions, species_names):
    """None when the certificate holds, else what is wrong."""
    terms = side["certificate"]
    if any(t["coefficient"] <= 0 for t in terms):
        return "a coefficient not positive"
    if sorted(t["index"] for t in terms) != side["covered"]:
        return "support is not the covered set"
    if names == "species":
        weight = {species_names[t["index"]]: t["coefficient"] for t in terms}
        for change in reactions:
            if sum(weight.get(s, 0) * c for s, c in change.items()) != 0:
                return "y N is not 0"
    else:
        total = {}
        for t in terms:
            for s, c in reactions[t["index"]].items():
                total[s] = total.get(s, 0) + t["coefficient"] * c
        if any(total.values()):
            return "N x is not 0"
    return None


def union_of_minimal(crninv, net, transitions, cap):
    command = [crninv, "--semiflows", "--max-semiflows", str(cap), "--json", net]
    if transitions:
        command.insert(1, "--transitions")
    status, out = run(command, LIMIT)
    if status != 0:
        return None
    union = set()
    key = "reactions" if transitions else "species"
    for semiflow in json.loads(out)["semiflows"]:
        union.update(t["index"] for t in semiflow[key])
    return sorted(union)


def main():
    crninv, net = sys.argv[1], sys.argv[2]
    cap = int(sys.argv[3]) if len(sys.argv) > 3 else 100000
    status, out = run([crninv, "--covering", "--json", net])
    if status != 0:
        print(f"{net}: --covering exit status {status}")
        return 1
    report = json.loads(out)
    species_names = [s["name"] for s in report["species"]]
    reactions = read_network(net)
    failed = False
    words = []
    for names, transitions in (("species", False), ("reactions", True)):
        side = report["covering"][names]
        wrong = check_certificate(side, names, reactions, species_names)
        union = union_of_minimal(crninv, net, transitions, cap)
        if union is None:
            listed = "no complete list"
        elif union == side["covered"]:
            listed = "= union of minimal"
        else:
            listed = "DIFFERS from union of minimal"
            failed = True
        failed |= wrong is not None
        words.append(f"{names} {len(side['covered'])} covered, certificate "
                     f"{wrong or 'checked'}, {listed}")
    print(f"{net}: " + "; ".join(words))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
