#pragma once

#include <array>
#include <string>

#include "flight/FlightRecord.h"
#include "optimize/OptimizationResult.h"
#include "optimize/RunControl.h"

namespace quorvanta {

inline constexpr int DefaultPointBudget = 2048;

bool isPointBudget(int budget);  // 512, 1024, 2048, 4096 or 8192

struct OptimizationRun {
  OptimizationResult result;  // scored
  int usableFixes = 0;
  int budget = 0;
  int step = 0;
  int thinnedPoints = 0;
  double tableSeconds = 0, searchSeconds = 0, refineSeconds = 0;
  std::array<std::string, 4> labels;  // Label1 to Label4
};

// Finds the best free distance, flat and FAI triangle of the flight's valid
// fixes with the given point budget. Runs on every core; may be called from
// a worker thread. Throws OptimizationCancelled when cancelled.
OptimizationRun optimizeFlight(const FlightRecord& record, int budget, RunControl& control);

}  // namespace quorvanta
