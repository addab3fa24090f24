#pragma once

#include <cstdint>
#include <vector>

#include "flight/FlightRecord.h"
#include "flight/Geodesy.h"

namespace quorvanta {

// The valid fixes of a flight, in recording order, indexed 1..count().
struct UsableTrack {
  std::vector<double> lat{0.0}, lon{0.0};
  std::vector<std::int32_t> fixNumber{0};  // fix number in the flight record
  std::vector<ArcPoint> points{ArcPoint{}};
  std::vector<UnitVector> unit{UnitVector{}};

  int count() const { return static_cast<int>(lat.size()) - 1; }
  // ArcDistance between usable fixes a and b
  double distance(int a, int b) const {
    return ArcDistance(points[static_cast<std::size_t>(a)], points[static_cast<std::size_t>(b)]);
  }
  double chordSquared(int a, int b) const {
    return quorvanta::chordSquared(unit[static_cast<std::size_t>(a)], unit[static_cast<std::size_t>(b)]);
  }
};

UsableTrack usableFixes(const FlightRecord& record);

// The search runs on every step-th usable fix: the smallest step for which
// count div step does not exceed the budget.
struct ThinningPlan {
  int step = 1;
  int points = 0;
};

ThinningPlan planThinning(int usableCount, int budget);

// Thinned point x (1-based) is usable fix (x - 1) * step + 1; 0 stays 0.
inline int thinnedToUsable(int x, int step) { return x == 0 ? 0 : (x - 1) * step + 1; }

// A distance in radians as integer units of 0.1 m, halves rounded to even.
std::int32_t distanceUnits(double radians);

// Converts table units back to radians.
double unitsToRadians(std::int32_t units);

}  // namespace quorvanta
