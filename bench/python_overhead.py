#!/usr/bin/python3
"""What the Python module adds to the library, on the networks the module's
users bring:

1. invariants(): crninv.invariants on a Network already built, against the
   library's own call timed in C++ on the same network in the same process
   (crninv._crninv._library_seconds), runs interleaved, medians compared (iJO1366 by
   default: at most 10 % more);
2. Network(matrix): a scipy.sparse matrix of 100,000 nonzeros made a
   Network (under 50 ms);
3. memory: the peak resident memory (/usr/bin/time -v) of a process that
   computes the invariants of a large net and hands its results to Python
   in each form, against the program's and the library's own; the results
   are in C++ once, and each form adds one copy of its own, no more.

    PYTHONPATH=build/python bench/python_overhead.py [--runs 11] [--shared ../shared]

Run it on a quiet machine: the figures are medians, but two cores shared
with other work move them."""

import argparse
import os
import pathlib
import random
import re
import statistics
import subprocess
import sys
import time

import numpy as np
import scipy.sparse as sp

import crninv

HERE = pathlib.Path(__file__).resolve().parent


def overhead(net, runs, wide):
    library, module = [], []
    crninv.invariants(net, wide=wide)  # warm
    for _ in range(runs):
        library.append(crninv._crninv._library_seconds(net, wide=wide))
        start = time.perf_counter()
        result = crninv.invariants(net, wide=wide)
        module.append(time.perf_counter() - start)
        del result  # freed outside the time, as the library's own result is
    return statistics.median(library), statistics.median(module)


def from_sparse(runs, nonzeros=100_000, shape=(20_000, 30_000)):
    rng = np.random.default_rng(1)
    rows = rng.integers(0, shape[0], nonzeros)
    columns = rng.integers(0, shape[1], nonzeros)
    values = rng.integers(1, 4, nonzeros) * rng.choice([-1, 1], nonzeros)
    m = sp.csr_matrix((values, (rows, columns)), shape=shape)
    m.sum_duplicates()
    times = []
    for _ in range(runs):
        start = time.perf_counter()
        crninv.Network(m)
        times.append(time.perf_counter() - start)
    return m.nnz, statistics.median(times), min(times)


# Each scenario is run in a process of its own, under /usr/bin/time -v.
SCENARIOS = {
    "read only": "net = crninv.read_network(path)",
    "invariants, kept in C++": "net = crninv.read_network(path); r = crninv.invariants(net)",
    "str(result)": "net = crninv.read_network(path); r = crninv.invariants(net); t = str(r)",
    "to_json()": "net = crninv.read_network(path); r = crninv.invariants(net); t = r.to_json()",
    "every row as dicts": ("net = crninv.read_network(path); r = crninv.invariants(net); "
                           "rows = [list(s) for s in (r.flows, r.inequalities, r.irreducible)]"),
    "flows as scipy.sparse": ("net = crninv.read_network(path); r = crninv.invariants(net); "
                              "m = r.flow_matrix(sparse=True)"),
}


def peak_kb(command):
    run = subprocess.run(["/usr/bin/time", "-v", *command], capture_output=True, text=True)
    if run.returncode != 0:
        raise RuntimeError(run.stderr[-2000:])
    return int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", run.stderr).group(1))


def memory(path, program):
    table = [("crninv --wide (the program)", peak_kb([program, "--wide", str(path)]))]
    for name, code in SCENARIOS.items():
        script = "import crninv, sys; path = sys.argv[1]; " + code
        table.append((name, peak_kb([sys.executable, "-c", script, str(path)])))
    sizes = subprocess.run(
        [sys.executable, "-c",
         "import crninv, sys; r = crninv.invariants(crninv.read_network(sys.argv[1])); "
         "n = r.flows, r.inequalities, r.irreducible; "
         "print(len(str(r)), len(r.to_json()), sum(len(s) for s in n))", str(path)],
        capture_output=True, text=True, check=True).stdout.split()
    return table, [int(s) for s in sizes]


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--runs", type=int, default=11)
    parser.add_argument("--shared", default=str(HERE.parent.parent / "shared"))
    parser.add_argument("--network", default="nets/iJO1366.net",
                        help="for the time of invariants(), below --shared")
    parser.add_argument("--large", default="nets/mcc-large/ViralEpidemic-PT-S08D1C2A04.net",
                        help="for the memory, below --shared")
    parser.add_argument("--program", default=str(HERE.parent / "build" / "crninv"))
    args = parser.parse_args()
    shared = pathlib.Path(args.shared)

    path = shared / args.network
    if not path.exists():
        path = HERE.parent / "tests" / "data" / "nets" / pathlib.Path(args.network).name
    net = crninv.read_network(path)
    print("1. invariants() on %s (%d species, %d reactions), medians of %d runs:"
          % (path.name, *net.shape, args.runs))
    for wide in (True, False):
        library, module = overhead(net, args.runs, wide)
        print("   wide=%-5s library %8.2f ms   crninv.invariants %8.2f ms   %+5.1f %%"
              % (wide, library * 1e3, module * 1e3, 100 * (module / library - 1)))

    nonzeros, median, best = from_sparse(args.runs)
    print("2. Network(scipy.sparse csr_matrix, %d nonzeros): median %.2f ms, best %.2f ms"
          % (nonzeros, median * 1e3, best * 1e3))

    large = shared / args.large
    if not large.exists():
        print("3. memory: %s is missing" % large)
        return
    table, (text, document, rows) = memory(large, args.program)
    print("3. peak resident memory on %s (report %.1f MB, JSON %.1f MB, %d rows):"
          % (large.name, text / 1e6, document / 1e6, rows))
    for name, kb in table:
        print("   %-30s %8.1f MB" % (name, kb / 1024))


if __name__ == "__main__":
    main()
