#include "optimize/NearestPairs.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quorvanta {

namespace {

// Chords come from unit vectors whose components carry errors near 1e-16;
// every pair within this margin of the shortest chord is measured exactly.
constexpr double ChordMargin = 1e-13;

double chordLimit(double shortestSquared) {
  const double limit = std::sqrt(shortestSquared) + ChordMargin;
  return limit * limit;
}

}  // namespace

ClosestPair closestPair(const UsableTrack& track, int lastStart, int firstFinish, int lastFinish) {
  double shortest = std::numeric_limits<double>::infinity();
  for (int a = 1; a <= lastStart; ++a) {
    for (int b = firstFinish; b <= lastFinish; ++b) shortest = std::min(shortest, track.chordSquared(a, b));
  }
  const double limit = chordLimit(shortest);
  ClosestPair best;
  for (int a = 1; a <= lastStart; ++a) {
    for (int b = firstFinish; b <= lastFinish; ++b) {
      if (track.chordSquared(a, b) > limit) continue;
      const double distance = track.distance(a, b);
      if (distance < best.distance) best = {distance, a, b};
    }
  }
  return best;
}

double nearestStart(const UsableTrack& track, int lastStart, int b) {
  double shortest = std::numeric_limits<double>::infinity();
  for (int a = 1; a <= lastStart; ++a) shortest = std::min(shortest, track.chordSquared(a, b));
  const double limit = chordLimit(shortest);
  double best = 1000.0;
  for (int a = 1; a <= lastStart; ++a) {
    if (track.chordSquared(a, b) <= limit) best = std::min(best, track.distance(a, b));
  }
  return best;
}

}  // namespace quorvanta
