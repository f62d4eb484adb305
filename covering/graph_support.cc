#include "covering/graph_support.h"

#include <algorithm>
#include <cstdint>

#include "base/strong_components.h"
#include "covering/exact_values.h"

namespace crninv {

namespace {

constexpr uint32_t kNone = UINT32_MAX;

struct Arc {
  uint32_t tail, head;  // positions in component.columns
  int64_t c;
};

// The graph: arcs, and those leaving (entering) each node, by node.
struct Graph {
  uint32_t nodes = 0;
  std::vector<Arc> arcs;
  std::vector<uint64_t> out_start, in_start;
  std::vector<uint32_t> out, in;
};

// The rows as arcs; false when one is not.
bool arcs_of(const SparseMatrix& a, const Component& component, std::vector<Arc>& arcs) {
  auto position = [&](uint32_t j) {
    return static_cast<uint32_t>(
        std::lower_bound(component.columns.begin(), component.columns.end(), j) -
        component.columns.begin());
  };
  for (uint32_t i : component.rows) {
    uint64_t e = a.start[i];
    if (a.start[i + 1] - e != 2 || a.value[e] != -a.value[e + 1]) return false;
    uint32_t p = position(a.column[e]), q = position(a.column[e + 1]);
    int64_t v = a.value[e];
    arcs.push_back(v < 0 ? Arc{p, q, -v} : Arc{q, p, v});
  }
  return true;
}

// Arcs by tail (or by head) in compressed form.
void index_arcs(Graph& g, bool by_tail, std::vector<uint64_t>& start, std::vector<uint32_t>& list) {
  start.assign(g.nodes + 1, 0);
  for (const Arc& arc : g.arcs) ++start[(by_tail ? arc.tail : arc.head) + 1];
  for (uint32_t v = 0; v < g.nodes; ++v) start[v + 1] += start[v];
  list.resize(g.arcs.size());
  std::vector<uint64_t> next(start.begin(), start.end() - 1);
  for (uint32_t k = 0; k < g.arcs.size(); ++k) {
    list[next[by_tail ? g.arcs[k].tail : g.arcs[k].head]++] = k;
  }
}

// Strongly connected parts: part[v], numbered as they complete, so that
// an arc between two parts goes from the higher number to the lower.
std::vector<uint32_t> parts_of(const Graph& g, Monitor& monitor) {
  std::vector<uint32_t> heads(g.out.size());
  for (size_t e = 0; e < g.out.size(); ++e) heads[e] = g.arcs[g.out[e]].head;
  uint32_t count;
  return strong_components(g.out_start, heads, &count, &monitor);
}

// Breadth first from root along the arcs inside its part, forward (out of
// the root) or backward (into it): the nodes in the order reached and the
// arc by which each was reached.
void tree(const Graph& g, const std::vector<uint32_t>& part, uint32_t root, bool forward,
          std::vector<uint32_t>& reached, std::vector<uint32_t>& by_arc) {
  const std::vector<uint64_t>& start = forward ? g.out_start : g.in_start;
  const std::vector<uint32_t>& list = forward ? g.out : g.in;
  reached.assign(1, root);
  by_arc[root] = kNone;
  for (size_t k = 0; k < reached.size(); ++k) {
    uint32_t v = reached[k];
    for (uint64_t e = start[v]; e < start[v + 1]; ++e) {
      const Arc& arc = g.arcs[list[e]];
      uint32_t w = forward ? arc.head : arc.tail;
      if (part[w] != part[root] || w == root || by_arc[w] != kNone) continue;
      by_arc[w] = list[e];
      reached.push_back(w);
    }
  }
}

// Adds to uses[arc] how many of the closed walks pass along each tree
// arc: a walk for the arc u -> v goes out of the root to u and back from v,
// so a tree arc into w (out of w, backward) carries one walk for each arc
// whose tail (head) lies below w.
void count_walks(const Graph& g, const std::vector<uint32_t>& reached,
                 const std::vector<uint32_t>& by_arc, bool forward, std::vector<uint64_t>& below,
                 std::vector<uint64_t>& uses) {
  for (size_t k = reached.size(); k-- > 1;) {
    uint32_t w = reached[k];
    const Arc& arc = g.arcs[by_arc[w]];
    uses[by_arc[w]] += below[w];
    below[forward ? arc.tail : arc.head] += below[w];
  }
}

}  // namespace

bool graph_support(const SparseMatrix& a, const Component& component, std::vector<mpz_class>& y,
                   Monitor& monitor) {
  monitor.new_units();
  Graph g;
  g.nodes = static_cast<uint32_t>(component.columns.size());
  if (!arcs_of(a, component, g.arcs)) return false;
  index_arcs(g, true, g.out_start, g.out);
  index_arcs(g, false, g.in_start, g.in);
  std::vector<uint32_t> part = parts_of(g, monitor);
  // Walks through every arc inside a part, counted per arc.
  std::vector<uint64_t> uses(g.arcs.size(), 0), tails(g.nodes, 0), heads(g.nodes, 0);
  std::vector<uint32_t> root(g.nodes, kNone);  // by part: its first node
  for (uint32_t k = 0; k < g.arcs.size(); ++k) {
    const Arc& arc = g.arcs[k];
    if (part[arc.tail] != part[arc.head]) continue;
    uses[k] = 1, ++tails[arc.tail], ++heads[arc.head];
    root[part[arc.tail]] = std::min(root[part[arc.tail]], arc.tail);
  }
  std::vector<uint32_t> reached, out_arc(g.nodes, kNone), in_arc(g.nodes, kNone);
  for (uint32_t p = 0; p < g.nodes; ++p) {
    if (root[p] == kNone) continue;
    tree(g, part, root[p], true, reached, out_arc);
    count_walks(g, reached, out_arc, true, tails, uses);
    tree(g, part, root[p], false, reached, in_arc);
    count_walks(g, reached, in_arc, false, heads, uses);
    monitor.tick();
  }
  // Weights: uses times L / c, L the lcm of c in the part.
  std::vector<mpz_class> lcm_of(g.nodes, 1);
  for (const Arc& arc : g.arcs) {
    if (part[arc.tail] == part[arc.head]) {
      mpz_class& l = lcm_of[part[arc.tail]];
      l = lcm(l, mpz_class(static_cast<long>(arc.c)));
    }
  }
  y.assign(g.arcs.size(), 0);
  for (uint32_t k = 0; k < g.arcs.size(); ++k) {
    const Arc& arc = g.arcs[k];
    if (part[arc.tail] == part[arc.head]) {
      y[k] = mpz_class(static_cast<unsigned long>(uses[k])) * lcm_of[part[arc.tail]] /
             static_cast<long>(arc.c);
    } else if (part[arc.tail] <= part[arc.head]) {
      return false;  // x = -part would not prove this arc uncovered
    }
  }
  return in_kernel(a, component, y, &monitor);
}

}  // namespace crninv
