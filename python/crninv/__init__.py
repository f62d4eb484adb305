"""crninv: the exact linear invariants of chemical reaction networks.

The conservation laws of a network and the rest of its linear invariants,
computed exactly (integers as wide as they need to be) by the crninv
library, with the answers of the crninv program:

    >>> import crninv
    >>> net = crninv.parse_network("E + S -> ES;\\nES -> E + S;\\nES -> E + P;\\n")
    >>> [law.species for law in crninv.invariants(net).flows]
    [{'E': 1, 'ES': 1}, {'S': 1, 'ES': 1, 'P': 1}]
    >>> crninv.conserved_moieties(net).dependent
    ['E', 'S']

Networks: read_network (crninv's text format), parse_network, read_sbml,
read_pnml, from_cobra (a cobrapy Model), and Network(matrix, species,
reactions) from a list of lists, a NumPy array or a scipy.sparse matrix.

Analyses: invariants (flows, inequalities, irreducible: crninv's report),
semiflows (minimal P- and T-semiflows), conserved_moieties (dependent and
independent species, link matrix, reduced stoichiometry), structure
(complexes, linkage classes, deficiency theorems), siphons and traps (with
the persistence criterion), covering (conservative, consistent).

Each result keeps its rows in C++ and makes Python values when asked; str()
of a result is the program's text byte for byte and .to_json() its --json
document. Every analysis releases the GIL while it computes, stops on
Ctrl-C with KeyboardInterrupt, takes progress= (True for a bar, or a
function) and memory_budget=, and raises a crninv.Error (ParseError and
InvalidArgument are ValueErrors, IntegerOverflow an OverflowError,
OutOfMemory a MemoryError, ReadError an OSError).
"""

import collections.abc as _abc

from crninv._crninv import (
    Cancelled,
    ConservedMoieties,
    ConversionError,
    Covering,
    Error,
    IntegerOverflow,
    Invariants,
    InvalidArgument,
    Network,
    NoStoichiometricMatrix,
    OutOfMemory,
    ParseError,
    Progress,
    ReadError,
    Row,
    Rows,
    SbmlError,
    Semiflows,
    Siphons,
    Structure,
    TooManySemiflows,
    TooManySiphons,
    __version__,
    conserved_moieties,
    covering,
    invariants,
    parse_network,
    read_network,
    semiflows,
    siphons,
    structure,
    traps,
)
from crninv._cobra import from_cobra

try:
    from crninv._crninv import read_sbml
except ImportError:  # built without libSBML

    def read_sbml(path, keep_boundary=False, leave_out_varying=False, split_reversible=False):
        """Not available: this crninv was built without libSBML (Debian: libsbml5-dev)."""
        raise NotImplementedError("crninv was built without libSBML")


try:
    from crninv._crninv import read_pnml
except ImportError:  # built without expat and zlib

    def read_pnml(path):
        """Not available: this crninv was built without expat and zlib."""
        raise NotImplementedError("crninv was built without expat and zlib")


# The classes as the package shows them in help() and repr().
for _class in (ConservedMoieties, Covering, Invariants, Network, Progress, Row, Rows, Semiflows,
               Siphons, Structure):
    _class.__module__ = "crninv"

_abc.Sequence.register(Rows)
_abc.Sequence.register(Semiflows)
_abc.Sequence.register(Siphons)

__all__ = [
    "Cancelled", "ConservedMoieties", "ConversionError", "Covering", "Error",
    "IntegerOverflow", "Invariants", "InvalidArgument", "Network", "NoStoichiometricMatrix",
    "OutOfMemory", "ParseError", "Progress", "ReadError", "Row", "Rows", "SbmlError",
    "Semiflows", "Siphons", "Structure", "TooManySemiflows", "TooManySiphons",
    "conserved_moieties", "covering", "from_cobra", "invariants", "parse_network",
    "read_network", "read_pnml", "read_sbml", "semiflows", "siphons", "structure", "traps",
]
