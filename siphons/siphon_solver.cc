#include "siphons/siphon_solver.h"

#include <algorithm>

#include "crninv/errors.h"
#include "siphons/minimal_siphon.h"

namespace crninv {

namespace {

// What the solver holds, roughly: a clause's header and its literals, and
// two watches; a variable's dozen arrays.
constexpr uint64_t kClauseBytes = 48, kLiteralBytes = 4 + 16, kVariableBytes = 96;

int species_variable(uint32_t s) {
  return static_cast<int>(s) + 1;
}

// Whether a reaction's clauses take fewer literals through a variable of
// its own: outputs clauses of inputs + 1 literals without it; with it, one
// of inputs + 1 and outputs of two. Each variable is one more decision at
// every call, so a tie goes without.
bool needs_gate(uint64_t inputs, uint64_t outputs) {
  return outputs * (inputs + 1) > inputs + 1 + 2 * outputs;
}

}  // namespace

void ClauseBudget::take(uint64_t bytes) {
  if (held.fetch_add(bytes) + bytes > limit) throw OutOfMemory();
}

SiphonSolver::SiphonSolver(const SiphonGraph& graph, ClauseBudget& budget)
    : graph(graph), budget(budget), work(graph) {
  // The solver's quick tries for trivial solutions cost a pass over every
  // clause at each call, and the exclusions make them fail.
  solver.set("lucky", 0);
  // The library prints nothing.
  solver.set("quiet", 1);
  // Between calls the solver would eliminate variables, and put them back
  // at every solution: on BusinessProcesses-PT-20's traps that replay took
  // half the time. Vivifying and subsuming go over the exclusions again
  // and again, and no exclusion holds another.
  solver.set("elim", 0);
  solver.set("vivify", 0);
  solver.set("subsume", 0);
  encode();
  // Species outside the set first, and no reaction's variable asking for
  // an input: solutions come small, and shrink fast.
  for (int v = 1; v <= solver.vars(); ++v) solver.phase(-v);
}

SiphonSolver::~SiphonSolver() = default;

void SiphonSolver::clause(const std::vector<int>& clause_literals) {
  budget.take(kClauseBytes + clause_literals.size() * kLiteralBytes);
  for (int literal : clause_literals) solver.add(literal);
  solver.add(0);
}

// Species s is variable s + 1. A reaction with many inputs and outputs
// gets a variable of its own, implied by each output and implying an
// input, so that its inputs are written once.
void SiphonSolver::encode() {
  int next = static_cast<int>(graph.species) + 1;
  std::vector<int> implication;
  for (uint32_t r = 0; r < graph.reactions; ++r) {
    uint64_t outputs = graph.outputs.size(r);
    if (outputs == 0) continue;
    literals.clear();
    int gate = 0;
    if (needs_gate(graph.inputs.size(r), outputs)) {
      gate = next++;
      literals.push_back(-gate);
    }
    for (const uint32_t* q = graph.inputs.begin(r); q != graph.inputs.end(r); ++q) {
      literals.push_back(species_variable(*q));
    }
    if (gate != 0) clause(literals);
    for (const uint32_t* p = graph.outputs.begin(r); p != graph.outputs.end(r); ++p) {
      // A species on both sides keeps the reaction's input in the set.
      if (std::binary_search(graph.inputs.begin(r), graph.inputs.end(r), *p)) continue;
      implication.assign(1, -species_variable(*p));
      if (gate != 0) {
        implication.push_back(gate);
      } else {
        implication.insert(implication.end(), literals.begin(), literals.end());
      }
      clause(implication);
    }
  }
  budget.take(static_cast<uint64_t>(next) * kVariableBytes);
  literals.clear();
  for (uint32_t s = 0; s < graph.species; ++s) literals.push_back(species_variable(s));
  clause(literals);
}

void SiphonSolver::confine(CubeLiteral literal) {
  int v = species_variable(literal.species);
  clause({literal.in ? v : -v});
}

void SiphonSolver::exclude(const uint32_t* set, size_t size) {
  literals.clear();
  for (size_t i = 0; i < size; ++i) literals.push_back(-species_variable(set[i]));
  clause(literals);
}

SiphonSolver::Result SiphonSolver::next(CaDiCaL::Terminator& stop, std::vector<uint32_t>& minimal) {
  solver.connect_terminator(&stop);
  int result = solver.solve();
  solver.disconnect_terminator();
  if (result == 20) return kNoneLeft;
  if (result != 10) return kStopped;
  solution.clear();
  for (uint32_t s = 0; s < graph.species; ++s) {
    if (solver.val(species_variable(s)) > 0) solution.push_back(s);
  }
  minimal = minimal_inside(graph, solution, work);
  return kFound;
}

}  // namespace crninv
