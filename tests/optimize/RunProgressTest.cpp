#include "optimize/RunProgress.h"

#include <cmath>
#include <numeric>
#include <vector>

#include <gtest/gtest.h>

#include "optimize/RunControl.h"

namespace quorvanta {
namespace {

constexpr RunPhase phase(int k) { return static_cast<RunPhase>(k); }

double sharesBefore(int k) {
  return std::accumulate(PhaseShares.begin(), PhaseShares.begin() + k, 0.0);
}

int onTheBar(double share) { return std::max(1, static_cast<int>(std::lround(100 * share))); }

TEST(RunProgress, BarRisesFromOneToAHundredThroughEveryPhase) {
  for (const bool refining : {true, false}) {
    int last = 0;
    for (int k = 0; k < RunPhaseCount; ++k) {
      for (int percent = 0; percent <= 100; ++percent) {
        const int position = barPosition(phase(k), percent, refining);
        EXPECT_GE(position, last) << k << " at " << percent;
        last = position;
      }
    }
    EXPECT_EQ(barPosition(RunPhase::Table, 0, refining), 1);
    EXPECT_EQ(barPosition(RunPhase::Closing, 100, refining), 100);
  }
}

TEST(RunProgress, PhasesMeetWhereTheirMeasuredSharesAddUp) {
  const double total = sharesBefore(RunPhaseCount);
  for (int k = 0; k < RunPhaseCount; ++k) {
    EXPECT_EQ(barPosition(phase(k), 0, true), onTheBar(sharesBefore(k) / total)) << k;
    EXPECT_EQ(barPosition(phase(k), 100, true), onTheBar(sharesBefore(k + 1) / total)) << k;
  }
  // Halfway through a phase is halfway through its share.
  EXPECT_EQ(barPosition(RunPhase::Search, 50, true),
            onTheBar((PhaseShares[0] + PhaseShares[1] / 2) / total));
}

TEST(RunProgress, RunWithoutRefinementLeavesItsShareOut) {
  const double refining = PhaseShares[2] + PhaseShares[3] + PhaseShares[4];
  const double total = sharesBefore(RunPhaseCount) - refining;
  EXPECT_EQ(barPosition(RunPhase::Search, 0, false), onTheBar(PhaseShares[0] / total));
  const int searched = barPosition(RunPhase::Search, 100, false);
  EXPECT_EQ(searched, onTheBar((PhaseShares[0] + PhaseShares[1]) / total));
  for (const RunPhase skipped : {RunPhase::RefineFlat, RunPhase::RefineFai, RunPhase::RefineFree}) {
    EXPECT_EQ(barPosition(skipped, 50, false), searched);
  }
  EXPECT_EQ(barPosition(RunPhase::Closing, 0, false), searched);
}

TEST(RunProgress, ControlReportsTheBarOnlyWhenItAdvances) {
  std::vector<int> seen;
  std::vector<RunPhase> phases;
  RunControl control([&](int position) { seen.push_back(position); }, nullptr,
                     [&](RunPhase p) { phases.push_back(p); });
  control.beginPhase(RunPhase::Table);
  control.progress(100);
  control.beginPhase(RunPhase::Search);
  control.progress(60);
  control.progress(40);  // a worker that finished late
  control.progress(60);
  EXPECT_EQ(seen, (std::vector<int>{1, barPosition(RunPhase::Table, 100, true),
                                    barPosition(RunPhase::Search, 60, true)}));
  EXPECT_EQ(phases, (std::vector<RunPhase>{RunPhase::Table, RunPhase::Search}));
}

}  // namespace
}  // namespace quorvanta
