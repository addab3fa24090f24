#pragma once

#include "flight/FlightRecord.h"
#include "optimize/OptimizationResult.h"

namespace quorvanta {

inline constexpr double FreePointsPerKm = 1.5;
inline constexpr double FlatPointsPerKm = 1.75;
inline constexpr double FaiPointsPerKm = 2.0;
inline constexpr double TriangleGapLimit = 0.2;

// Points of each kind and the best-kind flags (equal points set several).
void scoreResult(OptimizationResult& result);

// Straight distance from the first to the last fix, and the length of the
// whole track, in kilometres (all fixes, valid or not).
double startToFinishKm(const FlightRecord& record);
double trackLengthKm(const FlightRecord& record);

}  // namespace quorvanta
