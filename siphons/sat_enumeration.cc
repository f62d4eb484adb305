#include "siphons/sat_enumeration.h"

#include <algorithm>
#include <cadical.hpp>
#include <exception>

#include "crninv/errors.h"
#include "siphons/minimal_siphon.h"

namespace crninv {

namespace {

// What the solver holds, roughly: a clause's header and its literals, and
// two watches; a variable's dozen arrays.
constexpr uint64_t kClauseBytes = 48, kLiteralBytes = 4 + 16, kVariableBytes = 96;

// Lets the monitor stop the solver. The solver may not be unwound by an
// exception, so a cancellation is kept and thrown once it has returned.
class Stop : public CaDiCaL::Terminator {
 public:
  explicit Stop(Monitor& monitor) : monitor(monitor) {}
  bool terminate() override {
    try {
      monitor.tick();
    } catch (...) {
      stopped = std::current_exception();
    }
    return stopped != nullptr;
  }
  std::exception_ptr stopped;

 private:
  Monitor& monitor;
};

class Encoder {
 public:
  Encoder(CaDiCaL::Solver& solver, uint64_t budget) : solver(solver), budget(budget) {}

  void clause(const std::vector<int>& literals) {
    for (int literal : literals) solver.add(literal);
    solver.add(0);
    held += kClauseBytes + literals.size() * kLiteralBytes;
    if (held > budget) throw OutOfMemory();
  }
  void variables(uint64_t count) {
    held += count * kVariableBytes;
    if (held > budget) throw OutOfMemory();
  }

 private:
  CaDiCaL::Solver& solver;
  uint64_t budget, held = 0;
};

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

// Species s is variable s + 1. A reaction with many inputs and outputs
// gets a variable of its own, implied by each output and implying an
// input, so that its inputs are written once.
void encode(const SiphonGraph& graph, Encoder& encoder) {
  std::vector<int> literals;
  int next = static_cast<int>(graph.species) + 1;
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
    if (gate != 0) encoder.clause(literals);
    for (const uint32_t* p = graph.outputs.begin(r); p != graph.outputs.end(r); ++p) {
      // A species on both sides keeps the reaction's input in the set.
      if (std::binary_search(graph.inputs.begin(r), graph.inputs.end(r), *p)) continue;
      std::vector<int> implication{-species_variable(*p)};
      if (gate != 0) {
        implication.push_back(gate);
      } else {
        implication.insert(implication.end(), literals.begin(), literals.end());
      }
      encoder.clause(implication);
    }
  }
  encoder.variables(static_cast<uint64_t>(next));
  literals.clear();
  for (uint32_t s = 0; s < graph.species; ++s) literals.push_back(species_variable(s));
  encoder.clause(literals);
}

}  // namespace

void enumerate_by_sat(const SiphonGraph& graph, uint64_t budget, Monitor& monitor,
                      const std::function<void(const std::vector<uint32_t>&)>& found) {
  if (graph.species == 0) return;
  CaDiCaL::Solver solver;
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
  Encoder encoder(solver, budget);
  encode(graph, encoder);
  // Species outside the set first, and no reaction's variable asking for
  // an input: solutions come small, and shrink fast.
  for (int v = 1; v <= solver.vars(); ++v) solver.phase(-v);
  Stop stop(monitor);
  solver.connect_terminator(&stop);
  SiphonWorkspace work(graph);
  std::vector<uint32_t> solution;
  std::vector<int> exclusion;
  Progress& progress = monitor.state();
  for (;;) {
    int result = solver.solve();
    ++progress.step;
    if (stop.stopped) std::rethrow_exception(stop.stopped);
    if (result == 20) break;
    if (result != 10) throw Error("the SAT solver stopped without an answer");
    solution.clear();
    for (uint32_t s = 0; s < graph.species; ++s) {
      if (solver.val(species_variable(s)) > 0) solution.push_back(s);
    }
    std::vector<uint32_t> minimal = minimal_inside(graph, solution, work);
    ++progress.found;
    found(minimal);
    exclusion.clear();
    for (uint32_t s : minimal) exclusion.push_back(-species_variable(s));
    encoder.clause(exclusion);
    monitor.tick();
  }
  solver.disconnect_terminator();
}

}  // namespace crninv
