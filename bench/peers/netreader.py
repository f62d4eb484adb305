#!/usr/bin/env python3
"""Reader of crninv's network format for the benchmark peers.

read_network(path) returns (species, reactions, columns): the species names in
order of first appearance, the reaction names (label or "(reaction N)"), and
for each reaction a dict {species index: net coefficient}.

The format: one reaction per ';', "label:" optional, terms "[coefficient] name"
joined by '+', sides separated by "->"; '#' starts a comment and the rest of a
line after ';' is ignored. The benchmark inputs are well-formed, so this reader
stops with an error on anything else instead of mimicking crninv's messages.

Run as a script, `netreader.py NET OUT` writes the transposed stoichiometric
matrix (reactions x species) to OUT in 4ti2's matrix format ("rows cols" and
then the rows) and prints "S R" on standard output; `netreader.py --species NET
OUT` writes the stoichiometric matrix itself (species x reactions), whose null
space the T-flows span.
"""

import re
import sys

_TOKEN = re.compile(
    r"(?P<ws>[ \t\r\n]+)|(?P<comment>#[^\n]*)"
    r"|(?P<id>[A-Za-z_][A-Za-z0-9_\[\]]*)|(?P<int>[0-9]+)"
    r"|(?P<arrow>->)|(?P<punct>[+:;])"
)


def tokens(text):
    """Yields (kind, text) pairs; kind is 'id', 'int', '->', '+', ':' or ';'."""
    pos, end = 0, len(text)
    while pos < end:
        m = _TOKEN.match(text, pos)
        if m is None:
            line = text.count("\n", 0, pos) + 1
            raise ValueError(f"line {line}: unexpected character {text[pos]!r}")
        pos = m.end()
        kind = m.lastgroup
        if kind in ("ws", "comment"):
            continue
        if kind == "punct":
            kind = m.group()
            if kind == ";":  # the rest of the line is not read
                nl = text.find("\n", pos)
                pos = end if nl < 0 else nl
        elif kind == "arrow":
            kind = "->"
        yield kind, m.group()


def read_network(path):
    with open(path, "r", encoding="latin-1") as f:
        text = f.read()
    species, index, reactions, columns = [], {}, [], []

    def sp(name):
        i = index.get(name)
        if i is None:
            i = index[name] = len(species)
            species.append(name)
        return i

    toks = list(tokens(text))
    n, i = len(toks), 0
    while i < n:
        name = f"(reaction {len(reactions) + 1})"
        if i + 1 < n and toks[i][0] == "id" and toks[i + 1][0] == ":":
            name = toks[i][1]
            i += 2
        col, sign = {}, -1
        while True:
            if i >= n:
                raise ValueError(f"{path}: reaction {len(reactions) + 1} not ended")
            kind, word = toks[i]
            if kind == ";":
                if sign < 0:
                    raise ValueError(f"{path}: reaction {len(reactions) + 1} has no '->'")
                i += 1
                break
            if kind == "->":
                sign = 1
            elif kind == "int" or kind == "id":
                coef = 1
                if kind == "int":
                    coef = int(word)
                    i += 1
                    if i >= n or toks[i][0] != "id":
                        raise ValueError(f"{path}: species expected after {word}")
                    word = toks[i][1]
                s = sp(word)
                col[s] = col.get(s, 0) + sign * coef
            i += 1  # '+' and ':' carry no information here
        reactions.append(name)
        columns.append(col)
    return species, reactions, columns


def write_4ti2_transposed(path, n_species, columns):
    zero = ["0"] * n_species
    with open(path, "w") as out:
        out.write(f"{len(columns)} {n_species}\n")
        for col in columns:
            row = list(zero)
            for s, c in col.items():
                row[s] = str(c)
            out.write(" ".join(row))
            out.write("\n")


def write_4ti2(path, n_species, columns):
    # Row by row from a sparse index: the dense matrix of a large net would
    # not fit in memory (S = 46,811 and R = 79,577: 3.7 G entries).
    by_species = [[] for _ in range(n_species)]
    for r, col in enumerate(columns):
        for s, c in col.items():
            by_species[s].append((r, c))
    zero = ["0"] * len(columns)
    with open(path, "w") as out:
        out.write(f"{n_species} {len(columns)}\n")
        for entries in by_species:
            row = zero[:]
            for r, c in entries:
                row[r] = str(c)
            out.write(" ".join(row))
            out.write("\n")


if __name__ == "__main__":
    args = sys.argv[1:]
    species_rows = args[:1] == ["--species"]
    if species_rows:
        args = args[1:]
    if len(args) != 2:
        sys.exit("usage: netreader.py [--species] NETWORK MATRIX_OUT")
    species, reactions, columns = read_network(args[0])
    if args[1] == "/dev/null":
        pass
    elif species_rows:
        write_4ti2(args[1], len(species), columns)
    else:
        write_4ti2_transposed(args[1], len(species), columns)
    print(len(species), len(reactions))
