#include "siphons/largest_siphon.h"

#include <algorithm>

namespace crninv {

namespace {

void leave(const SiphonGraph& graph, uint32_t s, SiphonWorkspace& work) {
  work.inside[s] = 0;
  for (const uint32_t* r = graph.input_of.begin(s); r != graph.input_of.end(s); ++r) {
    if (--work.inputs_inside[*r] != 0) continue;
    // Reaction *r has no input left: what it produces cannot stay.
    for (const uint32_t* p = graph.outputs.begin(*r); p != graph.outputs.end(*r); ++p) {
      if (work.inside[*p] == 1) {
        work.inside[*p] = 2;
        work.removed.push_back(*p);
      }
    }
  }
}

}  // namespace

std::vector<uint32_t> largest_siphon(const SiphonGraph& graph, const std::vector<uint32_t>& set,
                                     SiphonWorkspace& work) {
  // inside: 0 out, 1 in, 2 in but due to leave.
  for (uint32_t s : set) work.inside[s] = 1;
  for (uint32_t s : set) {
    for (const uint32_t* r = graph.input_of.begin(s); r != graph.input_of.end(s); ++r) {
      ++work.inputs_inside[*r];
    }
  }
  for (uint32_t s : set) {
    for (const uint32_t* r = graph.output_of.begin(s); r != graph.output_of.end(s); ++r) {
      if (work.inputs_inside[*r] == 0 && work.inside[s] == 1) {
        work.inside[s] = 2;
        work.removed.push_back(s);
      }
    }
  }
  while (!work.removed.empty()) {
    uint32_t s = work.removed.back();
    work.removed.pop_back();
    leave(graph, s, work);
  }
  std::vector<uint32_t> kept;
  for (uint32_t s : set) {
    if (work.inside[s] != 0) kept.push_back(s);
  }
  // Back to all zero: the counts of the reactions still touched by kept.
  for (uint32_t s : kept) {
    work.inside[s] = 0;
    for (const uint32_t* r = graph.input_of.begin(s); r != graph.input_of.end(s); ++r) {
      work.inputs_inside[*r] = 0;
    }
  }
  std::sort(kept.begin(), kept.end());
  return kept;
}

std::vector<uint32_t> closure_inside(const SiphonGraph& graph, const std::vector<uint32_t>& siphon,
                                     SiphonWorkspace& work) {
  // inside: bit 1 in siphon, bit 2 held; inputs_inside: held inputs.
  for (uint32_t s : siphon) work.inside[s] = 1;
  std::vector<uint32_t> held{siphon.front()};
  work.inside[siphon.front()] |= 2;
  for (size_t next = 0; next < held.size(); ++next) {
    for (const uint32_t* r = graph.input_of.begin(held[next]); r != graph.input_of.end(held[next]);
         ++r) {
      ++work.inputs_inside[*r];
    }
  }
  // Each species held is checked once, after its own inputs are counted:
  // a reaction that produces it with no input held gets one held.
  for (size_t next = 0; next < held.size(); ++next) {
    uint32_t s = held[next];
    for (const uint32_t* r = graph.output_of.begin(s); r != graph.output_of.end(s); ++r) {
      if (work.inputs_inside[*r] != 0) continue;
      for (const uint32_t* q = graph.inputs.begin(*r); q != graph.inputs.end(*r); ++q) {
        if (work.inside[*q] != 1) continue;
        work.inside[*q] |= 2;
        held.push_back(*q);
        for (const uint32_t* u = graph.input_of.begin(*q); u != graph.input_of.end(*q); ++u) {
          ++work.inputs_inside[*u];
        }
        break;
      }
    }
  }
  for (uint32_t s : siphon) work.inside[s] = 0;
  for (uint32_t s : held) {
    for (const uint32_t* r = graph.input_of.begin(s); r != graph.input_of.end(s); ++r) {
      work.inputs_inside[*r] = 0;
    }
  }
  return held;
}

namespace {

// Shrinks a siphon S held in the workspace (inside: 1 in S, 3 in S and
// known to empty S when it leaves; inputs_inside: inputs in S). Write K(s)
// for what leaves S with s: all but the largest siphon inside S - {s}.
// K(t) is inside K(s) whenever t is in K(s), so that once K(d) = S, every
// species whose removal takes d away empties S too: a cascade stops as soon
// as it takes such a d. And K(d) = S stays true as S shrinks, since the
// largest siphon inside a set grows with it.
class Shrinker {
 public:
  Shrinker(const SiphonGraph& graph, SiphonWorkspace& work, std::vector<uint32_t>& siphon)
      : graph(graph), work(work), siphon(siphon) {
    for (uint32_t s : siphon) work.inside[s] = 1;
    for (uint32_t s : siphon) count_inputs(s, +1);
  }
  ~Shrinker() {
    for (uint32_t s : siphon) {
      work.inside[s] = 0;
      for (const uint32_t* r = graph.input_of.begin(s); r != graph.input_of.end(s); ++r) {
        work.inputs_inside[*r] = 0;
      }
    }
  }

