"""Each mode of the crninv program and the call of the module that must
print the same, and the comparison of the two on one network."""

import concurrent.futures
import time

import pytest

import crninv
from conftest import program

MODES = {
    "default": ([], lambda n, cap, p: str(crninv.invariants(n, wide=False, progress=p))),
    "wide": (["--wide"], lambda n, cap, p: str(crninv.invariants(n, progress=p))),
    "transitions": (["--transitions"], lambda n, cap, p: str(
        crninv.invariants(n, wide=False, transitions=True, progress=p))),
    "wide_json": (["--wide", "--json"], lambda n, cap, p: crninv.invariants(n, progress=p).to_json()),
    "semiflows": (["--semiflows", "--max-semiflows", "CAP"], lambda n, cap, p: str(
        crninv.semiflows(n, max_semiflows=cap, progress=p))),
    "tsemiflows": (["--transitions", "--semiflows", "--max-semiflows", "CAP"], lambda n, cap, p: str(
        crninv.semiflows(n, transitions=True, max_semiflows=cap, progress=p))),
    "moieties": (["--moieties"], lambda n, cap, p: str(crninv.conserved_moieties(n, progress=p))),
}

_networks = {}


def network(path):
    if path not in _networks:
        _networks[path] = crninv.read_network(path)
    return _networks[path]


def compare(path, mode, timeout, cap):
    """The module's text against the program's standard output for one mode;
    where the program stops on an error, the module must raise the same.
    Both stop (and the test skips) past timeout seconds; semiflows stop past
    cap of them."""
    args, call = MODES[mode]
    args = [str(cap) if a == "CAP" else a for a in args]
    net = network(path)
    deadline = time.monotonic() + timeout
    # The program runs beside the module, which releases the GIL.
    with concurrent.futures.ThreadPoolExecutor(1) as pool:
        run = pool.submit(program, *args, path, timeout=timeout)
        try:
            text, error = call(net, cap, lambda progress: time.monotonic() < deadline), None
        except crninv.Cancelled:
            text, error = None, None
        except crninv.Error as e:
            text, error = None, e
        ran = run.result()
    if ran is None or (text is None and error is None):
        pytest.skip("longer than %d s" % timeout)
    if ran.status == 0:
        assert error is None, "the program succeeded, the module raised %r" % error
        assert text == ran.stdout
    elif ran.status == 2:
        assert isinstance(error, crninv.TooManySemiflows) and error.cap == cap
    elif "Out of memory" in ran.stderr:
        pytest.skip("the program ran out of memory")
    else:
        assert isinstance(error, crninv.IntegerOverflow), ran.stderr
        assert isinstance(error, OverflowError)
        assert ran.stderr.endswith(str(error) + "\n")
