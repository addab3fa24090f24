#include "optimize/RunProgress.h"

#include <algorithm>
#include <cmath>

namespace quorvanta {

namespace {

bool isRefinement(RunPhase phase) {
  return phase == RunPhase::RefineFlat || phase == RunPhase::RefineFai ||
         phase == RunPhase::RefineFree;
}

double expectedShare(RunPhase phase, bool refining) {
  return refining || !isRefinement(phase) ? PhaseShares[static_cast<std::size_t>(phase)] : 0.0;
}

}  // namespace

int barPosition(RunPhase phase, int percent, bool refining) {
  double before = 0, total = 0;
  for (int k = 0; k < RunPhaseCount; ++k) {
    const double share = expectedShare(static_cast<RunPhase>(k), refining);
    if (k < static_cast<int>(phase)) before += share;
    total += share;
  }
  const double done = before + expectedShare(phase, refining) * std::clamp(percent, 0, 100) / 100.0;
  return std::max(1, static_cast<int>(std::lround(100 * done / total)));
}

}  // namespace quorvanta
