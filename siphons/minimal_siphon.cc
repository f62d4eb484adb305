#include "siphons/minimal_siphon.h"

#include <algorithm>

namespace crninv {

namespace {

void count_inputs(const SiphonGraph& graph, uint32_t s, SiphonWorkspace& work) {
  for (const uint32_t* r = graph.input_of.begin(s); r != graph.input_of.end(s); ++r) {
    ++work.inputs_inside[*r];
  }
}

// The species of a closure in the order they were taken in, each but the
// first with the reaction that brought it in and the species held before
// it that this reaction produces.
struct Closure {
  std::vector<uint32_t> held, reaction, product;
};

// The siphon inside siphon that holds its first species: that one, then
// for each reaction that produces a species held and consumes none, the
// first of its inputs in siphon, until none is left. Most often far
// smaller than siphon, at a cost of its own arcs. The workspace is left
// holding it (inside 1, inputs_inside their inputs).
Closure closure_inside(const SiphonGraph& graph, const std::vector<uint32_t>& siphon,
                       SiphonWorkspace& work) {
  // inside: bit 1 in siphon, bit 2 held.
  for (uint32_t s : siphon) work.inside[s] = 1;
  Closure closure;
  closure.held.push_back(siphon.front());
  closure.reaction.push_back(graph.reactions);
  closure.product.push_back(siphon.front());
  work.inside[siphon.front()] |= 2;
  count_inputs(graph, siphon.front(), work);
  // Each species held is checked once, after its own inputs are counted:
  // a reaction that produces it with no input held gets one held.
  for (size_t next = 0; next < closure.held.size(); ++next) {
    uint32_t s = closure.held[next];
    for (const uint32_t* r = graph.output_of.begin(s); r != graph.output_of.end(s); ++r) {
      if (work.inputs_inside[*r] != 0) continue;
      for (const uint32_t* q = graph.inputs.begin(*r); q != graph.inputs.end(*r); ++q) {
        if (work.inside[*q] != 1) continue;
        work.inside[*q] |= 2;
        closure.held.push_back(*q);
        closure.reaction.push_back(*r);
        closure.product.push_back(s);
        count_inputs(graph, *q, work);
        break;
      }
    }
  }
  for (uint32_t s : siphon) work.inside[s] >>= 1;
  return closure;
}

// Shrinks the siphon S that the workspace holds (inside: 1 in S, 3 in S
// and known to empty S when it leaves; inputs_inside: inputs in S). Write
// K(s) for what leaves S with s: all but the largest siphon inside S - {s}.
// K(t) is inside K(s) whenever t is in K(s), so that once K(d) = S, every
// species whose removal takes d away empties S too: a cascade stops as
// soon as it takes such a d. And K(d) = S stays true as S shrinks.
class Shrinker {
 public:
  Shrinker(const SiphonGraph& graph, SiphonWorkspace& work, std::vector<uint32_t>& siphon)
      : graph(graph), work(work), siphon(siphon) {}
  ~Shrinker() {
    for (uint32_t s : siphon) {
      work.inside[s] = 0;
      for (const uint32_t* r = graph.input_of.begin(s); r != graph.input_of.end(s); ++r) {
        work.inputs_inside[*r] = 0;
      }
    }
  }

  // Takes s out with what must follow; keeps the rest when it is a smaller
  // siphon, else puts everything back and marks s as emptying S. When s
  // is the only input in S of reaction r, which produces p known to empty
  // S, the answer is known without a try: p leaves with s.
  void try_without(uint32_t s, uint32_t r, uint32_t p) {
    if (work.inside[s] != 1) return;
    if (r < graph.reactions && work.inputs_inside[r] == 1 && work.inside[p] == 3) {
      work.inside[s] = 3;
      return;
    }
    if (!cascade(s)) {
      std::vector<uint32_t> rest;
      for (uint32_t t : siphon) {
        if (work.inside[t] != 0) rest.push_back(t);
      }
      siphon.swap(rest);
      return;
    }
    put_back();
    work.inside[s] = 3;
  }

  // S in ascending order: a pass over the species when S holds many.
  std::vector<uint32_t> ascending() const {
    if (siphon.size() * 16 < graph.species) {
      std::vector<uint32_t> sorted = siphon;
      std::sort(sorted.begin(), sorted.end());
      return sorted;
    }
    std::vector<uint32_t> sorted;
    sorted.reserve(siphon.size());
    for (uint32_t s = 0; s < graph.species; ++s) {
      if (work.inside[s] != 0) sorted.push_back(s);
    }
    return sorted;
  }

 private:
  // Whether taking s out empties S; removed lists what left, the first
  // reached of them with all their inputs counted out, the next up to
  // stop in its list.
  bool cascade(uint32_t s) {
    removed.assign(1, s);
    work.inside[s] = 0;
    known = false;
    for (reached = 0; reached < removed.size(); ++reached) {
      uint32_t t = removed[reached];
      for (stop = graph.input_of.begin(t); stop != graph.input_of.end(t);) {
        uint32_t r = *stop++;
        if (--work.inputs_inside[r] == 0 && takes_known(r)) return true;
      }
    }
    return removed.size() == siphon.size();
  }
  // Takes out what reaction r produces, up to a species known to empty S.
  bool takes_known(uint32_t r) {
    for (const uint32_t* p = graph.outputs.begin(r); p != graph.outputs.end(r); ++p) {
      if (work.inside[*p] == 0) continue;
      known = work.inside[*p] == 3;
      work.inside[*p] = 0;
      removed.push_back(*p);
      if (known) return true;
    }
    return false;
  }
  // Undoes a cascade; the species it stopped at keeps its mark (losing it
  // would leave no more marks than before, and the next tries long).
  void put_back() {
    for (uint32_t t : removed) work.inside[t] = 1;
    if (known) work.inside[removed.back()] = 3;
    if (reached == removed.size()) {
      for (uint32_t t : removed) count_inputs(graph, t, work);
      return;
    }
    for (size_t i = 0; i < reached; ++i) count_inputs(graph, removed[i], work);
    const uint32_t* r = graph.input_of.begin(removed[reached]);
    for (; r != stop; ++r) ++work.inputs_inside[*r];
  }

  const SiphonGraph& graph;
  SiphonWorkspace& work;
  std::vector<uint32_t>& siphon;
  std::vector<uint32_t> removed;
  size_t reached = 0;
  const uint32_t* stop = nullptr;
  bool known = false;
};

}  // namespace

// In the order of closure_inside a species is taken in to keep one tried
// before it, which its removal most often takes away at once.
std::vector<uint32_t> minimal_inside(const SiphonGraph& graph, const std::vector<uint32_t>& siphon,
                                     SiphonWorkspace& work) {
  Closure closure = closure_inside(graph, siphon, work);
  std::vector<uint32_t> held = closure.held;
  Shrinker shrinker(graph, work, held);
  for (size_t i = 0; i < closure.held.size(); ++i) {
    shrinker.try_without(closure.held[i], closure.reaction[i], closure.product[i]);
  }
  return shrinker.ascending();
}

}  // namespace crninv
