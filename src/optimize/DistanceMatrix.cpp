#include "optimize/DistanceMatrix.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <limits>

#include "flight/Geodesy.h"
#include "optimize/Parallel.h"

namespace quorvanta {

namespace {

// Table units from the chord of two unit vectors. Up to 140 degrees apart
// the angle is then off by about 1e-15 radians at most, below 1e-7 units;
// only when the units come that close to a half does rounding depend on it,
// and then the pair is measured with ArcDistance itself, as are pairs
// farther apart, where the arcsine loses its accuracy.
std::int32_t unitsBetween(const UsableTrack& track, int a, int b) {
  const double chord = std::sqrt(track.chordSquared(a, b));
  if (chord > 1.88) return distanceUnits(track.distance(a, b));
  const double units = 2 * std::asin(chord / 2) * EarthRadiusKm * 10000;
  const double fromHalf = std::fabs(units - std::floor(units) - 0.5);
  if (fromHalf < 1e-6 + 1e-12 * units) return distanceUnits(track.distance(a, b));
  return static_cast<std::int32_t>(std::nearbyint(units));
}

}  // namespace

DistanceMatrix::DistanceMatrix(const UsableTrack& track, const ThinningPlan& plan,
                               RunControl& control)
    : n_(plan.points),
      stride_(static_cast<std::size_t>(plan.points) + 1),
      cells_(stride_ * stride_),
      measured_(true) {
  std::atomic<std::int32_t> largest{0};
  const auto fillRow = [&](int i) {
    std::int32_t local = 0;
    std::int32_t* cells = cells_.data();
    const int a = thinnedToUsable(i, plan.step);
    for (int j = i; j <= n_; ++j) {
      const std::int32_t units = unitsBetween(track, a, thinnedToUsable(j, plan.step));
      cells[static_cast<std::size_t>(i) * stride_ + static_cast<std::size_t>(j)] = units;
      cells[static_cast<std::size_t>(j) * stride_ + static_cast<std::size_t>(i)] = units;
      local = std::max(local, units);
    }
    for (std::int32_t seen = largest.load();
         local > seen && !largest.compare_exchange_weak(seen, local);) {
    }
  };
  // Item k fills rows k + 1 and n - k, so every item measures about n pairs.
  std::atomic<int> rowsDone{0};
  parallelFor((n_ + 1) / 2, [&](int item, int) {
    if (control.cancelled()) return;
    fillRow(item + 1);
    int rows = 1;
    if (n_ - item != item + 1) fillRow(n_ - item), ++rows;
    control.progress((rowsDone += rows) * 100 / std::max(n_, 1));
  });
  largest_ = largest.load();
}

DistanceMatrix::DistanceMatrix(int n, const std::function<std::int32_t(int i, int j)>& units)
    : n_(n), stride_(static_cast<std::size_t>(n) + 1), cells_(stride_ * stride_) {
  for (int i = 1; i <= n_; ++i) {
    for (int j = i; j <= n_; ++j) {
      const std::int32_t value = units(i, j);
      cells_[static_cast<std::size_t>(i) * stride_ + static_cast<std::size_t>(j)] = value;
      cells_[static_cast<std::size_t>(j) * stride_ + static_cast<std::size_t>(i)] = value;
      largest_ = std::max(largest_, value);
    }
  }
}

std::int32_t DistanceMatrix::closingGap(int i, int j) const {
  std::int32_t gap = std::numeric_limits<std::int32_t>::max();
  for (int a = 1; a <= i; ++a) {
    const std::int32_t* cells = row(a);
    for (int b = j; b <= n_; ++b) gap = std::min(gap, cells[b]);
  }
  return gap;
}

}  // namespace quorvanta
