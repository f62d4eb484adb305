"""The comparison with the program on every network of ../shared/nets, each
mode within 120 s, and the conserved moieties' properties on each."""

import pytest

import crninv
from conftest import TIMEOUT, shared_params
from moieties_check import check_moieties
from program_modes import MODES, compare, network


@pytest.mark.parametrize("mode", sorted(MODES))
@pytest.mark.parametrize("path", shared_params())
def test_same_as_program(path, mode):
    compare(path, mode, timeout=TIMEOUT, cap=20000)


@pytest.mark.parametrize("path", shared_params())
def test_moieties(path):
    net = network(path)
    check_moieties(net, crninv.conserved_moieties(net))