  // Takes s out with what must follow; keeps the rest when it is a smaller
  // siphon, else puts everything back and marks s as emptying S.
  void try_without(uint32_t s) {
    if ((work.inside[s] & 1) == 0 || work.inside[s] == 3) return;
    bool empties = cascade(s);
    if (!empties) {
      std::vector<uint32_t> rest;
      for (uint32_t t : siphon) {
        if (work.inside[t] != 0) rest.push_back(t);
      }
      siphon.swap(rest);
      return;
    }
    // The species the cascade stopped at keeps its mark: losing it would
    // leave as few marks as there were, and the next tries long.
    uint8_t last = work_mark;
    for (uint32_t t : removed) {
      work.inside[t] = 1;
      count_inputs(t, +1);
    }
    work.inside[removed.back()] = last;
    work.inside[s] = 3;
  }

 private:
  void count_inputs(uint32_t s, int by) {
    for (const uint32_t* r = graph.input_of.begin(s); r != graph.input_of.end(s); ++r) {
      work.inputs_inside[*r] += by;
    }
  }
  // Whether taking s out empties S; removed lists what left.
  bool cascade(uint32_t s) {
    removed.assign(1, s);
    work_mark = work.inside[s];
    work.inside[s] = 0;
    bool known = false;
    size_t next = 0;
    for (; next < removed.size() && !known; ++next) {
      uint32_t t = removed[next];
      for (const uint32_t* r = graph.input_of.begin(t); r != graph.input_of.end(t); ++r) {
        if (--work.inputs_inside[*r] != 0 || known) continue;
        for (const uint32_t* p = graph.outputs.begin(*r); p != graph.outputs.end(*r); ++p) {
          if (work.inside[*p] == 0) continue;
          known = work.inside[*p] == 3;
          work_mark = work.inside[*p];
          work.inside[*p] = 0;
          removed.push_back(*p);
          if (known) break;
        }
      }
    }
    // Stopped early: the inputs of what left but was not reached are
    // counted out, so that putting everything back is exact.
    for (; next < removed.size(); ++next) count_inputs(removed[next], -1);
    return known || removed.size() == siphon.size();
  }

  const SiphonGraph& graph;
  SiphonWorkspace& work;
  std::vector<uint32_t>& siphon;
  std::vector<uint32_t> removed;
  uint8_t work_mark = 0;  // the mark of the last species removed
};

}  // namespace

// One pass over the species is enough: when S - {s} holds no siphon, no
// smaller S does. A try that empties S stops at the first species known to
// empty it; in the order of closure_inside a species is taken in to keep
// one tried before it, which its removal most often takes away at once.
std::vector<uint32_t> minimal_inside(const SiphonGraph& graph, std::vector<uint32_t> siphon,
                                     SiphonWorkspace& work) {
  std::vector<uint32_t> candidates = siphon;
  {
    Shrinker shrinker(graph, work, siphon);
    for (uint32_t s : candidates) shrinker.try_without(s);
  }
  std::sort(siphon.begin(), siphon.end());
  return siphon;
}

}  // namespace crninv
