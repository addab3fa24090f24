#include "optimize/TrackGeometry.h"

#include <cmath>

namespace quorvanta {

namespace {
// Chord lengths come from unit vectors whose components carry errors near
// 1e-16; pairs within this margin of the best are measured exactly.
constexpr double ChordMargin = 1e-13;
}  // namespace

TrackGeometry::TrackGeometry(const UsableTrack& track)
    : track_(track), x_(track.lat.size()), y_(x_.size()), z_(x_.size()) {
  for (std::size_t i = 1; i < x_.size(); ++i) {
    x_[i] = std::cos(track.lat[i]) * std::cos(track.lon[i]);
    y_[i] = std::cos(track.lat[i]) * std::sin(track.lon[i]);
    z_[i] = std::sin(track.lat[i]);
  }
}

double TrackGeometry::chordSquared(int a, int b) const {
  const auto i = static_cast<std::size_t>(a), j = static_cast<std::size_t>(b);
  const double dx = x_[i] - x_[j], dy = y_[i] - y_[j], dz = z_[i] - z_[j];
  return dx * dx + dy * dy + dz * dz;
}

// Squared chord a pair may have and still be as close as `distance`.
double TrackGeometry::chordBound(double distance) {
  const double chord = 2 * std::sin(std::fmin(distance, 3.2) / 2) + ChordMargin;
  return chord * chord;
}

TrackGeometry::Closest TrackGeometry::closestPair(int lastStart, int firstFinish,
                                                  int lastFinish) const {
  Closest best;
  double bound = chordBound(best.distance);
  for (int a = 1; a <= lastStart; ++a) {
    for (int b = firstFinish; b <= lastFinish; ++b) {
      if (chordSquared(a, b) > bound) continue;
      const double distance = d(a, b);
      if (distance < best.distance) {
        best = {distance, a, b};
        bound = chordBound(distance);
      }
    }
  }
  return best;
}

double TrackGeometry::nearestStart(int lastStart, int b) const {
  double best = 1000.0;
  double bound = chordBound(best);
  for (int a = 1; a <= lastStart; ++a) {
    if (chordSquared(a, b) > bound) continue;
    const double distance = d(a, b);
    if (distance < best) {
      best = distance;
      bound = chordBound(distance);
    }
  }
  return best;
}

}  // namespace quorvanta
