// The library as a caller holds it: analyses of one process in two threads
// at once, a memory budget that stops one analysis and not the process,
// and a progress callback that stops the work.
#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "crninv/errors.h"
#include "crninv/invariants.h"
#include "crninv/report.h"
#include "crninv/semiflows.h"
#include "crninv/text_format.h"
#include "tests/test_util.h"

namespace {

using namespace crninv;
using Clock = std::chrono::steady_clock;

Network test_network(const std::string& name) {
  return read_network(CRNINV_TEST_NETS_DIR "/" + name);
}

// A network whose wide reduction runs for seconds: random reactions among
// many species with coefficients up to 9, so that the numbers pass 64 bits.
Network slow_network() {
  std::mt19937 random(17);
  std::string text;
  for (int j = 0; j < 900; ++j) {
    for (int side = 0; side < 2; ++side) {
      for (int t = 0; t < 3; ++t) {
        text += (t == 0 ? "" : " + ") + std::to_string(1 + random() % 9) + " s" +
                std::to_string(random() % 600);
      }
      text += side == 0 ? " -> " : ";\n";
    }
  }
  return parse_network(text);
}

std::string report_of(const Network& network, const Invariants& result) {
  return report_text(network, result, write_report);
}

TEST(Library, TwoAnalysesInTwoThreadsGiveTheirOwnResults) {
  Network metabolic = test_network("iJO1366.net");
  Network petri = test_network("mcc/ProductionCell-PT-none.net");
  std::string alone_invariants = report_of(metabolic, invariants(metabolic, {true, false}));
  std::string alone_semiflows =
      report_text(petri, semiflows(petri, {false, UINT64_MAX}), write_semiflows);
  for (int round = 0; round < 3; ++round) {
    std::string together_invariants, together_semiflows;
    std::thread other([&] {
      together_semiflows =
          report_text(petri, semiflows(petri, {false, UINT64_MAX}), write_semiflows);
    });
    together_invariants = report_of(metabolic, invariants(metabolic, {true, false}));
    other.join();
    EXPECT_EQ(together_invariants, alone_invariants);
    EXPECT_EQ(together_semiflows, alone_semiflows);
  }
}

// Each thread counts its own memory: a budget too small for one analysis
// stops it alone, in the same thread or another.
TEST(Library, TooSmallABudgetStopsOneAnalysisAndTheProcessGoesOn) {
  Network metabolic = test_network("iJO1366.net");
  Control tight;
  tight.memory_budget = 100000;
  EXPECT_THROW(invariants(metabolic, {}, tight), OutOfMemory);
  EXPECT_THROW(semiflows(test_network("mcc/ProductionCell-PT-none.net"), {}, tight), OutOfMemory);
  Invariants after = invariants(metabolic);
  uint32_t flows = 0;
  for (RowClass c : after.classes) flows += c == RowClass::kFlow;
  EXPECT_EQ(flows, 39u);
  std::thread other([&] { EXPECT_THROW(invariants(metabolic, {}, tight), OutOfMemory); });
  EXPECT_EQ(report_of(metabolic, invariants(metabolic)), report_of(metabolic, after));
  other.join();
}

// Asked to stop, the work stops with Cancelled within a tenth of a second:
// a wide reduction, and the semiflows of a net whose candidates explode.
TEST(Library, ACallbackThatAsksToStopEndsTheWorkAtOnce) {
  Network slow = slow_network();
  Network anderson = test_network("mcc/Anderson-PT-11.net");
  for (int which = 0; which < 2; ++which) {
    SCOPED_TRACE(which == 0 ? "wide reduction" : "semiflows");
    Clock::time_point start = Clock::now(), asked;
    bool stop = false;
    uint64_t calls = 0;
    Control control;
    control.progress = [&](const Progress&) {
      ++calls;
      if (stop) return false;
      if (Clock::now() - start > std::chrono::milliseconds(300)) {
        stop = true;
        asked = Clock::now();
        return false;
      }
      return true;
    };
    EXPECT_THROW(
        {
          if (which == 0) {
            invariants(slow, {true, false}, control);
          } else {
            semiflows(anderson, {}, control);
          }
        },
        Cancelled);
    ASSERT_TRUE(stop) << "the work ended before it was asked to stop";
    EXPECT_LT(std::chrono::duration<double>(Clock::now() - asked).count(), 0.1);
    // Called on time: about every 20 ms in the 300 ms before.
    EXPECT_GE(calls, 5u);
  }
}

// The reading of a wide run sums a species' coefficients wide too; the
// specified run's reading stops past 32 bits, as its matrix would.
TEST(Library, ReadingSumsAsWideAsAsked) {
  const std::string text = "2147483646 B + 2 B + 1 B -> X;\n";
  EXPECT_THROW(parse_network(text, {32, nullptr}), Overflow);
  Network wide = parse_network(text, {64, nullptr});
  ASSERT_EQ(wide.stoichiometry().value.size(), 2u);
  EXPECT_EQ(wide.stoichiometry().value[0], -2147483649LL);
  Invariants result = invariants(wide, {true, false});
  EXPECT_EQ(report_of(wide, result),
            "Flows (== constant):\n\t+1 B +2147483649 X \n\n"
            "Inequalities (remove reactions, <= constant):\n\t+1 (reaction 1) -1 X \n\n"
            "Irreducible:\n");
  EXPECT_THROW(invariants(wide), Overflow);
}

}  // namespace
