#include "base/strong_components.h"

#include <algorithm>
#include <utility>

namespace crninv {

std::vector<uint32_t> strong_components(const std::vector<uint64_t>& start,
                                        const std::vector<uint32_t>& targets, uint32_t* count,
                                        Monitor* monitor) {
  constexpr uint32_t kNone = UINT32_MAX;
  uint32_t n = static_cast<uint32_t>(start.size() - 1);
  std::vector<uint32_t> order(n, kNone), low(n), component(n, kNone);
  std::vector<uint32_t> held;  // Tarjan's stack: visited, component not yet known
  std::vector<std::pair<uint32_t, uint64_t>> frames;  // node, next arc to follow
  uint32_t visited = 0, components = 0;
  auto enter = [&](uint32_t v) {
    order[v] = low[v] = visited++;
    held.push_back(v);
    frames.emplace_back(v, start[v]);
  };
  for (uint32_t root = 0; root < n; ++root) {
    if (order[root] != kNone) continue;
    enter(root);
    while (!frames.empty()) {
      auto& [v, arc] = frames.back();
      if (arc < start[v + 1]) {
        uint32_t w = targets[arc++];
        if (order[w] == kNone) {
          enter(w);
        } else if (component[w] == kNone) {
          low[v] = std::min(low[v], order[w]);
        }
        continue;
      }
      uint32_t done = v;
      frames.pop_back();
      if (!frames.empty()) {
        uint32_t parent = frames.back().first;
        low[parent] = std::min(low[parent], low[done]);
      }
      if (low[done] != order[done]) continue;
      uint32_t w;
      do {
        w = held.back();
        held.pop_back();
        component[w] = components;
      } while (w != done);
      ++components;
      if (monitor) monitor->tick();
    }
  }
  *count = components;
  return component;
}

}  // namespace crninv
