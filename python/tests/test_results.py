"""What a result gives Python: Rows made on demand that agree with the JSON
document and the matrices, exact integers past 64 bits, the text written in
pieces, the progress reported, and the GIL released while it computes."""

import io
import json
import sys
import threading
import time

import numpy as np
import pytest

import crninv
from conftest import SOURCE

NETS = SOURCE / "tests" / "data" / "nets"


def rows_of_json(rows):
    return [({t["name"]: t["coefficient"] for t in r.get("species", [])},
             {t["name"]: t["coefficient"] for t in r.get("reactions", [])}) for r in rows]


@pytest.mark.parametrize("name, wide, transitions", [
    ("e_coli_core.net", True, False),
    ("e_coli_core.net", False, True),
    ("mcc/Raft-PT-02.net", True, True),
    ("wide/synth_S100_R150.net", True, False),
])
def test_rows_are_the_json_rows(name, wide, transitions):
    r = crninv.invariants(crninv.read_network(NETS / name), wide=wide, transitions=transitions)
    document = json.loads(r.to_json())
    for section in ("flows", "inequalities", "irreducible"):
        rows = getattr(r, section)
        assert [(row.species, row.reactions) for row in rows] == rows_of_json(document[section])
        assert len(rows) == len(document[section])
        if len(rows):
            assert rows[-1] == rows[len(rows) - 1] and rows[1:3] == list(rows)[1:3]
    with pytest.raises(IndexError):
        r.flows[len(r.flows)]


def test_matrices_hold_the_rows():
    net = crninv.read_network(NETS / "e_coli_core.net")
    r = crninv.invariants(net)
    index = {name: k for k, name in enumerate(net.species)}
    reactions = {name: k for k, name in enumerate(net.reactions)}
    flows = r.flow_matrix()
    assert flows.dtype == np.int64 and flows.shape == (len(r.flows), len(net.species))
    for row, line in zip(r.flows, flows):
        assert {net.species[k]: int(v) for k, v in enumerate(line) if v} == row.species
    # The flows are conservation laws: y N = 0.
    assert not (flows @ net.stoichiometry.toarray()).any()
    effects = r.inequality_matrix(part="reactions", sparse=True)
    assert effects.shape == (len(r.inequalities), len(net.reactions))
    for k, row in enumerate(r.inequalities):
        assert {j: v for j, v in zip(effects[k].indices, effects[k].data)} == {
            reactions[name]: v for name, v in row.reactions.items()}
    with pytest.raises(ValueError):
        r.flow_matrix(part="complexes")
    t = crninv.invariants(net, transitions=True)
    assert t.transitions and t.flow_matrix().shape[1] == len(net.reactions)
    assert (net.stoichiometry.toarray() @ t.flow_matrix().T == 0).all()
    s = crninv.semiflows(net)
    assert (s.matrix() >= 0).all() and not (s.matrix() @ net.stoichiometry.toarray()).any()
    assert [row.species for row in s] == [row.species for row in s.rows]


def test_integers_past_64_bits():
    # A -> k B -> k^2 C ...: the law k^4 A + k^3 B + ... passes 64 bits.
    k = 2**40
    n = np.zeros((5, 4), dtype=np.int64)
    for j in range(4):
        n[j, j], n[j + 1, j] = -1, k
    r = crninv.invariants(crninv.Network(n, species=["s%d" % i for i in range(5)]))
    law = r.flows[0].species
    assert law == {"s0": k**4, "s1": k**3, "s2": k**2, "s3": k, "s4": 1}
    assert "+%d s0 +%d s1 " % (k**4, k**3) in str(r)
    assert json.loads(r.to_json())["flows"][0]["species"][0]["coefficient"] == k**4
    with pytest.raises(OverflowError, match="sparse=True"):
        r.flow_matrix()
    sparse = r.flow_matrix(sparse=True)
    assert sparse.dtype == object and list(sparse.data) == list(law.values())
    assert list(sparse.indices) == [0, 1, 2, 3, 4] and list(sparse.indptr) == [0, 5]
    assert r.inequalities[3].reactions == {"(reaction 4)": k}
    assert r.inequality_matrix(part="reactions", sparse=True).dtype == object


def test_write_in_pieces():
    net = crninv.read_network(NETS / "iJO1366.net")
    r = crninv.invariants(net)
    pieces = []

    class File:
        def write(self, text):
            pieces.append(text)

    r.write(File())
    assert len(pieces) > 1 and "".join(pieces) == str(r)
    out = io.StringIO()
    r.write(out, json=True)
    assert out.getvalue() == r.to_json()


def test_names_past_ascii():
    net = crninv.Network([[1, -1], [-1, 1]], species=["α", "β-d"], reactions=["r→", "r←"])
    r = crninv.invariants(net)
    assert str(r).startswith("Flows (== constant):\n\t+1 α +1 β-d \n")
    assert json.loads(r.to_json())["species"][0]["name"] == "α"


def test_progress_callback_and_bar(capsys, monkeypatch):
    net = crninv.read_network(NETS / "iJO1366.net")
    seen = []
    crninv.invariants(net, wide=False, progress=seen.append)
    assert seen and all(p.stage == "reduction" and p.step <= p.steps for p in seen)
    assert [p.seconds for p in seen] == sorted(p.seconds for p in seen)
    # Without tqdm, a line of its own on standard error, erased at the end.
    monkeypatch.setitem(sys.modules, "tqdm", None)
    crninv.invariants(net, wide=False, progress=True)
    err = capsys.readouterr().err
    assert "reduction" in err and err.endswith("\r")


def test_the_gil_is_released():
    net = crninv.read_network(NETS / "iJO1366.net")
    ticks = []
    done = threading.Event()

    def count():
        while not done.is_set():
            ticks.append(time.monotonic())
            time.sleep(0.001)

    thread = threading.Thread(target=count)
    thread.start()
    start = time.monotonic()
    crninv.invariants(net, wide=False)
    end = time.monotonic()
    done.set()
    thread.join()
    during = [t for t in ticks if start < t < end]
    # The other thread ran during the call. Were the GIL held, it could
    # tick at most once there, before the call took it: how often it ticks
    # beyond that depends on the machine's load, so it is not asked.
    assert len(during) >= 3
