"""The library's errors as Python exceptions: the class a Python caller
catches, the library's message, and the details as attributes."""

import pytest

import crninv
from conftest import SOURCE


def test_syntax_error():
    with pytest.raises(crninv.ParseError) as e:
        crninv.parse_network("A -> B;\nA B -> C;\n", name="model.net")
    assert isinstance(e.value, ValueError) and isinstance(e.value, crninv.Error)
    assert (e.value.path, e.value.line, e.value.text) == ("model.net", 2, "B")
    assert str(e.value) == "model.net line 2 near 'B': expecting ->"


def test_file_that_cannot_be_read(tmp_path):
    with pytest.raises(crninv.ReadError) as e:
        crninv.read_network(tmp_path / "missing.net")
    assert isinstance(e.value, OSError) and e.value.changed is False
    assert e.value.filename == str(tmp_path / "missing.net")


def test_overflow_without_wide():
    # A net change past 32 bits: the 32-bit run stops, the wide one does not.
    net = crninv.parse_network("A + 2147483647 B + 2147483647 B -> C;\n")
    with pytest.raises(crninv.IntegerOverflow, match="^Integer overflow on addition$") as e:
        crninv.invariants(net, wide=False)
    assert isinstance(e.value, OverflowError)
    assert crninv.invariants(net).flows[1].species == {"B": 1, "C": 4294967294}


def test_memory_budget():
    net = crninv.read_network(SOURCE / "tests" / "data" / "nets" / "iJO1366.net")
    with pytest.raises(crninv.OutOfMemory) as e:
        crninv.invariants(net, memory_budget=100000)
    assert isinstance(e.value, MemoryError)
    for call in (crninv.semiflows, crninv.conserved_moieties, crninv.structure):
        with pytest.raises(MemoryError):
            call(net, memory_budget=1000)


def test_too_many_semiflows_carries_the_cap():
    # Four independent pairs: 2^4 minimal semiflows... of which the cap lets 3.
    net = crninv.parse_network("".join("a%d + b%d -> c%d;\nc%d -> a%d + b%d;\n" % ((i,) * 6)
                                       for i in range(4)))
    assert len(crninv.semiflows(net)) == 8
    with pytest.raises(crninv.TooManySemiflows) as e:
        crninv.semiflows(net, max_semiflows=3)
    assert e.value.cap == 3 and str(e.value).startswith("more than 3 ")


def test_too_many_siphons():
    net = crninv.parse_network("A -> B;\nB -> A;\nC -> D;\nD -> C;\n")
    with pytest.raises(crninv.TooManySiphons) as e:
        crninv.siphons(net, max_siphons=1)
    assert e.value.cap == 1 and e.value.traps is False


def test_progress_stops_the_work():
    net = crninv.read_network(SOURCE / "tests" / "data" / "nets" / "iJO1366.net")
    seen = []

    def stop(progress):
        seen.append(progress)
        return False

    with pytest.raises(crninv.Cancelled):
        crninv.invariants(net, wide=False, progress=stop)
    assert seen and seen[0].stage == "reduction" and seen[0].steps > 0


def test_an_error_of_the_callback_goes_through():
    net = crninv.read_network(SOURCE / "tests" / "data" / "nets" / "iJO1366.net")

    def fail(progress):
        raise LookupError("from the callback")

    with pytest.raises(LookupError, match="from the callback"):
        crninv.invariants(net, wide=False, progress=fail)
    with pytest.raises(TypeError):
        crninv.invariants(net, progress=3)


def test_conversion_errors(tmp_path):
    bad = tmp_path / "bad.xml"
    bad.write_text("<sbml")
    with pytest.raises(crninv.ConversionError) as e:
        crninv.read_sbml(bad)
    assert isinstance(e.value, ValueError) and e.value.path == str(bad)
    with pytest.raises(crninv.ConversionError):
        crninv.read_pnml(bad)


def test_invalid_argument():
    with pytest.raises(crninv.InvalidArgument):
        crninv.Network([[-(2**63)]])
