#pragma once

#include <vector>

#include "optimize/Geodesy.h"
#include "optimize/UsableTrack.h"

namespace quorvanta {

// The usable fixes with unit vectors whose chord length orders pairs by
// distance, used to rule pairs out cheaply before measuring them exactly.
class TrackGeometry {
 public:
  explicit TrackGeometry(const UsableTrack& track);

  int count() const { return track_.count(); }
  double d(int a, int b) const { return track_.distance(a, b); }

  // Smallest d(a, b) over a = 1..lastStart and b = firstFinish..lastFinish,
  // with the first such pair in the order a, then b.
  struct Closest {
    double distance = 1000.0;
    int a = 0, b = 0;
  };
  Closest closestPair(int lastStart, int firstFinish, int lastFinish) const;

  // Smallest d(a, b) over a = 1..lastStart, for one b.
  double nearestStart(int lastStart, int b) const;

 private:
  double chordSquared(int a, int b) const;
  static double chordBound(double distance);

  const UsableTrack& track_;
  std::vector<double> x_, y_, z_;
};

}  // namespace quorvanta
