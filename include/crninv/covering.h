// Which species some P-semiflow covers, which reactions some T-semiflow
// covers, and the persistence criterion of Angeli, De Leenheer and Sontag
// (2007), each decided by exact linear programming rather than by listing
// the minimal semiflows, of which there may be exponentially many.
//
// A P-semiflow is a vector y >= 0, not zero, with y N = 0; a T-semiflow an
// x >= 0, not zero, with N x = 0. A species is covered when some
// P-semiflow is positive on it, and then bounded whatever the reactions
// do; a reaction is covered when some T-semiflow is. The semiflows form a
// cone closed under addition, so the covered species are exactly the
// support of one semiflow: the certificate.
#ifndef CRNINV_COVERING_H_
#define CRNINV_COVERING_H_

#include <cstdint>
#include <string>
#include <vector>

#include "crninv/control.h"
#include "crninv/integers.h"
#include "crninv/network.h"
#include "crninv/siphons.h"

namespace crninv {

struct CoveredSet {
  // The indices covered, ascending.
  std::vector<uint32_t> covered;
  // One row: a semiflow whose support is exactly covered, with coprime
  // positive integer entries; no row when nothing is covered. Checked
  // exactly (non-negative, in the kernel, this support) before it is
  // returned.
  IntegerRows certificate;
};

struct Covering {
  CoveredSet species;         // by P-semiflows
  CoveredSet reactions;       // by T-semiflows
  bool conservative = false;  // every species covered
  bool consistent = false;    // every reaction covered
};

// Per side, exact rules that shrink the problem, then one linear program
// per independent part left, solved in floating point (CLP) and read back
// as exact certificates that are checked, with GLPK's exact rational
// simplex where they cannot be read; see the manual page. Progress is
// reported at stage kCovering (step: programs solved of steps). Throws
// OutOfMemory or Cancelled.
Covering covering(const Network& network, const Control& control);

// The criterion of Angeli, De Leenheer and Sontag (2007, Math. Biosci.
// 210:598-618, Theorem 2): when every minimal siphon contains the support of
// a P-semiflow, no species of a conservative network tends to zero from a
// positive start (every siphon holds a minimal one, so the minimal ones
// suffice).
struct Persistence {
  // Positions into Siphons::sets of the minimal siphons that contain the
  // support of no P-semiflow, ascending.
  std::vector<uint32_t> without_semiflow;
  bool criterion = false;     // without_semiflow is empty
  bool conservative = false;  // as Covering::conservative
  // Structural persistence shown: the criterion on a conservative network.
  bool persistent() const { return criterion && conservative; }
};

// siphons must be the minimal siphons of network. One covering of the
// species per siphon that holds covered species, on those species alone.
Persistence persistence(const Network& network, const Siphons& siphons, const Control& control);

// The text of --covering: the covered species and reactions, the verdicts
// and the certificates. See the manual page.
std::string covering_text(const Network& network, const Covering& covering);
std::string covering_json(const Network& network, const Covering& covering);

// The text of --siphons and --traps: siphons_text, then for siphons the
// verdict of persistence (persistence may be null for traps).
std::string siphons_report_text(const Network& network, const Siphons& siphons,
                                const Persistence* persistence);
std::string siphons_report_json(const Network& network, const Siphons& siphons,
                                const Persistence* persistence);

}  // namespace crninv

#endif  // CRNINV_COVERING_H_
