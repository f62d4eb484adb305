"""The structural analyses in Python: str() is the program's text for
--structure, --siphons, --traps and --covering, to_json() its --json, and
the Python values say what the text says, checked against the definitions
on the network itself."""

import json

import numpy as np
import pytest

import crninv
from conftest import SOURCE, program

NETS = [SOURCE / "examples" / n for n in ("hydrogen.net", "enzyme.net", "cycle.net")] + [
    SOURCE / "tests" / "data" / "nets" / n
    for n in ("mini.net", "e_coli_core.net", "mcc/Raft-PT-02.net", "mcc/ProductionCell-PT-none.net")]

ANALYSES = {
    "--structure": crninv.structure,
    "--siphons": crninv.siphons,
    "--traps": crninv.traps,
    "--covering": crninv.covering,
}


@pytest.mark.parametrize("option", sorted(ANALYSES))
@pytest.mark.parametrize("path", NETS, ids=lambda p: p.name)
def test_same_as_program(path, option):
    result = ANALYSES[option](crninv.read_network(path))
    for args, text in (([option], str(result)), ([option, "--json"], result.to_json())):
        run = program(*args, path)
        assert run.status == 0 and run.stdout == text


@pytest.mark.parametrize("path", NETS, ids=lambda p: p.name)
def test_values_follow_the_definitions(path):
    net = crninv.read_network(path)
    n = net.stoichiometry.toarray()
    s = crninv.structure(net)
    assert s.rank == np.linalg.matrix_rank(n.astype(float))
    assert s.deficiency == len(s.complexes) - len(s.linkage_classes) - s.rank
    for j, (reactant, product) in enumerate(s.reaction_complexes):
        sides = net.sides(j)
        assert {k: v for k, v in sides[0].items() if v} == s.complexes[reactant]
        assert {k: v for k, v in sides[1].items() if v} == s.complexes[product]
    assert s.deficiency_zero["outcome"] in ("not applicable", "no positive equilibrium",
                                            "unique stable equilibrium")

    def producers_consume(found, kind):
        for members in found:
            members = set(members)
            for j in range(len(net.reactions)):
                left, right = ({k for k, v in side.items() if v} for side in net.sides(j))
                made, used = (right, left) if kind == "siphon" else (left, right)
                if made & members:
                    assert used & members, (kind, members, net.reactions[j])

    siphons, traps = crninv.siphons(net), crninv.traps(net)
    producers_consume(siphons, "siphon")
    producers_consume(traps, "trap")
    assert traps.persistence is None and traps.traps
    p = siphons.persistence
    assert p["persistent"] == (p["criterion"] and p["conservative"])

    c = crninv.covering(net)
    y = np.array([c.species_certificate.get(name, 0) for name in net.species], dtype=object)
    assert not (y.dot(n.astype(object))).any()
    assert sorted(c.species_certificate) == sorted(c.species)
    assert c.conservative == (len(c.species) == len(net.species))
    x = np.array([c.reaction_certificate.get(name, 0) for name in net.reactions], dtype=object)
    assert not (n.astype(object).dot(x)).any()
    assert json.loads(c.to_json())["covering"]["species"]["conservative"] == c.conservative


@pytest.mark.parametrize("path", NETS, ids=lambda p: p.name)
def test_json_members_scripts_read(path):
    """The members a script reads, in the shapes it reads them, say what
    the Python values say."""
    net = crninv.read_network(path)
    s = crninv.structure(net)
    d = json.loads(s.to_json())
    assert d["complexes"] == s.complexes
    assert d["linkage_classes"] == [sorted(k) for k in d["linkage_classes"]]
    assert len(d["linkage_classes"]) == len(s.linkage_classes)
    assert sorted(c for k in d["strong_linkage_classes"] for c in k) == list(range(len(s.complexes)))
    # Terminal: no reaction leaves the class.
    strong_of = {c: i for i, k in enumerate(d["strong_linkage_classes"]) for c in k}
    leaves = {strong_of[a] for a, b in s.reaction_complexes if strong_of[a] != strong_of[b]}
    assert d["terminal"] == [i for i in range(len(d["strong_linkage_classes"])) if i not in leaves]
    assert (d["rank"], d["deficiency"], d["weakly_reversible"]) == (
        s.rank, s.deficiency, s.weakly_reversible)

    for kind, found in (("siphons", crninv.siphons(net)), ("traps", crninv.traps(net))):
        listed = json.loads(found.to_json())[kind]
        assert all(names == sorted(names) for names in listed)
        assert sorted(map(sorted, listed)) == sorted(sorted(f) for f in found)

    c = crninv.covering(net)
    d = json.loads(c.to_json())
    assert d["covered_species"] == sorted(c.species)
    assert d["covered_reactions"] == sorted(c.reactions)
    assert (d["conservative"], d["consistent"]) == (c.conservative, c.consistent)


def test_threads_change_nothing_but_the_time():
    """threads bounds the solvers at work; the sets do not depend on it (the
    sharing itself is tested on the library, where it can be made to
    happen early)."""
    text = "".join(f"p{i} + q{i} -> p{(i + 1) % 11} + q{(i + 1) % 11};\n" for i in range(11))
    net = crninv.parse_network(text)
    alone = crninv.siphons(net, threads=1)
    assert len(alone) == 2048
    for threads in (2, 3):
        assert str(crninv.siphons(net, threads=threads)) == str(alone)
        assert str(crninv.traps(net, threads=threads)) == str(crninv.traps(net, threads=1))
    with pytest.raises(ValueError):
        crninv.siphons(net, threads=0)
