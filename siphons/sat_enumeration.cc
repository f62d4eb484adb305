#include "siphons/sat_enumeration.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>

#include "crninv/errors.h"
#include "siphons/siphon_solver.h"

namespace crninv {

namespace {

uint64_t hash_of(const std::vector<uint32_t>& set) {
  uint64_t h = 0x9e3779b97f4a7c15u ^ set.size();
  for (uint32_t s : set) {
    h = (h ^ s) * 0xff51afd7ed558ccdu;
    h ^= h >> 32;
  }
  return h;
}

// Whether the set (ascending) lies in the cube.
bool in_cube(const std::vector<uint32_t>& set, const Cube& cube) {
  for (const CubeLiteral& literal : cube) {
    if (std::binary_search(set.begin(), set.end(), literal.species) != literal.in) return false;
  }
  return true;
}

// A set as a solver's exclusion reads it: its buffer stays where it is
// while the list of sets grows, as a moved vector keeps its buffer.
struct SetView {
  const uint32_t* data;
  size_t size;
};

// The sets found, once each.
class FoundSets {
 public:
  // Whether set is new; a new one is kept.
  bool add(const std::vector<uint32_t>& set) {
    uint64_t h = hash_of(set);
    auto range = where.equal_range(h);
    for (auto it = range.first; it != range.second; ++it) {
      if (list[it->second] == set) return false;
    }
    where.emplace(h, list.size());
    list.push_back(set);
    return true;
  }
  std::vector<SetView> in(const Cube& cube) const {
    std::vector<SetView> views;
    for (const auto& set : list) {
      if (in_cube(set, cube)) views.push_back({set.data(), set.size()});
    }
    return views;
  }
  std::vector<std::vector<uint32_t>> take() { return std::move(list); }

 private:
  std::vector<std::vector<uint32_t>> list;
  std::unordered_multimap<uint64_t, size_t> where;
};

// The species held by nearest to half of count sets, of which held_by
// tells how many hold each; held_by.size() when none is held by some but
// not all.
uint32_t halving_species(const std::vector<uint32_t>& held_by, uint64_t count) {
  uint32_t best = static_cast<uint32_t>(held_by.size());
  uint64_t best_gap = count;
  for (uint32_t s = 0; s < held_by.size(); ++s) {
    if (held_by[s] == 0 || held_by[s] == count) continue;
    uint64_t twice = 2 * uint64_t{held_by[s]};
    uint64_t gap = twice > count ? twice - count : count - twice;
    if (gap < best_gap) {
      best_gap = gap;
      best = s;
    }
  }
  return best;
}

// The solvers and threads of one enumeration. The caller's thread runs the
// first solver, and alone calls the monitor; the helper threads start when
// that solver has found enough sets for long enough to give half its space
// away.
class Enumeration {
 public:
  Enumeration(const SiphonGraph& graph, const SatEnumeration& how, Monitor& monitor,
              const std::function<void(const std::vector<uint32_t>&)>& kept)
      : graph(graph), how(how), monitor(monitor), kept(kept), budget(how.budget) {
    first_step = monitor.state().step;
    first_found = monitor.state().found;
  }

  std::vector<std::vector<uint32_t>> run() {
    running = 1;
    try {
      solve({}, true);
    } catch (...) {
      fail();
    }
    finish_solver();
    serve(true);
    for (std::thread& helper : helpers) helper.join();
    if (error) std::rethrow_exception(error);
    return found.take();
  }

 private:
  // Lets the solvers end early: the caller's solver passes the monitor's
  // word on, and every solver ends when the enumeration stops.
  class Stop : public CaDiCaL::Terminator {
   public:
    Stop(Enumeration& enumeration, bool caller) : enumeration(enumeration), caller(caller) {}
    bool terminate() override {
      if (caller) enumeration.poll(false);
      return enumeration.stopping.load();
    }

   private:
    Enumeration& enumeration;
    bool caller;
  };

  // On the caller's thread: the progress so far to the monitor, whose
  // cancellation stops every solver.
  void poll(bool heavy) {
    Progress& progress = monitor.state();
    progress.step = first_step + calls.load();
    progress.found = first_found + sets.load();
    try {
      if (heavy) {
        monitor.heavy_tick();
      } else {
        monitor.tick();
      }
    } catch (...) {
      fail();
    }
  }

  // Keeps the exception being handled, the first one only, and stops all.
  void fail() {
    {
      std::lock_guard<std::mutex> guard(lock);
      fail_locked();
    }
    wake.notify_all();
  }
  // The same with lock held; the caller wakes the waiting threads.
  void fail_locked() {
    if (!error) error = std::current_exception();
    stopping = true;
  }

