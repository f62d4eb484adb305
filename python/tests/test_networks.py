"""Networks into the module: from matrices in every form Python holds them
(the same network whatever the form), from the text format, and from SBML
and PNML through the converters, whose networks must be those that the
programs write."""

import os
import subprocess
import warnings

import numpy as np
import pytest
import scipy.sparse as sp

import crninv
from conftest import BINARY, SBML2CRN, SOURCE

N = [[-1, 0, 2], [1, -1, 0], [0, 1, -2], [0, 0, 0]]


def dense(net):
    return net.stoichiometry.toarray().tolist()


@pytest.mark.parametrize("form", [
    lambda: N,
    lambda: np.array(N, dtype=np.int32),
    lambda: np.array(N, dtype=np.int16),
    lambda: np.array(N, dtype=float),
    lambda: np.array(N, dtype=object),
    lambda: sp.csr_matrix(np.array(N)),
    lambda: sp.csc_matrix(np.array(N)),
    lambda: sp.coo_matrix(np.array(N)),
    lambda: sp.lil_matrix(np.array(N)),
    # Repeated entries are added up, explicit zeros left out.
    lambda: sp.coo_matrix(([-1, 1, 2, -1, -1, 2, -2, 3, -3],
                           ([0, 1, 2, 1, 2, 0, 2, 3, 3], [0, 0, 1, 1, 1, 2, 2, 2, 2])),
                          shape=(4, 3)),
])
def test_every_form_gives_the_same_network(form):
    net = crninv.Network(form(), species=["A", "B", "C", "D"], reactions=["r1", "r2", "r3"])
    assert dense(net) == N
    assert net.shape == (4, 3)
    assert net.sides("r3") == ({"C": 2}, {"A": 2})
    assert net.sides(0) == ({"A": 1}, {"B": 1})
    text = crninv.parse_network("r1: A -> B;\nr2: B -> C;\nr3: 2 C -> 2 A;\nD -> D;\n")
    assert crninv.invariants(net).flow_matrix().tolist() == \
        crninv.invariants(text).flow_matrix().tolist()


def test_names():
    net = crninv.Network([[1, -1]])
    assert net.species == ["(species 1)"] and net.reactions == ["(reaction 1)", "(reaction 2)"]
    with pytest.raises(ValueError, match="twice"):
        crninv.Network([[1], [2]], species=["A", "A"])
    with pytest.raises(ValueError, match="2 species names"):
        crninv.Network([[1]], species=["A", "B"])
    # The lists handed out are copies.
    net.species.append("X")
    assert net.species == ["(species 1)"]


@pytest.mark.parametrize("matrix, error", [
    ([[0.5]], ValueError),
    ([[float("nan")]], ValueError),
    ([[2**63]], OverflowError),
    (np.array([[2**64 - 1]], dtype=np.uint64), OverflowError),
    ([1, 2, 3], ValueError),
    ([["a"]], TypeError),
])
def test_matrices_refused(matrix, error):
    with pytest.raises(error):
        crninv.Network(matrix)


def test_same_laws_as_the_text():
    text = (SOURCE / "examples" / "hydrogen.net").read_text()
    read = crninv.parse_network(text)
    built = crninv.Network(read.stoichiometry, read.species, read.reactions)
    assert str(crninv.invariants(built)) == str(crninv.invariants(read))
    assert dense(crninv.read_network(SOURCE / "examples" / "hydrogen.net")) == dense(read)


def test_sparse_input_is_not_changed():
    m = sp.coo_matrix(([1, 1, 0], ([0, 0, 1], [0, 0, 1])), shape=(2, 2)).tocsr()
    m.has_sorted_indices = False
    before = (m.data.copy(), m.indices.copy(), m.indptr.copy())
    crninv.Network(m)
    assert all((a == b).all() for a, b in zip(before, (m.data, m.indices, m.indptr)))


def test_skipped_characters_are_warned_of():
    with pytest.warns(UserWarning, match="line 2: ignoring unexpected character '@'"):
        net = crninv.parse_network("A -> B;\n@ B -> C;\n")
    assert net.reactions == ["(reaction 1)", "(reaction 2)"]


def same_network(a, b):
    assert a.species == b.species and a.reactions == b.reactions
    assert dense(a) == dense(b)
    for j in range(len(a.reactions)):
        assert a.sides(j) == b.sides(j)


OPTIONS = {"--keep-boundary": "keep_boundary", "--leave-out-varying": "leave_out_varying",
           "--split-reversible": "split_reversible"}


def converter_cases(kind):
    """The converter's test cases that convert one file: (file, options)."""
    cases = []
    for case in sorted((SOURCE / "tests" / "convert" / kind).iterdir()):
        args = (case / "args").read_text().split() if (case / "args").exists() else None
        if args is None:
            args = [p.name for p in case.glob("input.*")]
        if not args or any(a.startswith("-") and a not in OPTIONS for a in args):
            continue
        files = [a for a in args if not a.startswith("-")]
        if len(files) == 1 and (case / files[0]).exists():
            cases.append(pytest.param(case / files[0], [a for a in args if a.startswith("-")],
                                      id=case.name))
    return cases


def converted(program, path, options, read):
    """The network that the converter program writes and the module's reader
    gives, the same; or the same refusal."""
    run = subprocess.run([program, *options, str(path)], capture_output=True)
    kwargs = {OPTIONS[o]: True for o in options}
    with warnings.catch_warnings():
        warnings.simplefilter("ignore")
        if run.returncode != 0:
            with pytest.raises(crninv.ConversionError):
                read(path, **kwargs)
            return
        net = read(path, **kwargs)
    same_network(net, crninv.parse_network(run.stdout.decode()))


@pytest.mark.skipif(not SBML2CRN, reason="sbml2crn was not built (libSBML missing)")
@pytest.mark.parametrize("path, options", converter_cases("sbml"))
def test_read_sbml_is_sbml2crn(path, options):
    converted(SBML2CRN, path, options, crninv.read_sbml)


@pytest.mark.parametrize("path, options", converter_cases("pnml"))
def test_read_pnml_is_pnml2crn(path, options):
    pnml2crn = os.path.join(os.path.dirname(BINARY), "convert", "pnml2crn")
    if not os.path.exists(pnml2crn):
        pytest.skip("pnml2crn was not built (expat or zlib missing)")
    converted(pnml2crn, path, options, crninv.read_pnml)
