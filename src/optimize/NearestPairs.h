#pragma once

#include "optimize/UsableTrack.h"

namespace quorvanta {

// Closest pairs of usable fixes between a run of starts and a run of
// finishes. Pairs are first ordered by their chord, which costs a few
// multiplications; only those that can come within rounding of the closest
// are measured with ArcDistance.
struct ClosestPair {
  double distance = 1000.0;
  int a = 0, b = 0;
};

// Smallest d(a, b) over a = 1..lastStart and b = firstFinish..lastFinish,
// the first such pair in the order a, then b.
ClosestPair closestPair(const UsableTrack& track, int lastStart, int firstFinish, int lastFinish);

// Smallest d(a, b) over a = 1..lastStart, for one b (1000 when there is no a).
double nearestStart(const UsableTrack& track, int lastStart, int b);

}  // namespace quorvanta
