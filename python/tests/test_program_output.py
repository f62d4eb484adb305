"""str() of each result is the program's standard output byte for byte (and
to_json() its --json), in every mode, on the bundled examples and the tests'
networks; the same error where the program stops on one."""

import pytest

from conftest import local_params
from program_modes import MODES, compare


@pytest.mark.parametrize("mode", sorted(MODES))
@pytest.mark.parametrize("path", local_params())
def test_same_as_program(path, mode):
    compare(path, mode, timeout=120, cap=5000)
