#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>

#include "flight/FlightRecord.h"
#include "optimize/OptimizationResult.h"
#include "optimize/UsableTrack.h"

namespace quorvanta::test {

// A direct transcription of the optimization run: the same table, the same
// loops in the same order, the same comparisons. It is slow on purpose and
// serves as the yardstick for the production optimizer.
struct ReferenceOptions {
  // When false the refinements run every candidate literally; when true they
  // may skip a subtree of candidates that an upper bound proves cannot
  // strictly beat the best (see the proofs in the source).
  bool skipBoundedCandidates = true;
};

struct ReferenceRun {
  ThinningPlan plan;
  int usableCount = 0;
  OptimizationResult result;  // before scoring: points and flags unset
};

// The exhaustive search alone, on a table of units D[i][j] (i <= j) of n
// thinned points; turnpoints as thinned point numbers, 0 when not found.
struct ReferenceCoarse {
  int freeS = 0, freeI = 0, freeM = 0, freeJ = 0, freeF = 0;
  int flat1 = 0, flat2 = 0, flat3 = 0;
  int fai1 = 0, fai2 = 0, fai3 = 0;
  bool operator==(const ReferenceCoarse&) const = default;
};
void PrintTo(const ReferenceCoarse& r, std::ostream* out);
ReferenceCoarse referenceSearch(int n, const std::function<std::int32_t(int, int)>& units);

ReferenceRun referenceOptimize(const FlightRecord& record, int budget,
                               const ReferenceOptions& options = {});

}  // namespace quorvanta::test
