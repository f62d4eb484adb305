// The reactions of an SBML model (Levels 1 to 3, plain or compressed, with
// libSBML) as a Network: the model's own stoichiometric matrix, with
// stoichiometries set by formulas evaluated, hierarchical models (comp)
// flattened, values with float noise read as the fractions they stand for
// (4.33333333333333 as 13/3), and non-integer stoichiometries made whole
// reaction by reaction.
#ifndef CRNINV_SBML_H_
#define CRNINV_SBML_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "crninv/errors.h"
#include "crninv/network.h"

namespace crninv {

struct SbmlOptions {
  // Keep boundary species (boundaryCondition="true") in the reactions as
  // species like any other. By default they are left out: reactions do not
  // change them, and simulators leave them out of the matrix.
  bool keep_boundary = false;
  // Leave out the reactions whose stoichiometry changes over time or is no
  // fraction, instead of throwing NoStoichiometricMatrix.
  bool leave_out_varying = false;
  // Write a reaction that runs both ways (ConvertedReaction::kBoth) as two
  // reactions, ID and ID_rev, the second with the sides swapped, and one
  // that runs backwards only (kReverse) with its sides swapped: weak
  // reversibility needs each direction that the model allows as a
  // reaction. ID_rev is made unique among the reactions' labels and the
  // species' names ("ID_rev_2", ...).
  bool split_reversible = false;
};

// What libSBML found wrong with a document that it could read all the same.
struct SbmlDiagnostics {
  unsigned errors = 0;    // of severity error or fatal
  unsigned warnings = 0;  // of severity warning
  // Each of them, "line N: text" on one line, in libSBML's order.
  std::vector<std::string> messages;
  // The Level 3 packages that this libSBML does not know: what they add to
  // the model is left out.
  struct Package {
    std::string prefix, uri;
  };
  std::vector<Package> unknown_packages;
};

// A stoichiometry given with float noise (4.33333333333333, or a formula
// whose value is 0.3333333333333333) and read as the fraction it stands
// for, the simplest within its precision.
struct ReadFraction {
  std::string species;  // the SBML id
  std::string value;    // the shortest decimal that gives back the double
  uint64_t numerator = 0, denominator = 1;
};

// A reaction of the model and what became of it.
struct ConvertedReaction {
  std::string id;  // as in the model
  // Empty when the reaction is in the network; else why not, worded to
  // follow "stoichiometry of SPECIES " or as a whole sentence.
  std::string left_out;
  // Left out for a reason that leaves the model without a constant
  // rational matrix: a stoichiometry that changes over time, or that is no
  // fraction with a small denominator (pi, ln 5). Such a reason stops the
  // conversion unless SbmlOptions::leave_out_varying.
  bool stops = false;
  // The directions that the model lets it run in: fbc's flux bounds (a
  // lower bound below 0 and an upper one above: both; an upper bound of 0
  // or less and a lower one below 0: backwards only) or, where there are
  // none, SBML's reversible attribute.
  enum Direction { kForward, kBoth, kReverse };
  Direction direction = kForward;
  // Its reactions in the network, [first, first + count): 0 when it is
  // left out, 2 when it is split in two (SbmlOptions::split_reversible).
  uint32_t first = 0, count = 0;
  int32_t factor = 1;  // what its stoichiometries were multiplied by to make them whole
  std::vector<ReadFraction> fractions;  // its stoichiometries read within their precision
};

struct SbmlConversion {
  // The reactions written, labelled by their ids made to fit the text
  // format; species in order of first appearance in them.
  Network network;
  std::vector<std::string> species_ids;      // the SBML id of each species of the network
  std::vector<ConvertedReaction> reactions;  // one per reaction of the model, in its order
  std::string model_id, model_name;          // empty when not set
  unsigned level = 0, version = 0;
  unsigned species_declared = 0;
  // The boundary species that reactions name, in the order met: left out
  // of the network, or kept with keep_boundary.
  std::vector<std::string> boundary_species;
  size_t identifiers_changed = 0;  // species and reaction ids that did not fit the format
  SbmlDiagnostics diagnostics;
};

// A model that cannot be converted once libSBML has read its document
// (a hierarchical model that cannot be flattened, a stoichiometry that
// changes over time), with what libSBML found wrong on the way; or a file
// that is not SBML or holds no model, with empty diagnostics.
class SbmlError : public ConversionError {
 public:
  SbmlError(std::string path, std::string message, std::vector<std::string> details = {},
            SbmlDiagnostics diagnostics = {})
      : ConversionError(std::move(path), std::move(message), std::move(details)),
        diagnostics(std::move(diagnostics)) {}
  SbmlDiagnostics diagnostics;
};

// Reactions whose stoichiometry changes over time (set by a rate rule, an
// event, or a formula of varying quantities) or is no fraction with a
// small denominator: the model has no constant rational stoichiometric
// matrix. Thrown unless SbmlOptions::leave_out_varying.
class NoStoichiometricMatrix : public SbmlError {
 public:
  struct Reaction {
    std::string id;
    // "stoichiometry of X is set by a rate rule, so the model has no
    // constant stoichiometric matrix"
    std::string reason;
  };
  NoStoichiometricMatrix(std::string path, std::vector<Reaction> reactions,
                         SbmlDiagnostics diagnostics)
      : SbmlError(path, "reaction " + reactions.at(0).id + ": " + reactions.at(0).reason, {},
                  std::move(diagnostics)),
        reactions(std::move(reactions)) {}
  std::vector<Reaction> reactions;  // in the model's order
};

// Reads the model of the SBML file at path. Throws SbmlError when the file
// cannot be read, is not SBML, holds no model or a hierarchical model that
// cannot be flattened, NoStoichiometricMatrix as said above, and
// std::bad_alloc when memory runs out.
SbmlConversion read_sbml(const std::string& path, const SbmlOptions& options = {});

}  // namespace crninv

#endif  // CRNINV_SBML_H_
