"""crninv.from_cobra: the network of a cobrapy Model."""

from crninv import _crninv


def from_cobra(model):
    """The network of a cobrapy Model, as it is: every metabolite and reaction.

    Metabolite ids name the species and reaction ids the reactions; the
    biomass and exchange reactions are reactions like the others, each going
    the way it is written (a reversible reaction is one reaction). Each
    reaction's stoichiometries are made whole as sbml2crn makes them (59.81
    ATP in a biomass reaction: the reaction multiplied by 100; see
    Network.factors); one that is no fraction raises ConversionError. The
    species come in the order in which the reactions name them, reactants
    before products, as sbml2crn writes them, then the metabolites that no
    reaction names: the laws are those of sbml2crn's file.

        >>> import cobra, crninv
        >>> net = crninv.from_cobra(cobra.io.load_model("textbook"))
        >>> len(crninv.invariants(net).flows)
        5
    """
    metabolites = list(model.metabolites)
    index = {m.id: i for i, m in enumerate(metabolites)}
    terms = [[(index[m.id], float(c)) for m, c in r.metabolites.items()]
             for r in model.reactions]
    return _crninv._network_from_reactions([m.id for m in metabolites],
                                           [r.id for r in model.reactions], terms,
                                           model.id or "cobra model")
