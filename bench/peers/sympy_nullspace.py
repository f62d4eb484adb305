#!/usr/bin/env python3
"""Exact null space of the transposed stoichiometric matrix with sympy.

usage: sympy_nullspace.py [--method domain|matrix] [--species] NETWORK

Reads the network, builds N^T (reactions x species) and computes a basis of its
null space exactly: the conservation laws. Prints

    S R flows compute_seconds

where compute_seconds covers building the sympy matrix and the null space, not
reading the file or starting Python.

--method domain (default): sympy's sparse DomainMatrix over QQ, the engine that
  sympy.Matrix.nullspace runs on internally and the fastest way to use it.
--method matrix: sympy.SparseMatrix(N^T).nullspace(), the public Matrix API.
--species: the null space of N itself instead, spanned by the T-flows.
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from netreader import read_network  # noqa: E402

import sympy  # noqa: E402
from sympy.polys.domains import QQ  # noqa: E402
from sympy.polys.matrices import DomainMatrix  # noqa: E402


def nullity(n_species, columns, method):
    rows = {}
    for r, col in enumerate(columns):
        entries = {s: c for s, c in col.items() if c != 0}
        if entries:
            rows[r] = entries
    shape = (len(columns), n_species)
    if method == "domain":
        m = DomainMatrix(
            {r: {s: QQ(c) for s, c in e.items()} for r, e in rows.items()}, shape, QQ
        )
        return m.nullspace().shape[0]
    m = sympy.SparseMatrix(
        shape[0], shape[1], {(r, s): c for r, e in rows.items() for s, c in e.items()}
    )
    return len(m.nullspace())


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--method", choices=("domain", "matrix"), default="domain")
    ap.add_argument("--species", action="store_true")
    ap.add_argument("network")
    args = ap.parse_args()
    species, reactions, columns = read_network(args.network)
    if args.species:
        # N's rows as the columns of its transpose: the same code then
        # finds the null space of N.
        transposed = [dict() for _ in species]
        for r, col in enumerate(columns):
            for s, c in col.items():
                transposed[s][r] = c
        species, reactions, columns = reactions, species, transposed
    if not species:
        print(0, len(reactions), 0, "0.000000")
        return
    t = time.perf_counter()
    flows = nullity(len(species), columns, args.method)
    if args.species:
        species, reactions = reactions, species
    print(len(species), len(reactions), flows, f"{time.perf_counter() - t:.6f}")


if __name__ == "__main__":
    main()
