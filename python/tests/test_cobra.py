"""from_cobra: a cobrapy model gives the network that sbml2crn writes of the
same model, and so the same flows as sbml2crn then crninv --wide: cobrapy's
E. coli core (shipped with cobrapy) written to SBML by cobrapy, and the
shared E. coli core SBML read by cobrapy."""

import json
import math
import re
import subprocess

import pytest

import crninv
from conftest import SBML2CRN, SHARED, program

cobra = pytest.importorskip("cobra", reason="cobrapy is missing (Debian: python3-cobra)")
needs_sbml2crn = pytest.mark.skipif(not SBML2CRN, reason="sbml2crn was not built (libSBML)")


def textbook():
    return cobra.io.load_model("textbook")


def program_flows(sbml, tmp_path):
    """The flows of sbml2crn then crninv --wide, named as cobrapy names them
    (without the M_ and R_ that SBML ids carry), and the factors in the
    header."""
    text = subprocess.run([SBML2CRN, str(sbml)], capture_output=True, check=True).stdout.decode()
    net = tmp_path / "model.net"
    net.write_text(text)
    run = program("--wide", "--json", net)
    assert run.status == 0
    plain = lambda name: re.sub(r"^[MR]_", "", name)
    flows = [{plain(t["name"]): t["coefficient"] for t in row["species"]}
             for row in json.loads(run.stdout)["flows"]]
    factors = {plain(r): int(f) for r, f in re.findall(r"^# scaled (\S+) by (\d+)", text, re.M)}
    return flows, factors


def module_flows(model):
    net = crninv.from_cobra(model)
    return [row.species for row in crninv.invariants(net).flows], net.factors


@needs_sbml2crn
def test_textbook_as_sbml2crn_reads_it(tmp_path):
    model = textbook()
    sbml = tmp_path / "textbook.xml"
    cobra.io.write_sbml_model(model, str(sbml))
    flows, factors = module_flows(model)
    assert (flows, factors) == program_flows(sbml, tmp_path)
    # The five pools of E. coli core, the biomass reaction included.
    assert len(flows) == 5 and factors == {"Biomass_Ecoli_core": 10000, "CYTBD": 2}
    assert {"atp_c": 1, "adp_c": 1, "amp_c": 1} in [
        {k: v for k, v in f.items() if k in ("atp_c", "adp_c", "amp_c")} for f in flows]


@needs_sbml2crn
def test_shared_e_coli_core(tmp_path):
    sbml = SHARED / "sbml" / "e_coli_core.xml"
    if not sbml.exists():
        pytest.skip("%s is missing: the shared corpus is not beside this clone" % sbml)
    assert module_flows(cobra.io.read_sbml_model(str(sbml))) == program_flows(sbml, tmp_path)


def test_the_model_as_it_is():
    model = textbook()
    lonely = cobra.Metabolite("lonely_c")
    model.add_metabolites([lonely])
    net = crninv.from_cobra(model)
    assert len(net.species) == len(model.metabolites)
    assert len(net.reactions) == len(model.reactions)
    # A metabolite that no reaction names comes last, a law of its own.
    assert net.species[-1] == "lonely_c"
    assert crninv.invariants(net).flows[-1].species == {"lonely_c": 1}
    # The biomass reaction multiplied by 10000: 59.81 ATP is 598100.
    reactants, products = net.sides("Biomass_Ecoli_core")
    assert reactants["atp_c"] == 598100 and products["adp_c"] == 598100


def test_no_fraction_is_refused():
    model = textbook()
    model.reactions.get_by_id("PGI").add_metabolites({model.metabolites.get_by_id("h_c"): math.pi})
    with pytest.raises(crninv.ConversionError, match="reaction PGI: stoichiometry of h_c"):
        crninv.from_cobra(model)