  void finish_solver() {
    {
      std::lock_guard<std::mutex> guard(lock);
      --running;
    }
    wake.notify_all();
  }

  // Takes cubes from the queue and solves them, until the queue is empty
  // and no solver runs, or the enumeration stops.
  void serve(bool caller) {
    for (;;) {
      Cube cube;
      {
        std::unique_lock<std::mutex> guard(lock);
        ++waiting;
        while (cubes.empty() && running > 0 && !stopping) {
          if (!caller) {
            wake.wait(guard);
            continue;
          }
          wake.wait_for(guard, std::chrono::milliseconds(10));
          guard.unlock();
          poll(true);
          guard.lock();
        }
        --waiting;
        if (cubes.empty() || stopping) return;
        cube = std::move(cubes.front());
        cubes.pop_front();
        ++running;
      }
      try {
        solve(std::move(cube), caller);
      } catch (...) {
        fail();
      }
      finish_solver();
    }
  }

  void start_helpers() {
    for (unsigned i = 1; i < how.threads; ++i) {
      try {
        helpers.emplace_back([this] { serve(false); });
      } catch (const std::system_error&) {
        break;  // fewer threads than asked for: the work is the same
      }
    }
  }

  // Enumerates the minimal siphons of cube, giving half of what is left
  // away whenever a thread waits and split_after sets and split_time came
  // since it started or last did.
  void solve(Cube cube, bool caller) {
    SiphonSolver solver(graph, budget);
    for (const CubeLiteral& literal : cube) solver.confine(literal);
    std::vector<SetView> excluded;
    {
      std::lock_guard<std::mutex> guard(lock);
      excluded = found.in(cube);
    }
    for (const SetView& set : excluded) solver.exclude(set.data, set.size);
    excluded = {};
    Stop stop(*this, caller);
    std::vector<uint32_t> minimal;
    // How many of the sets found since the last split hold each species.
    std::vector<uint32_t> held_by(graph.species, 0);
    uint64_t since = 0;
    auto last_split = std::chrono::steady_clock::now();
    for (;;) {
      SiphonSolver::Result result = solver.next(stop, minimal);
      ++calls;
      if (result == SiphonSolver::kNoneLeft) return;
      if (result == SiphonSolver::kStopped) {
        if (stopping) return;
        throw Error("the SAT solver stopped without an answer");
      }
      {
        // Once one thread fails, kept hears of no more sets.
        std::lock_guard<std::mutex> guard(lock);
        if (stopping) return;
        if (found.add(minimal)) {
          ++sets;
          try {
            kept(minimal);
          } catch (...) {
            fail_locked();
          }
        }
      }
      if (stopping) {
        wake.notify_all();
        return;
      }
      if (caller) poll(false);
      solver.exclude(minimal.data(), minimal.size());
      for (uint32_t s : minimal) ++held_by[s];
      if (++since < how.split_after) continue;
      if (std::chrono::steady_clock::now() - last_split < how.split_time) continue;
      if (caller && helpers.empty() && how.threads > 1) start_helpers();
      if (waiting.load() == 0) continue;
      uint32_t s = halving_species(held_by, since);
      if (s == graph.species) continue;
      Cube other = cube;
      other.push_back({s, false});
      cube.push_back({s, true});
      solver.confine({s, true});
      {
        std::lock_guard<std::mutex> guard(lock);
        cubes.push_back(std::move(other));
      }
      wake.notify_one();
      std::fill(held_by.begin(), held_by.end(), 0);
      since = 0;
      last_split = std::chrono::steady_clock::now();
    }
  }

  const SiphonGraph& graph;
  const SatEnumeration& how;
  Monitor& monitor;
  const std::function<void(const std::vector<uint32_t>&)>& kept;
  ClauseBudget budget;
  uint64_t first_step = 0, first_found = 0;

  std::mutex lock;
  std::condition_variable wake;
  // Under lock: the sets found, the cubes waiting for a solver, the
  // solvers at work, the first exception.
  FoundSets found;
  std::deque<Cube> cubes;
  unsigned running = 0;
  std::exception_ptr error;

  std::atomic<unsigned> waiting{0};
  std::atomic<bool> stopping{false};
  std::atomic<uint64_t> calls{0}, sets{0};
  // Started and joined by the caller's thread.
  std::vector<std::thread> helpers;
};

}  // namespace

std::vector<std::vector<uint32_t>> enumerate_by_sat(
    const SiphonGraph& graph, const SatEnumeration& how, Monitor& monitor,
    const std::function<void(const std::vector<uint32_t>&)>& kept) {
  if (graph.species == 0) return {};
  Enumeration enumeration(graph, how, monitor, kept);
  return enumeration.run();
}

}  // namespace crninv
