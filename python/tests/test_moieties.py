"""conserved_moieties on random networks (some with laws past 64 bits) and
on networks made by hand: every property of moieties_check, and as many laws
as the species less the rank that structure() computes on its own."""

import random
from fractions import Fraction

import numpy as np
import pytest

import crninv
from moieties_check import check_moieties, random_network


@pytest.mark.parametrize("seed", range(40))
def test_random_networks(seed):
    rng = random.Random(seed)
    n = random_network(rng, rng.randrange(1, 12), rng.randrange(0, 12), large=seed % 4 == 0)
    net = crninv.Network(n)
    m = crninv.conserved_moieties(net)
    check_moieties(net, m)
    assert len(m.laws) == net.shape[0] - crninv.structure(net).rank


def test_link_matrix_reduces_the_model():
    # A species in no reaction (X) is a law of its own, with an empty row of L.
    # A -> 2 B, B -> C: the law 2 A + B + C eliminates A.
    net = crninv.Network([[-1, 0], [2, -1], [0, 0], [0, 1]], species=["A", "B", "X", "C"])
    m = crninv.conserved_moieties(net)
    assert m.dependent == ["A", "X"] and m.independent == ["B", "C"]
    l = m.link_matrix
    assert l.shape == (4, 2) and l.dtype == object
    assert l[0].tolist() == [Fraction(-1, 2), Fraction(-1, 2)]
    assert l[2].tolist() == [0, 0]
    nr = m.reduced_stoichiometry.toarray()
    assert (np.array(l.dot(nr.astype(object)), dtype=np.int64) == net.stoichiometry.toarray()).all()
    assert m.conservation_matrix().tolist() == [[2, 1, 0, 1], [0, 0, 1, 0]]


def test_laws_past_64_bits():
    # A -> k B -> k^2 C ...: the law's first coefficient is k^4.
    k = 2**40
    n = np.zeros((5, 4), dtype=np.int64)
    for j in range(4):
        n[j, j], n[j + 1, j] = -1, k
    m = crninv.conserved_moieties(crninv.Network(n))
    assert m.laws[0].species["(species 1)"] == k**4
    assert m.link_matrix[0, 0] == Fraction(-k**3, k**4)
    with pytest.raises(OverflowError, match="sparse=True"):
        m.conservation_matrix()
    sparse = m.conservation_matrix(sparse=True)
    assert sparse.dtype == object and k**4 in list(sparse.data)


def test_no_law():
    m = crninv.conserved_moieties(crninv.parse_network("-> A;\nA -> ;\n"))
    assert m.dependent == [] and m.laws[:] == [] and m.independent == ["A"]
    assert m.link_matrix.tolist() == [[1]]
