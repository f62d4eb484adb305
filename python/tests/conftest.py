"""What the tests of the module share: where the program, the converters and
the networks are, and the program's output to compare with.

The networks of the tests and examples ship with the sources; those of
../shared beside the clone are read when they are there, and the tests on
them skip, saying so, when they are not."""

import os
import pathlib
import subprocess

import pytest

SOURCE = pathlib.Path(os.environ.get("CRNINV_SOURCE_DIR", pathlib.Path(__file__).parents[2]))
SHARED = pathlib.Path(os.environ.get("CRNINV_SHARED_DIR", SOURCE.parent / "shared"))
BINARY = os.environ.get("CRNINV_BINARY", str(SOURCE / "build" / "crninv"))
SBML2CRN = os.environ.get("CRNINV_SBML2CRN", "")

EXAMPLES = sorted((SOURCE / "examples").glob("*.net"))
TEST_NETS = sorted((SOURCE / "tests" / "data" / "nets").rglob("*.net"))
SHARED_NETS = sorted((SHARED / "nets").rglob("*.net")) if (SHARED / "nets").is_dir() else []

# Past this, a shared network is left out of a comparison (and said so).
TIMEOUT = 120


def shared_params(names=None):
    """pytest parameters for the shared networks (those named, or all), or
    one that skips saying what is missing."""
    nets = SHARED_NETS if names is None else [SHARED / "nets" / n for n in names]
    nets = [n for n in nets if n.exists()]
    if not nets:
        return [pytest.param(None, marks=pytest.mark.skip(
            reason="no networks in %s: the shared corpus is not beside this clone" % (SHARED / "nets")))]
    return [pytest.param(n, id=str(n.relative_to(SHARED / "nets"))) for n in nets]


def local_params():
    return [pytest.param(n, id=str(n.relative_to(SOURCE))) for n in EXAMPLES + TEST_NETS]


class Run:
    def __init__(self, status, stdout, stderr):
        self.status, self.stdout, self.stderr = status, stdout, stderr


def program(*args, timeout=TIMEOUT):
    """The crninv program's run: status, stdout and stderr as text; None
    when it takes longer than timeout seconds."""
    try:
        p = subprocess.run([BINARY, *map(str, args)], capture_output=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        return None
    return Run(p.returncode, p.stdout.decode("utf-8", "surrogateescape"),
               p.stderr.decode("utf-8", "surrogateescape"))


def pytest_sessionfinish(session, exitstatus):
    """Exit status 77, which CTest reports as skipped, when every test of the
    file skipped (the shared corpus missing)."""
    reporter = session.config.pluginmanager.get_plugin("terminalreporter")
    stats = reporter.stats if reporter is not None else {}
    if exitstatus == 0 and stats.get("skipped") and not stats.get("passed"):
        session.exitstatus = 77
