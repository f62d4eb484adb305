"""What the conserved moieties of any network must satisfy, checked in exact
Python arithmetic from the network's own matrix: each law conserved by every
reaction, each dependent species the first of its law and in no other, the
independent species the rest in index order, N = L Nr entry by entry (L read
from the JSON document and, where it is small enough, from link_matrix), and
the same answer when the reactions come in another order."""

import json
import random
from fractions import Fraction

import numpy as np

import crninv


def rows_of(matrix):
    """A scipy.sparse matrix as a list of dicts, column -> int."""
    m = matrix.tocsr()
    return [{int(j): int(v) for j, v in zip(m.indices[m.indptr[i]:m.indptr[i + 1]],
                                             m.data[m.indptr[i]:m.indptr[i + 1]])}
            for i in range(m.shape[0])]


def link_rows(document, species_count):
    """L by rows (species index -> {independent position: Fraction}) from the
    JSON document."""
    position = {s["index"]: i for i, s in enumerate(document["independent"])}
    rows = [None] * species_count
    for s, i in position.items():
        rows[s] = {i: Fraction(1)}
    for entry in document["link_matrix"]:
        d = entry["denominator"]
        rows[entry["dependent"]["index"]] = {position[t["index"]]: Fraction(t["coefficient"], d)
                                            for t in entry["independent"]}
    return rows


def check_moieties(net, m, dense_limit=4_000_000):
    species = net.species
    index = {name: k for k, name in enumerate(species)}
    n = rows_of(net.stoichiometry)
    laws = [law.species for law in m.laws]
    assert all(not law.reactions for law in m.laws)
    for law in laws:
        change = {}
        for name, c in law.items():
            for j, v in n[index[name]].items():
                change[j] = change.get(j, 0) + c * v
        assert not any(change.values()), "a law that a reaction changes"
    assert len(m.dependent) == len(laws)
    for d, law in zip(m.dependent, laws):
        assert next(iter(law)) == d and law[d] > 0
        assert sum(d in other for other in laws) == 1, "%s eliminated by several laws" % d
    assert m.independent == [s for s in species if s not in set(m.dependent)]

    document = json.loads(m.to_json())
    assert [law["species"] for law in document["laws"]] == [
        [{"index": index[s], "name": s, "coefficient": c} for s, c in law.items()] for law in laws]
    link = link_rows(document, len(species))
    nr = rows_of(m.reduced_stoichiometry)
    assert nr == [n[index[s]] for s in m.independent]
    for k in range(len(species)):
        product = {}
        for i, l in link[k].items():
            for j, v in nr[i].items():
                product[j] = product.get(j, 0) + l * v
        assert {j: v for j, v in product.items() if v != 0} == n[k], "N != L Nr"
    if len(species) * len(m.independent) <= dense_limit:
        dense = [[Fraction(0)] * len(m.independent) for _ in species]
        for k, row in enumerate(link):
            for i, l in row.items():
                dense[k][i] = l
        assert m.link_matrix.tolist() == dense

    # The same moieties when the reactions come in another order.
    order = list(range(len(net.reactions)))
    random.Random(len(order)).shuffle(order)
    shuffled = crninv.Network(net.stoichiometry[:, order], species,
                              [net.reactions[j] for j in order])
    again = crninv.conserved_moieties(shuffled)
    assert again.dependent == m.dependent
    assert [law.species for law in again.laws] == laws
    again_document = json.loads(again.to_json())
    assert again_document["link_matrix"] == document["link_matrix"]


def random_network(rng, species, reactions, large=False):
    """A random sparse N: coefficients 1 to 3, now and then so large that the
    laws pass 64 bits."""
    n = np.zeros((species, reactions), dtype=np.int64)
    for j in range(reactions):
        for k in range(species):
            roll = rng.randrange(10)
            c = rng.randrange(1, 4)
            if large and rng.randrange(4) == 0:
                c = rng.randrange(1, 3_000_000_000)
            if roll < 2:
                n[k, j] -= c
            elif roll < 4:
                n[k, j] += c
    return n
